// Qt's keys in the program's virtual key codes: the shortcuts of the program's menus and actions
// are matched on these, so a wrong code is a shortcut that never fires.
#include <QKeyEvent>
#include <gtest/gtest.h>

#include "base/KeyCode.h"
#include "platform/host/KeyEvent.h"
#include "hosts/qt/QtKeyMap.h"

namespace zozuz {
namespace {

std::uint8_t vkOf(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    return virtualKeyFromQt(key, modifiers);
}

TEST(QtKeyMap, LettersDigitsAndFunctionKeys) {
    EXPECT_EQ(vkOf(Qt::Key_A), 'A');
    EXPECT_EQ(vkOf(Qt::Key_Z), 'Z');
    EXPECT_EQ(vkOf(Qt::Key_0), '0');
    EXPECT_EQ(vkOf(Qt::Key_9), '9');
    EXPECT_EQ(vkOf(Qt::Key_F1), vk::F1);
    EXPECT_EQ(vkOf(Qt::Key_F4), vk::F4);
    EXPECT_EQ(vkOf(Qt::Key_F12), vk::F12);
    EXPECT_EQ(vkOf(Qt::Key_F24), vk::F24);
}

TEST(QtKeyMap, EditingAndNavigationKeys) {
    EXPECT_EQ(vkOf(Qt::Key_Backspace), vk::Back);
    EXPECT_EQ(vkOf(Qt::Key_Delete), vk::Delete);
    EXPECT_EQ(vkOf(Qt::Key_Insert), vk::Insert);
    EXPECT_EQ(vkOf(Qt::Key_Return), vk::Return);
    EXPECT_EQ(vkOf(Qt::Key_Escape), vk::Escape);
    EXPECT_EQ(vkOf(Qt::Key_Space), vk::Space);
    EXPECT_EQ(vkOf(Qt::Key_PageUp), vk::Prior);
    EXPECT_EQ(vkOf(Qt::Key_PageDown), vk::Next);
    EXPECT_EQ(vkOf(Qt::Key_Home), vk::Home);
    EXPECT_EQ(vkOf(Qt::Key_End), vk::End);
    EXPECT_EQ(vkOf(Qt::Key_Left), vk::Left);
    EXPECT_EQ(vkOf(Qt::Key_Down), vk::Down);
    // Shift+Tab arrives as a key of its own in Qt; the program sees Tab with Shift.
    EXPECT_EQ(vkOf(Qt::Key_Backtab, Qt::ShiftModifier), vk::Tab);
    EXPECT_EQ(vkOf(Qt::Key_Alt), vk::Menu);
    EXPECT_EQ(vkOf(Qt::Key_Control), vk::Control);
}

TEST(QtKeyMap, TheKeypadHasItsOwnCodes) {
    EXPECT_EQ(vkOf(Qt::Key_0, Qt::KeypadModifier), vk::Numpad0);
    EXPECT_EQ(vkOf(Qt::Key_7, Qt::KeypadModifier), vk::Numpad0 + 7);
    EXPECT_EQ(vkOf(Qt::Key_Plus, Qt::KeypadModifier), 0x6B);
    EXPECT_EQ(vkOf(Qt::Key_Minus, Qt::KeypadModifier), 0x6D);
    EXPECT_EQ(vkOf(Qt::Key_Enter, Qt::KeypadModifier), vk::Return);
    // The keypad's navigation keys (NumLock off) are the ordinary ones.
    EXPECT_EQ(vkOf(Qt::Key_Home, Qt::KeypadModifier), vk::Home);
    EXPECT_EQ(vkOf(Qt::Key_Delete, Qt::KeypadModifier), vk::Delete);
    // The main keyboard's minus is another key.
    EXPECT_EQ(vkOf(Qt::Key_Minus), 0xBD);
}

TEST(QtKeyMap, ShiftedPunctuationSharesTheKeyOfItsUnshiftedCharacter) {
    EXPECT_EQ(vkOf(Qt::Key_Semicolon), vkOf(Qt::Key_Colon, Qt::ShiftModifier));
    EXPECT_EQ(vkOf(Qt::Key_Slash), vkOf(Qt::Key_Question, Qt::ShiftModifier));
    EXPECT_EQ(vkOf(Qt::Key_BracketLeft), vkOf(Qt::Key_BraceLeft, Qt::ShiftModifier));
    EXPECT_NE(vkOf(Qt::Key_Comma), 0);
    EXPECT_EQ(vkOf(Qt::Key_unknown), 0);
    EXPECT_EQ(vkOf(Qt::Key_VolumeUp), 0);
}

TEST(QtKeyMap, KeyEventsCarryModifiersKindAndTypedText) {
    const QKeyEvent ctrlO(QEvent::KeyPress, Qt::Key_O, Qt::ControlModifier, QStringLiteral("\x0f"));
    const KeyEvent key = keyEventFromQt(ctrlO);
    EXPECT_EQ(key.kind, KeyEvent::Kind::Down);
    EXPECT_EQ(key.keyCode(), makeKeyCode('O', false, true, false));
    // A control character types nothing.
    EXPECT_TRUE(key.text.empty());

    const QKeyEvent altBack(QEvent::KeyRelease, Qt::Key_Backspace, Qt::AltModifier);
    const KeyEvent released = keyEventFromQt(altBack);
    EXPECT_EQ(released.kind, KeyEvent::Kind::Up);
    EXPECT_EQ(released.keyCode(), static_cast<KeyCode>(vk::Back | kAltBit));

    const QKeyEvent shiftA(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier, QStringLiteral("A"));
    EXPECT_EQ(keyEventFromQt(shiftA).text, "A");
    EXPECT_EQ(keyEventFromQt(shiftA).keyCode(), static_cast<KeyCode>('A' | kShiftBit));

    const QKeyEvent chinese(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("加"));
    EXPECT_EQ(keyEventFromQt(chinese).text, "加");
    EXPECT_EQ(keyEventFromQt(chinese).virtualKey, 0);
}

}  // namespace
}  // namespace zozuz
