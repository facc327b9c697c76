// Cut, Copy, Paste and Undo as the user gives them on the real main window: the commands find the
// editor that holds the focus, follow its selection and the clipboard at each idle step, and act on
// its text, from the keys and from the toolbar alike.
#include <gtest/gtest.h>

#include <string>

#include "app/TApplication.h"
#include "base/KeyCode.h"
#include "platform/headless/HeadlessHost.h"
#include "platform/host/MouseEvent.h"
#include "ui/forms/TVeskAppForm.h"
#include "ui/toolkit/TMenuItem.h"
#include "ui/toolkit/TToolButton.h"

namespace zozuz {
namespace {

class EditCommandsOnMemo : public ::testing::Test {
protected:
    void SetUp() override {
        app.CreateForm(form);
        form->Show();
        form->Native()->activate();
        idleStep();
    }
    void drain() {
        while (app.ProcessMessage()) {
        }
    }
    // Lets the queue run empty once, so the idle step runs, and wakes the program again.
    void idleStep() {
        drain();
        host.whenIdle([this] { host.post([] {}); });
        app.HandleMessage();
        drain();
    }
    void type(const std::string& text) {
        KeyEvent key;
        key.virtualKey = 'A';
        key.text = text;
        host.postKey(*form->Native(), key);
        idleStep();
    }
    void press(std::uint8_t virtualKey, bool shift, bool ctrl, bool alt = false) {
        host.postKeyPress(*form->Native(), virtualKey, shift, ctrl, alt);
        idleStep();
    }
    void click(const char* buttonName) {
        const auto& button = dynamic_cast<TToolButton&>(*form->FindComponent(buttonName));
        const Rect place = button.WindowRect();
        const Point inside{place.left + place.width() / 2, place.top + place.height() / 2};
        host.postMouse(*form->Native(), MouseEvent{MouseEvent::Kind::Down, MouseEvent::Button::Left, inside});
        host.postMouse(*form->Native(), MouseEvent{MouseEvent::Kind::Up, MouseEvent::Button::Left, inside});
        idleStep();
    }
    // Cut, Copy and Paste as their entries and buttons show them: "1" for enabled, entry then button.
    std::string states() const {
        std::string out;
        for (const auto& [entry, button] : {std::pair{"CutItem", "ToolButton4"}, std::pair{"CopyItem", "ToolButton5"},
                                            std::pair{"PasteItem", "ToolButton6"}}) {
            out += dynamic_cast<TMenuItem&>(*form->FindComponent(entry)).Enabled() ? '1' : '0';
            out += dynamic_cast<TControl&>(*form->FindComponent(button)).Enabled() ? '1' : '0';
        }
        return out;
    }
    std::string text() const { return form->Memo1->Editor().text(); }

    HeadlessHost host;
    TApplication app{host};
    TVeskAppForm* form = nullptr;
};

TEST_F(EditCommandsOnMemo, SelectionAndClipboardDecideWhatIsEnabled) {
    ASSERT_TRUE(form->Memo1->Focused());
    EXPECT_EQ(states(), "000000");  // nothing selected, nothing on the clipboard
    type("中文");
    EXPECT_EQ(states(), "000000");
    press(vk::Home, true, false);  // Shift+Home selects the line
    EXPECT_EQ(form->Memo1->SelLength(), 4);
    EXPECT_EQ(states(), "111100");
    press('C', false, true);
    EXPECT_EQ(*host.memoryClipboard().bytes(), "\xD6\xD0\xCE\xC4");
    EXPECT_EQ(states(), "111111");
    press(vk::End, false, false);  // the selection goes, the clipboard stays
    EXPECT_EQ(states(), "000011");
    host.memoryClipboard().clear();
    idleStep();
    EXPECT_EQ(states(), "000000");
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
    click("ToolButton5");
    EXPECT_EQ(*host.memoryClipboard().bytes(), "z");
    click("ToolButton4");
    EXPECT_EQ(text(), "xy");
    press(vk::Home, false, false);
    click("ToolButton6");
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
