#pragma once

#include <cstdint>

#include <windows.h>

namespace zozuz {

// The window procedure of a window class whose windows each belong to one object of the host's.
// The object comes as the creation parameter of CreateWindowExW and is kept in the window's user
// data from the first message on, so that every later message finds it. `Window` provides
// `attach(HWND)`, told its handle as the window is created, and `handleMessage(message, wParam,
// lParam, result)`, which returns whether it handled the message and then sets `result`. The
// object clears the user data before it lets go of the window; messages without an object (and
// those it leaves) get the default handling.
template <typename Window>
LRESULT CALLBACK objectWindowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* window = static_cast<Window*>(create->lpCreateParams);
        SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
        if (window) window->attach(handle);
    }
    if (auto* window = reinterpret_cast<Window*>(GetWindowLongPtrW(handle, GWLP_USERDATA))) {
        std::intptr_t result = 0;
        if (window->handleMessage(message, wParam, lParam, result)) return result;
    }
    return DefWindowProcW(handle, message, wParam, lParam);
}

}  // namespace zozuz
