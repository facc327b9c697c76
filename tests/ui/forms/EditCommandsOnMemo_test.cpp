// Cut, Copy, Paste and Undo as the user gives them on the real main window: the commands find the
// editor that holds the focus, follow its selection and the clipboard at each idle step, and act on
// its text, from the keys and from the toolbar alike.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "base/KeyCode.h"
#include "ui/toolkit/controls/TToolButton.h"
#include "ui/toolkit/menus/TMenuItem.h"

#include "MainWindowCommands.h"

namespace zozuz {
namespace {

class EditCommandsOnMemo : public MainWindowCommands {
protected:
    void SetUp() override {
        MainWindowCommands::SetUp();
        idleStep();
    }
    void type(const std::string& typed) {
        KeyEvent key;
        key.virtualKey = 'A';
        key.text = typed;
        host.postKey(*form->Native(), key);
        idleStep();
    }
    void press(std::uint8_t virtualKey, bool shift, bool ctrl, bool alt = false) {
        host.postKeyPress(*form->Native(), virtualKey, shift, ctrl, alt);
        idleStep();
    }
    void clickButton(const char* name) {
        click(dynamic_cast<TToolButton&>(*form->FindComponent(name)));
        idleStep();
    }
    // Cut, Copy and Paste as their entries and buttons show them: "1" for enabled, entry then button.
    std::string editStates() const {
        std::string out;
        for (const auto& [entry, button] : {std::pair{"CutItem", "ToolButton4"}, std::pair{"CopyItem", "ToolButton5"},
                                            std::pair{"PasteItem", "ToolButton6"}}) {
            out += dynamic_cast<TMenuItem&>(*form->FindComponent(entry)).Enabled() ? '1' : '0';
            out += dynamic_cast<TControl&>(*form->FindComponent(button)).Enabled() ? '1' : '0';
        }
        return out;
    }
};

TEST_F(EditCommandsOnMemo, SelectionAndClipboardDecideWhatIsEnabled) {
    ASSERT_TRUE(form->Memo1->Focused());
    EXPECT_EQ(editStates(), "000000");  // nothing selected, nothing on the clipboard
    type("中文");
    EXPECT_EQ(editStates(), "000000");
    press(vk::Home, true, false);  // Shift+Home selects the line
    EXPECT_EQ(form->Memo1->SelLength(), 4);
    EXPECT_EQ(editStates(), "111100");
    press('C', false, true);
    EXPECT_EQ(*host.memoryClipboard().bytes(), "\xD6\xD0\xCE\xC4");
    EXPECT_EQ(editStates(), "111111");
    press(vk::End, false, false);  // the selection goes, the clipboard stays
    EXPECT_EQ(editStates(), "000011");
    host.memoryClipboard().clear();
    idleStep();
    EXPECT_EQ(editStates(), "000000");
}

TEST_F(EditCommandsOnMemo, TheShortcutsCutCopyAndPasteTheEditorsBytes) {
    type("ab\xE4\xB8\xAD");  // "ab中"
    press(vk::Home, true, false);
    press('X', false, true);
    EXPECT_EQ(text(), "");
    EXPECT_EQ(*host.memoryClipboard().bytes(), "ab\xD6\xD0");
    press('V', false, true);
    press('V', false, true);
    EXPECT_EQ(text(), "ab\xD6\xD0" "ab\xD6\xD0");
    // Alt+Backspace is the undo command's key: the second paste goes, as one step.
    press(vk::Back, false, false, true);
    EXPECT_EQ(text(), "ab\xD6\xD0");
}

TEST_F(EditCommandsOnMemo, TheToolbarButtonsActOnTheEditorAndLeaveItTheKeyboard) {
    type("xyz");
    press(vk::Left, true, false);  // "z" selected
    clickButton("ToolButton5");
    EXPECT_EQ(*host.memoryClipboard().bytes(), "z");
    clickButton("ToolButton4");
    EXPECT_EQ(text(), "xy");
    press(vk::Home, false, false);
    clickButton("ToolButton6");
    EXPECT_EQ(text(), "zxy");
    EXPECT_TRUE(form->Memo1->Focused());
}

TEST_F(EditCommandsOnMemo, AReadOnlyEditorCopiesButRefusesCutAndPaste) {
    type("abc");
    press(vk::Home, true, false);
    form->Memo1->SetReadOnly(true);
    idleStep();
    press('C', false, true);
    EXPECT_EQ(*host.memoryClipboard().bytes(), "abc");
    press('X', false, true);
    press('V', false, true);
    EXPECT_EQ(text(), "abc");
}

}  // namespace
}  // namespace zozuz
