// The system's input messages in the program's terms: which messages end a tooltip's showing, and
// what a key or mouse message says.
#include <gtest/gtest.h>
#include <windows.h>

#include "hosts/win32/Win32Input.h"

namespace zozuz {
namespace {

using Kind = HostListener::InputKind;

TEST(Win32Input, MessagesThatEndHintingAreTheKeyButtonWheelMenuAndFrameMessages) {
    for (unsigned message = 0x100; message <= 0x108; ++message) EXPECT_EQ(hintEndingInput(message), Kind::Key) << message;
    EXPECT_FALSE(hintEndingInput(0x109));
    EXPECT_FALSE(hintEndingInput(WM_MOUSEMOVE));
    for (unsigned message = 0x201; message <= 0x209; ++message)
        EXPECT_EQ(hintEndingInput(message), Kind::MouseButton) << message;
    EXPECT_EQ(hintEndingInput(0x20A), Kind::MouseWheel);
    EXPECT_EQ(hintEndingInput(WM_COMMAND), Kind::MenuCommand);
    EXPECT_EQ(hintEndingInput(0xA0), Kind::FrameMouse);
    EXPECT_FALSE(hintEndingInput(WM_PAINT));
    EXPECT_FALSE(hintEndingInput(WM_TIMER));
}

TEST(Win32Input, KeyMessagesCarryTheKeyTheModifiersAndAltFromTheContextBit) {
    const auto down = keyEventFromMessage(WM_KEYDOWN, 'N', 1, false, true);
    ASSERT_TRUE(down);
    EXPECT_EQ(down->kind, KeyEvent::Kind::Down);
    EXPECT_EQ(down->keyCode(), makeKeyCode('N', false, true, false));  // Ctrl+N

    const auto sysUp = keyEventFromMessage(WM_SYSKEYUP, VK_BACK, 1 | (1 << 29), true, false);
    ASSERT_TRUE(sysUp);
    EXPECT_EQ(sysUp->kind, KeyEvent::Kind::Up);
    EXPECT_TRUE(sysUp->alt);
    EXPECT_TRUE(sysUp->shift);
    EXPECT_EQ(sysUp->virtualKey, VK_BACK);

    EXPECT_FALSE(keyEventFromMessage(WM_CHAR, 'a', 1, false, false));
}

TEST(Win32Input, MouseMessagesNameTheirButtonAndWheelTurns) {
    const auto dbl = mouseEventFromMessage(WM_MBUTTONDBLCLK, MK_CONTROL, Point{3, 4}, true);
    ASSERT_TRUE(dbl);
    EXPECT_EQ(dbl->kind, MouseEvent::Kind::DoubleClick);
    EXPECT_EQ(dbl->button, MouseEvent::Button::Middle);
    EXPECT_TRUE(dbl->ctrl);
    EXPECT_TRUE(dbl->alt);
    EXPECT_FALSE(dbl->shift);

    const auto wheel = mouseEventFromMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)), Point{}, false);
    ASSERT_TRUE(wheel);
    EXPECT_EQ(wheel->kind, MouseEvent::Kind::Wheel);
    EXPECT_EQ(wheel->wheelDelta, -240);
    // A fine wheel's or a touchpad's part of a notch comes through as it is; the editor adds them up.
    const auto part = mouseEventFromMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 15), Point{}, false);
    ASSERT_TRUE(part);
    EXPECT_EQ(part->wheelDelta, 15);

    EXPECT_FALSE(mouseEventFromMessage(WM_KEYDOWN, 0, Point{}, false));
}

}  // namespace
}  // namespace zozuz
