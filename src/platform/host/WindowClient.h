#pragma once

#include <cstdint>
#include <vector>

#include "platform/gfx/Geometry.h"
#include "platform/host/Accessible.h"
#include "platform/host/KeyEvent.h"
#include "platform/host/MouseEvent.h"
#include "platform/host/ShowCommand.h"
#include "platform/host/Surface.h"

namespace zozuz {

// What a top-level window tells the object that created it. The host calls these on the
// user-interface thread, from inside a pump step (Host::pumpOne / Host::waitForEvent) or from
// inside a call the program made (for example NativeWindow::show may deliver `activated`).
//
// An exception that escapes one of these calls travels out of the host call that delivered it:
// hosts never swallow it. (A host whose event system cannot carry exceptions keeps it aside and
// rethrows it when the pump step returns.) The program's windows catch their own errors here and
// hand them to the error display, so in practice nothing escapes.
//
// Every event has an empty default, so that a client handles only what it needs and new events can
// be added without touching every client.
class WindowClient {
public:
    virtual ~WindowClient() = default;

    // Key preview: every key press and release addressed to this window, or to any control on it,
    // is offered here first, before the focused control sees it. Returning true consumes the key.
    virtual bool keyPreview(const KeyEvent&) { return false; }
    // A key nobody consumed, when no control on the window has the keyboard focus.
    virtual void keyPress(const KeyEvent&) {}

    // Mouse events over the window's client area.
    virtual void mouse(const MouseEvent&) {}

    // The user asked to close the window (close box, Alt+F4, the window manager). The host does not
    // close, hide or destroy anything by itself: the client decides.
    virtual void closeRequest() {}

    // Deferred painting: paint `area` (client coordinates) of the window onto `surface`. Arrives
    // some time after NativeWindow::invalidate, and when the desktop uncovers part of the window.
    // Nothing is erased beforehand: the client paints every pixel of `area`, background included.
    virtual void paint(Surface& /*surface*/, const Rect& /*area*/) {}

    // The window became, or stopped being, the active window.
    virtual void activated(bool /*active*/) {}

    // The user moved or resized the window (outer bounds, screen coordinates), or changed its state
    // through the window manager. Not called for changes the program made itself.
    virtual void boundsChanged(const Rect& /*outer*/) {}
    virtual void stateChanged(WindowState) {}

    // Screen readers: the controls the program draws on the window, each listed after the node it
    // lies in, in reading order. The host asks when a screen reader looks, and again after
    // NativeWindow::accessibleChanged.
    virtual std::vector<AccessibleNode> accessibleNodes() { return {}; }
    // A screen reader pressed the control `id` (a push button): it runs exactly as a click does. An id
    // that names no control (any more) does nothing.
    virtual void accessibleAction(std::uint32_t /*id*/) {}
};

}  // namespace zozuz
