#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QImage>
#include <QRegion>
#include <QSize>

#include "platform/gfx/Font.h"
#include "platform/gfx/Geometry.h"
#include "platform/gfx/Image.h"
#include "platform/host/KeyEvent.h"
#include "platform/host/MouseEvent.h"
#include "platform/host/NativeWindow.h"
#include "platform/host/PointerShape.h"
#include "platform/host/ShowCommand.h"
#include "platform/host/Surface.h"
#include "platform/host/WindowClient.h"

class QKeyEvent;

namespace zozuz {

class QtAccessibleNodes;
class QtHost;
class QtEditorWindow;
class QtMenuBar;
class QtSurface;
class QtWindowWidget;

// A top-level window of the Qt host.
//
// Bounds. The program gives outer bounds, frame included, but on X11 the window manager draws the
// frame and says how thick it is only after the window has been mapped. The window therefore keeps
// the outer bounds it was given and sizes its client area with the best frame it knows: the frame
// of a window of the same kind seen earlier, or none. Once its own frame is known the client area
// is corrected so that the outer bounds come out as asked (or, after setClientSize, the outer
// bounds grow around the client size asked for), and the client hears of the new client size
// through boundsChanged, as it does when the window manager resizes a window. Positions are frame
// positions throughout, as Qt's move() takes them.
//
// Painting. The surface's image holds the whole picture of the client area. A paint event asks the
// client to paint only the parts that were invalidated (or never painted), and shows the rest from
// the image; an immediate drawing on the surface repaints at once and leaves invalidated parts for
// the event loop.
class QtWindow final : public NativeWindow {
public:
    QtWindow(QtHost& host, WindowClient& client, const WindowOptions& options);
    ~QtWindow() override;

    void setCaption(const std::string& caption) override;
    std::string caption() const override;
    void setIcon(const Image& icon) override;
    void setFrame(WindowFrame frame) override;
    WindowFrame frame() const override { return frame_; }
    void setBounds(const Rect& outer) override;
    Rect bounds() const override { return bounds_; }
    Size clientSize() const override;
    void setClientSize(Size size) override;
    Point screenToClient(Point screen) const override;
    Point clientToScreen(Point client) const override;
    void setFont(const Font& font) override;
    void setPointerShape(PointerShape shape) override;
    void show() override;
    void hide() override;
    bool visible() const override;
    void activate() override;
    void setEnabled(bool enabled) override;
    bool enabled() const override;
    void setState(WindowState state) override;
    WindowState state() const override;
    Surface& surface() override;
    void invalidate(const Rect& area) override;
    void invalidateAll() override;
    void accessibleChanged(AccessibleEvent event, std::uint32_t id) override;

    // --- For the host ---
    QtHost& host() const { return host_; }
    WindowClient& client() const { return client_; }
    // The controls the program draws on the window, as screen readers see them.
    QtAccessibleNodes& accessibleNodes() const { return *accessibleNodes_; }
    QtWindowWidget& widget() const { return *widget_; }
    const QImage& backing() const;
    // The frame's thickness on each side (left, top, right, bottom) as far as it is known.
    Rect frameInsets() const;
    // The menu bar at the top of the widget, or null. The client area lies below it: the outer
    // bounds stay and the client area gives up the bar's height, as when a desktop adds a menu bar
    // to a framed window.
    void setMenuBar(QtMenuBar* bar);
    // Where the client area starts in the widget: the menu bar's height, 0 without one.
    int clientTop() const;
    // The menu bar's height may have changed: lays out the bar and the client area again.
    void menuBarChanged();
    // The editor windows inside the client area, which move with it when the menu bar changes.
    void addEditor(QtEditorWindow& editor) { editors_.push_back(&editor); }
    void removeEditor(QtEditorWindow& editor) { std::erase(editors_, &editor); }

    // --- Events from the widget ---
    void paintRegion(const QRegion& region);
    void closeRequested();
    void resized(QSize size);
    void geometryChanged();
    void windowStateChanged();
    void activationChanged(bool active);
    void keyArrived(const QKeyEvent& event);
    // Hands Alt with a character to the menu bar; false when the key is not such or there is no bar.
    bool offerToMenuBar(const KeyEvent& key);
    void mouseArrived(const MouseEvent& mouse);

private:
    // Handles window-system events until the window manager has activated the window, for a short
    // while at most.
    void awaitActivation();
    // Sizes and places the widget for bounds_ with the frame as now known.
    void applyBounds();
    // The outer bounds the window has on the screen now, with the frame as now known.
    Rect currentOuter() const;
    // Whether a window manager that frames windows has not yet framed this one.
    bool awaitingFrame() const;
    QRegion wholeClient() const;

    QtHost& host_;
    WindowClient& client_;
    QtMenuBar* menuBar_ = nullptr;
    std::vector<QtEditorWindow*> editors_;
    WindowFrame frame_;
    std::unique_ptr<QtWindowWidget> widget_;
    std::unique_ptr<QtSurface> surface_;
    std::unique_ptr<QtAccessibleNodes> accessibleNodes_;
    // The outer bounds in the normal state.
    Rect bounds_;
    // The client size the program asked for with setClientSize, which the bounds then follow.
    std::optional<Size> clientRequest_;
    // The frame the client area was last sized with.
    Rect appliedInsets_;
    // The client size last asked of Qt, until Qt reports it: geometry reports before that are the
    // window on its way there, not the user's doing.
    std::optional<QSize> pendingSize_;
    int pendingReports_ = 0;
    // The frame changed the client size: the client is told once the window has its new size.
    bool reportWhenSettled_ = false;
    QRegion needsPaint_;
    WindowState reportedState_ = WindowState::Normal;
    bool active_ = false;
    // Shown since the last activation: the next activate() waits until the window is active.
    bool awaitingActivation_ = false;
    // Whether the program lets the window take input; Qt's own flag also follows the owner's.
    bool enabled_ = true;
};

}  // namespace zozuz
