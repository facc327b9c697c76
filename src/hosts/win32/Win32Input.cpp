#include "hosts/win32/Win32Input.h"

#include <windows.h>
#include <windowsx.h>

namespace zozuz {

std::optional<KeyEvent> keyEventFromMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                                            bool shift, bool ctrl) {
    KeyEvent key;
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: key.kind = KeyEvent::Kind::Down; break;
        case WM_KEYUP:
        case WM_SYSKEYUP: key.kind = KeyEvent::Kind::Up; break;
        default: return std::nullopt;
    }
    key.virtualKey = static_cast<std::uint8_t>(wParam & 0xFF);
    key.shift = shift;
    key.ctrl = ctrl;
    // Bit 29, the context code: set while Alt is held.
    key.alt = (static_cast<std::uint32_t>(lParam) & (1u << 29)) != 0;
    return key;
}

namespace {

void button(MouseEvent& mouse, MouseEvent::Kind kind, MouseEvent::Button which) {
    mouse.kind = kind;
    mouse.button = which;
}

}  // namespace

std::optional<MouseEvent> mouseEventFromMessage(unsigned message, std::uintptr_t wParam, Point position, bool alt) {
    MouseEvent mouse;
    switch (message) {
        case WM_MOUSEMOVE: mouse.kind = MouseEvent::Kind::Move; break;
        case WM_LBUTTONDOWN: button(mouse, MouseEvent::Kind::Down, MouseEvent::Button::Left); break;
        case WM_LBUTTONUP: button(mouse, MouseEvent::Kind::Up, MouseEvent::Button::Left); break;
        case WM_LBUTTONDBLCLK: button(mouse, MouseEvent::Kind::DoubleClick, MouseEvent::Button::Left); break;
        case WM_RBUTTONDOWN: button(mouse, MouseEvent::Kind::Down, MouseEvent::Button::Right); break;
        case WM_RBUTTONUP: button(mouse, MouseEvent::Kind::Up, MouseEvent::Button::Right); break;
        case WM_RBUTTONDBLCLK: button(mouse, MouseEvent::Kind::DoubleClick, MouseEvent::Button::Right); break;
        case WM_MBUTTONDOWN: button(mouse, MouseEvent::Kind::Down, MouseEvent::Button::Middle); break;
        case WM_MBUTTONUP: button(mouse, MouseEvent::Kind::Up, MouseEvent::Button::Middle); break;
        case WM_MBUTTONDBLCLK: button(mouse, MouseEvent::Kind::DoubleClick, MouseEvent::Button::Middle); break;
        case WM_MOUSEWHEEL:
            mouse.kind = MouseEvent::Kind::Wheel;
            mouse.wheelDelta = GET_WHEEL_DELTA_WPARAM(wParam);
            break;
        default: return std::nullopt;
    }
    const auto keys = static_cast<unsigned>(GET_KEYSTATE_WPARAM(wParam));
    mouse.position = position;
    mouse.shift = (keys & MK_SHIFT) != 0;
    mouse.ctrl = (keys & MK_CONTROL) != 0;
    mouse.alt = alt;
    return mouse;
}

std::optional<MouseEvent> mouseEventOfWindow(HWND window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                                             const PixelScale& scale) {
    if (message != WM_MOUSEMOVE && (message < WM_LBUTTONDOWN || message > WM_MOUSEWHEEL)) return std::nullopt;
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    // The wheel message alone carries screen coordinates.
    if (message == WM_MOUSEWHEEL) ScreenToClient(window, &p);
    return mouseEventFromMessage(message, wParam, scale.toLogical(Point{p.x, p.y}), GetKeyState(VK_MENU) < 0);
}

std::optional<HostListener::InputKind> hintEndingInput(unsigned message) {
    using Kind = HostListener::InputKind;
    // The classic key range, WM_KEYDOWN to WM_SYSDEADCHAR and the one after it.
    if (message >= WM_KEYDOWN && message <= 0x108) return Kind::Key;
    if (message == WM_MOUSEWHEEL) return Kind::MouseWheel;
    if (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK) return Kind::MouseButton;
    if (message == WM_COMMAND) return Kind::MenuCommand;
    if (message == WM_NCMOUSEMOVE) return Kind::FrameMouse;
    return std::nullopt;
}

}  // namespace zozuz
