#pragma once

#include <cstdint>
#include <optional>

#include "platform/gfx/Geometry.h"
#include "platform/gfx/PixelScale.h"
#include "platform/host/HostListener.h"
#include "platform/host/KeyEvent.h"
#include "platform/host/MouseEvent.h"

struct HWND__;

namespace zozuz {

// The system's input messages in the program's terms. Parameters are the message's own, as plain
// integers; the state of Shift and Ctrl (which a key message does not carry) is passed in.

// A key press or release (WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP); nothing for any other
// message. Alt is what the message reports (its context bit), as the program's shortcuts expect.
std::optional<KeyEvent> keyEventFromMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                                            bool shift, bool ctrl);

// A mouse message over the client area; nothing for any other message. `position` is the pointer in
// client coordinates (the wheel message carries screen coordinates, which the caller converts).
std::optional<MouseEvent> mouseEventFromMessage(unsigned message, std::uintptr_t wParam, Point position, bool alt);

// A mouse message that reached `window`, with the pointer in the logical units of `scale` and the
// state of Alt read from the keyboard; nothing for any other message.
std::optional<MouseEvent> mouseEventOfWindow(HWND__* window, unsigned message, std::uintptr_t wParam,
                                             std::intptr_t lParam, const PixelScale& scale);

// Whether a message ends a tooltip's showing, and as which kind of input.
std::optional<HostListener::InputKind> hintEndingInput(unsigned message);

}  // namespace zozuz
