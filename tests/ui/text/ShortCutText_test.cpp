#include <gtest/gtest.h>

#include <string>

#include "base/KeyCode.h"
#include "ui/text/MenuCaptionMatch.h"
#include "ui/text/ShortCutText.h"

namespace zozuz {
namespace {

TEST(ShortCutText, NamesEveryKindOfKeyWithItsModifiersInOrder) {
    const struct {
        KeyCode code;
        const char* text;
    } rows[] = {
        {vk::Back, "BkSp"},         {vk::Tab, "Tab"},
        {vk::Return, "Enter"},      {vk::Escape, "Esc"},
        {vk::Space, "Space"},       {vk::Prior, "PgUp"},
        {vk::Next, "PgDn"},         {vk::End, "End"},
        {vk::Home, "Home"},         {vk::Left, "Left"},
        {vk::Up, "Up"},             {vk::Right, "Right"},
        {vk::Down, "Down"},         {vk::Insert, "Ins"},
        {vk::Delete, "Del"},        {'0', "0"},
        {'9', "9"},                 {'A', "A"},
        {'Z', "Z"},                 {vk::Numpad0, "0"},
        {vk::Numpad0 + 9, "9"},     {vk::F1, "F1"},
        {vk::F12, "F12"},           {vk::F24, "F24"},
        {16462, "Ctrl+N"},          {32776, "Alt+BkSp"},
        {8238, "Shift+Del"},        {kShiftBit | kCtrlBit | kAltBit | 'S', "Shift+Ctrl+Alt+S"},
        {kShiftBit | kAltBit | vk::F4, "Shift+Alt+F4"},
    };
    for (const auto& row : rows) EXPECT_EQ(ShortCutToText(row.code), row.text) << row.code;
}

TEST(ShortCutText, OtherKeysTakeTheLayoutsNameAndAKeyWithoutNameHasNoText) {
    const KeyNameLookup layout = [](std::uint8_t key) { return key == 0xBA ? std::string(";") : std::string(); };
    EXPECT_EQ(ShortCutToText(kCtrlBit | 0xBA, layout), "Ctrl+;");
    EXPECT_EQ(ShortCutToText(kCtrlBit | 0xBB, layout), "") << "no modifiers without a key name";
    EXPECT_EQ(ShortCutToText(kCtrlBit | 0xBA), "") << "no layout to ask";
    EXPECT_EQ(ShortCutToText(0), "");
    EXPECT_EQ(ShortCutToText(vk::Shift), "");
}

TEST(MenuCaptionMatch, IgnoresAccessKeyMarksAndLetterCaseOnly) {
    EXPECT_TRUE(SameMenuCaption("&New", "new"));
    EXPECT_TRUE(SameMenuCaption("Save &As...", "SAVE AS..."));
    EXPECT_TRUE(SameMenuCaption("剪切(&T)", "剪切(t)"));
    EXPECT_TRUE(SameMenuCaption("A&&B", "a&&b"));
    EXPECT_TRUE(SameMenuCaption("Tail&", "tail"));
    EXPECT_FALSE(SameMenuCaption("A&&B", "AB")) << "a doubled mark stands for a plain &";
    EXPECT_FALSE(SameMenuCaption("剪切(&T)", "复制(&C)"));
    EXPECT_FALSE(SameMenuCaption("New", "New "));
}

}  // namespace
}  // namespace zozuz
