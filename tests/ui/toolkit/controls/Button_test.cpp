#include <gtest/gtest.h>

#include "app/TApplication.h"
#include "base/Exception.h"
#include "base/KeyCode.h"
#include "hosts/headless/HeadlessHost.h"
#include "ui/toolkit/controls/TButton.h"
#include "ui/toolkit/controls/TPanel.h"
#include "ui/toolkit/windows/TForm.h"

namespace zozuz {
namespace {

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.CreateForm(form);
        form->SetBounds(0, 0, 300, 200);
        ok = addButton(10, 10, "OK", [&] { ++okClicks; });
        other = addButton(100, 10, "Other", [&] { ++otherClicks; });
        ok->SetDefault(true);
        ok->SetModalResult(mrOk);
        form->Show();
        drain();
    }
    TButton* addButton(int left, int top, const char* caption, std::function<void()> onClick) {
        auto* button = new TButton(form);
        button->SetParent(form);
        button->SetBounds(left, top, 75, 25);
        button->SetCaption(caption);
        button->OnClick = [onClick](TButton&) { onClick(); };
        return button;
    }
    HeadlessWindow& native() { return static_cast<HeadlessWindow&>(*form->Native()); }
    void drain() {
        while (host.pumpOne() != Host::PumpResult::Empty) {
        }
    }
    void mouse(MouseEvent::Kind kind, Point at) {
        host.postMouse(*form->Native(), MouseEvent{kind, MouseEvent::Button::Left, at});
        drain();
    }
    void key(std::uint8_t virtualKey, bool shift = false) {
        host.postKeyPress(*form->Native(), virtualKey, shift);
        drain();
    }

    HeadlessHost host;
    TApplication app{host};
    TForm* form = nullptr;
    TButton* ok = nullptr;
    TButton* other = nullptr;
    int okClicks = 0;
    int otherClicks = 0;
};

TEST_F(ButtonTest, AMouseClickCountsWhenReleasedOverTheButtonAndShowsItDownMeanwhile) {
    mouse(MouseEvent::Kind::Down, {20, 20});
    EXPECT_TRUE(ok->Down());
    EXPECT_TRUE(ok->Focused()) << "pressing it gives it the focus";
    mouse(MouseEvent::Kind::Move, {200, 150});
    EXPECT_FALSE(ok->Down()) << "dragged off, it pops up";
    mouse(MouseEvent::Kind::Up, {200, 150});
    EXPECT_EQ(okClicks, 0);

    mouse(MouseEvent::Kind::Down, {20, 20});
    mouse(MouseEvent::Kind::Up, {21, 21});
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(form->ModalResult(), mrOk) << "its modal result goes to its window";
    EXPECT_FALSE(ok->Down());
}

TEST_F(ButtonTest, SpacePressesTheFocusedButtonAndEnterTheFocusedOrElseTheDefaultOne) {
    ASSERT_TRUE(other->SetFocus());
    key(vk::Space);
    EXPECT_EQ(otherClicks, 1);
    EXPECT_EQ(form->ModalResult(), mrNone) << "a button without a modal result copies none";
    key(vk::Return);
    EXPECT_EQ(otherClicks, 2) << "Enter presses the button that has the focus";
    EXPECT_EQ(okClicks, 0);

    // With the focus on no button, Enter finds the default one.
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetTabStop(true);
    ASSERT_TRUE(panel->SetFocus());
    key(vk::Return);
    EXPECT_EQ(okClicks, 1);
    key(vk::Return, true);
    EXPECT_EQ(okClicks, 1) << "Shift+Enter is not the dialog's Enter";

    // A disabled default button takes no Enter.
    ok->SetEnabled(false);
    key(vk::Return);
    EXPECT_EQ(okClicks, 1);
}

TEST_F(ButtonTest, EscPressesOnlyACancelButtonAndSpaceIsLetGoWithTheFocus) {
    ASSERT_TRUE(other->SetFocus());
    key(vk::Escape);
    EXPECT_EQ(otherClicks + okClicks, 0) << "without a cancel button Esc does nothing";
    other->SetCancel(true);
    ASSERT_TRUE(ok->SetFocus());
    key(vk::Escape);
    EXPECT_EQ(otherClicks, 1);
    EXPECT_EQ(okClicks, 0);

    // Space held on one button while the focus moves away clicks nothing.
    KeyEvent space;
    space.virtualKey = vk::Space;
    host.postKey(*form->Native(), space);
    drain();
    EXPECT_TRUE(ok->Down());
    ASSERT_TRUE(other->SetFocus());
    EXPECT_FALSE(ok->Down());
    space.kind = KeyEvent::Kind::Up;
    host.postKey(*form->Native(), space);
    drain();
    EXPECT_EQ(okClicks, 0);
    EXPECT_EQ(otherClicks, 1);
}

TEST_F(ButtonTest, PaintsItsFaceBorderAndCaption) {
    const Image& image = native().image();
    // The default button has the accent border; the other one a grey one.
    EXPECT_EQ(image.pixel(10, 10), 0x0078D7u);
    EXPECT_EQ(image.pixel(100, 10), 0xADADADu);
    EXPECT_EQ(image.pixel(101, 12), 0xE1E1E1u);
    bool ink = false;
    for (int y = 10; y < 35; ++y)
        for (int x = 100; x < 175; ++x) ink |= image.pixel(x, y) == 0x000000;
    EXPECT_TRUE(ink) << "the caption in black";

    other->SetEnabled(false);
    drain();
    EXPECT_EQ(image.pixel(100, 10), 0xBFBFBFu) << "greyed when disabled";
}

TEST_F(ButtonTest, AnErrorBoxOrAModalWindowTakesAPressAwaySoItsReleaseClicksNothing) {
    // An error shown while the button is held down.
    mouse(MouseEvent::Kind::Down, {20, 20});
    ASSERT_TRUE(ok->Down());
    form->OnShortCut = [](const KeyEvent&) -> bool { throw EInvalidOperation("No key now"); };
    key('K');
    ASSERT_EQ(host.messageBoxes().size(), 1u);
    EXPECT_FALSE(ok->Down());
    mouse(MouseEvent::Kind::Up, {20, 20});
    EXPECT_EQ(okClicks, 0);
    form->OnShortCut = nullptr;

    // A window shown modally while it is held: the press ends there as well, and the pointer's
    // next press goes to the control under it, not to the one that held the mouse before.
    mouse(MouseEvent::Kind::Down, {20, 20});
    ASSERT_TRUE(ok->Down());
    TForm* box = nullptr;
    app.CreateForm(box);
    host.whenIdle([&] { host.post([&] { box->SetModalResult(mrCancel); }); });
    EXPECT_EQ(box->ShowModal(), mrCancel);
    EXPECT_FALSE(ok->Down());
    mouse(MouseEvent::Kind::Move, {110, 20});
    mouse(MouseEvent::Kind::Up, {20, 20});
    EXPECT_EQ(okClicks, 0);
    mouse(MouseEvent::Kind::Down, {110, 20});
    mouse(MouseEvent::Kind::Up, {110, 20});
    EXPECT_EQ(otherClicks, 1);
}

}  // namespace
}  // namespace zozuz
