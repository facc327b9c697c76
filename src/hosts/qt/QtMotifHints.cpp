#include "hosts/qt/QtMotifHints.h"

#include <array>
#include <cstdlib>
#include <memory>

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include "hosts/qt/QtWindowWidget.h"

namespace zozuz {

QtMotifHints QtMotifHints::fixedDialog() {
    QtMotifHints hints;
    hints.flags = kFunctionsFlag | kDecorationsFlag;
    hints.functions = kFunctionMove | kFunctionClose;
    hints.decorations = kDecorBorder | kDecorTitle;
    return hints;
}

void QtMotifHints::write(QtWindowWidget& widget, WindowFrame frame) {
    if (frame != WindowFrame::Dialog) return;
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr || x11->connection() == nullptr) return;
    xcb_connection_t* connection = x11->connection();

    static constexpr char kName[] = "_MOTIF_WM_HINTS";
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof kName - 1, kName), nullptr),
        &std::free);
    // Without the atom the server is failing; the window keeps the hints Qt wrote.
    if (!atom) return;

    // Qt writes its own hints when it creates the native window and when the flags change, never
    // when it shows the window: written after creation, these are what the window manager reads.
    const auto id = static_cast<xcb_window_t>(widget.platformWindow().winId());
    const QtMotifHints hints = fixedDialog();
    // flags, functions, decorations, input mode, status.
    const std::array<std::uint32_t, 5> data{hints.flags, hints.functions, hints.decorations, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, atom->atom, atom->atom, 32,
                        static_cast<std::uint32_t>(data.size()), data.data());
    xcb_flush(connection);
}

}  // namespace zozuz
