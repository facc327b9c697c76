#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx/Font.h"
#include "platform/gfx/Geometry.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/PixelScale.h"
#include "platform/host/NativeWindow.h"
#include "platform/host/PointerShape.h"
#include "platform/host/ShowCommand.h"
#include "platform/host/WindowClient.h"
#include "hosts/win32/Win32Surface.h"

struct HWND__;
struct HICON__;

namespace zozuz {

class Win32Host;
class Win32MenuBar;
class WindowAutomation;

// One top-level window of the program on Windows: a window of the host's class, owned by the window
// given as owner (so that it has no taskbar button of its own), created hidden.
//
// What the program changes itself is not reported back to it: boundsChanged and stateChanged report
// only what the user (or the system) did. A hidden window keeps the state the program gave it and
// takes it on when shown.
//
// Everything the program hands over or is told is in its logical pixels (96 to the inch): the window
// maps them to the device pixels of the monitor it is on, sizes by its own density and screen
// positions by the main monitor's, and follows the window to a monitor of another density.
class Win32Window final : public NativeWindow {
public:
    Win32Window(Win32Host& host, WindowClient& client, const WindowOptions& options);
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    void setCaption(const std::string& caption) override;
    std::string caption() const override;
    void setIcon(const Image& icon) override;
    void setFrame(WindowFrame frame) override;
    WindowFrame frame() const override { return frame_; }
    void setBounds(const Rect& outer) override;
    Rect bounds() const override;
    Size clientSize() const override;
    void setClientSize(Size size) override;
    Point screenToClient(Point screen) const override;
    Point clientToScreen(Point client) const override;
    void setFont(const Font& font) override { font_ = font; }
    void setPointerShape(PointerShape shape) override { pointerShape_ = shape; }
    void show() override;
    void hide() override;
    bool visible() const override;
    void activate() override;
    void setEnabled(bool enabled) override;
    bool enabled() const override;
    void setState(WindowState state) override;
    WindowState state() const override;
    Surface& surface() override { return surface_; }
    void invalidate(const Rect& area) override;
    void invalidateAll() override;
    void accessibleChanged(AccessibleEvent event, std::uint32_t id) override;

    // --- For the host ---
    HWND__* handle() const { return handle_; }
    WindowClient& client() const { return client_; }
    const Font& font() const { return font_; }
    PointerShape pointerShape() const { return pointerShape_; }
    const Win32Surface& backing() const { return surface_; }
    // Gives the caption the icon its frame shows: none for the fixed dialog frame, else the
    // window's own icon or, without one, the host's application icon. Called again whenever one
    // of them changes.
    void showIcon();
    // The density of the monitor the window is on.
    const PixelScale& scale() const { return scale_; }
    // The window procedure's work for this window; returns whether the message was handled, with
    // its result in `result`.
    bool handleMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam, std::intptr_t& result);
    void attach(HWND__* handle) { handle_ = handle; surface_.setWindow(handle); }
    // The menu bar that takes the window's menu messages; null for none. Not owned.
    void setMenuBar(Win32MenuBar* menuBar) { menuBar_ = menuBar; }
    // What screen readers see of the drawn controls, created when one first asks.
    WindowAutomation& automation();
    // The client's described controls, asked for under the host's guard (none when that fails).
    std::vector<AccessibleNode> accessibleNodes();
    // A rectangle of the client area in the screen's device pixels.
    Rect screenRect(const Rect& client) const;

private:
    // While the program itself moves, sizes or shows the window, the system's reports of it are not
    // passed on as the user's doing.
    class ProgramChange;

    void paint();
    void positionChanged();
    // The window moved to a monitor of another density: it takes the size the system suggests, and
    // its child windows are laid out again at the new density.
    void densityChanged(int dpi, const Rect& suggested);
    // Outer bounds between the program's pixels and the system's.
    Rect deviceBounds(const Rect& outer) const;
    Rect logicalBounds(const Rect& device) const;
    WindowState systemState() const;
    // On activation: whether a child of the window has the keyboard, given back to the child that
    // had it when the window was last deactivated if none has.
    bool restoreChildFocus();
    // WM_ACTIVATE: tells the client, keeps the focused child while the window is inactive and gives
    // it the keyboard back on activation; returns whether the message is done with.
    bool activationChanged(std::uintptr_t wParam);
    // WM_GETOBJECT: UI Automation's root element, or the MSAA object of the client area.
    bool answerAccessibility(std::uintptr_t wParam, std::intptr_t lParam, std::intptr_t& result);

    Win32Host& host_;
    WindowClient& client_;
    HWND__* handle_ = nullptr;
    WindowFrame frame_;
    Font font_;
    Win32Surface surface_;
    PixelScale scale_;
    HICON__* icon_ = nullptr;
    PointerShape pointerShape_ = PointerShape::Arrow;
    // The state of a hidden window, applied when it shows.
    WindowState hiddenState_ = WindowState::Normal;
    // What the client was last told (or set itself), so that only changes are reported.
    WindowState reportedState_ = WindowState::Normal;
    Rect reportedBounds_;
    int programChanges_ = 0;
    bool active_ = false;
    // The child that had the keyboard when the window was last deactivated (or that took it on
    // activation); it may have been destroyed since, which is checked before it is used.
    HWND__* focusedChild_ = nullptr;
    Win32MenuBar* menuBar_ = nullptr;
    // Null until a screen reader asks; holds one reference.
    WindowAutomation* automation_ = nullptr;
};

}  // namespace zozuz
