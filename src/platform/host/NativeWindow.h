#pragma once

#include <cstdint>
#include <string>

#include "platform/gfx/Font.h"
#include "platform/host/Accessible.h"
#include "platform/gfx/Geometry.h"
#include "platform/gfx/Image.h"
#include "platform/host/PointerShape.h"
#include "platform/host/ShowCommand.h"
#include "platform/host/Surface.h"

namespace zozuz {

class NativeWindow;

// How a top-level window is framed.
enum class WindowFrame : std::uint8_t {
    // Title bar with icon, minimise, maximise and close boxes; the user can resize it.
    Sizeable,
    // Fixed dialog frame: title bar with the caption and a close box only, no icon shown, no
    // minimise or maximise box, and the user cannot resize it.
    Dialog,
};

// What a top-level window is created with. Everything here can be changed later as well, except
// the owner.
struct WindowOptions {
    WindowFrame frame = WindowFrame::Sizeable;
    std::string caption;  // UTF-8
    // Outer bounds (frame included), in screen coordinates.
    Rect bounds{0, 0, 320, 240};
    // A window with an owner stays above it and has no taskbar entry of its own. Without an owner
    // the window is a taskbar entry: on this platform that is the main window.
    NativeWindow* owner = nullptr;
};

// One top-level window of the program on the host. It is created hidden and enabled; destroying
// the object destroys the window. Geometry is in pixels: outer bounds in screen coordinates,
// client coordinates relative to the top-left corner of the client area.
class NativeWindow {
public:
    virtual ~NativeWindow() = default;

    virtual void setCaption(const std::string& caption) = 0;
    virtual std::string caption() const = 0;

    // The window's icon picture (the host scales it where it needs another size).
    virtual void setIcon(const Image& icon) = 0;

    virtual void setFrame(WindowFrame frame) = 0;
    virtual WindowFrame frame() const = 0;

    // Outer bounds, frame included. With a Normal state these are the window's own bounds; while
    // it is maximised or minimised, the bounds it returns to when restored.
    virtual void setBounds(const Rect& outer) = 0;
    virtual Rect bounds() const = 0;
    // The size of the client area, and a way to set the outer size from it (the frame added).
    virtual Size clientSize() const = 0;
    virtual void setClientSize(Size size) = 0;
    // Screen coordinates to client coordinates and back.
    virtual Point screenToClient(Point screen) const = 0;
    virtual Point clientToScreen(Point client) const = 0;

    // The default font of whatever the host places on the window.
    virtual void setFont(const Font& font) = 0;

    // The pointer's shape while it rests over the client area; the program sets it as the pointer
    // moves over its controls. It starts as the arrow. Over the frame and outside the window the
    // desktop's own shapes apply.
    virtual void setPointerShape(PointerShape shape) = 0;

    // Showing and hiding. show() makes the window visible in its current state (a minimised
    // window shows as minimised) without activating it; activate() brings it to the front and
    // gives it the keyboard.
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual bool visible() const = 0;
    virtual void activate() = 0;

    // A disabled window takes no keyboard or mouse input, but still paints. Disabling a window never
    // disables the windows and message boxes it owns: the program disables each of its windows
    // itself while a modal window or a message box shows.
    virtual void setEnabled(bool enabled) = 0;
    virtual bool enabled() const = 0;

    virtual void setState(WindowState state) = 0;
    virtual WindowState state() const = 0;

    // Immediate painting: whatever is drawn on this surface reaches the screen before the drawing
    // call returns, without a trip through the event loop.
    virtual Surface& surface() = 0;
    // Deferred painting: marks `area` (client coordinates) as needing a repaint; the host delivers
    // WindowClient::paint for it later from the event loop, once, however often it was marked.
    virtual void invalidate(const Rect& area) = 0;
    virtual void invalidateAll() = 0;

    // Tells screen readers that a described control changed (WindowClient::accessibleNodes): `id`
    // names it, or is 0 with AccessibleEvent::Structure when controls came or went.
    virtual void accessibleChanged(AccessibleEvent event, std::uint32_t id) = 0;
};

}  // namespace zozuz
