#pragma once

#include <cstdint>

#include "platform/host/NativeWindow.h"

namespace zozuz {

class QtWindowWidget;

// The frame a window asks an X11 window manager for, in the words of the _MOTIF_WM_HINTS property
// that window managers read for it.
//
// Qt writes that property from a window's flags, but it always adds resizing to what it asks for, and
// with a close box it asks for the window menu too, so a fixed dialog frame would come with a resize
// border, with a maximise box where window managers tie that box to resizing, and with the icon that
// many frames draw as the window menu's box. For the dialog frame the window writes the property
// itself: move and close only, a border and a title bar only. A sizeable window keeps what Qt writes.
struct QtMotifHints {
    // The property's bits, as window managers read them.
    static constexpr std::uint32_t kFunctionsFlag = 1U << 0;
    static constexpr std::uint32_t kDecorationsFlag = 1U << 1;
    static constexpr std::uint32_t kFunctionResize = 1U << 1;
    static constexpr std::uint32_t kFunctionMove = 1U << 2;
    static constexpr std::uint32_t kFunctionMinimize = 1U << 3;
    static constexpr std::uint32_t kFunctionMaximize = 1U << 4;
    static constexpr std::uint32_t kFunctionClose = 1U << 5;
    static constexpr std::uint32_t kDecorBorder = 1U << 1;
    static constexpr std::uint32_t kDecorResizeHandle = 1U << 2;
    static constexpr std::uint32_t kDecorTitle = 1U << 3;
    static constexpr std::uint32_t kDecorMenu = 1U << 4;
    static constexpr std::uint32_t kDecorMinimize = 1U << 5;
    static constexpr std::uint32_t kDecorMaximize = 1U << 6;

    std::uint32_t flags = 0;
    std::uint32_t functions = 0;
    std::uint32_t decorations = 0;

    // The fixed dialog frame: the user can move and close the window and nothing else; the frame has
    // a border and a title bar with the close box, and no window menu (whose box shows the icon).
    static QtMotifHints fixedDialog();

    // Writes the hints for `frame` to the widget's platform window, created if need be, when it lives
    // on an X11 server and the frame is one Qt's own hints do not say exactly (the dialog frame).
    // Elsewhere it does nothing. A window manager reads the hints when it maps the window and again
    // whenever they change.
    static void write(QtWindowWidget& widget, WindowFrame frame);
};

}  // namespace zozuz
