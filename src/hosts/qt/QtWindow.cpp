#include "hosts/qt/QtWindow.h"

#include <algorithm>
#include <utility>

#include <QAbstractEventDispatcher>
#include <QCursor>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QIcon>
#include <QMetaObject>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#include "hosts/qt/QtAccessibleNodes.h"
#include "hosts/qt/QtEditorWindow.h"
#include "hosts/qt/QtFontMapper.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/QtImageConversion.h"
#include "hosts/qt/QtMenuBar.h"
#include "hosts/qt/QtMotifHints.h"
#include "hosts/qt/QtSurface.h"
#include "hosts/qt/QtWindowWidget.h"

namespace zozuz {

namespace {

Qt::WindowFlags flagsFor(WindowFrame frame) {
    if (frame == WindowFrame::Dialog)
        return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
               Qt::MSWindowsFixedSizeDialogHint;
    return Qt::Window;
}

// Geometry reports that may arrive while the window is on its way to a size it was given, before
// Qt reports that size itself; after that many, whatever the window manager settled on stands.
constexpr int kSettlingReports = 4;

// How long the first activation after a showing waits for the window manager to hand the window
// the keyboard. A window manager takes a few milliseconds; one that never activates the window
// costs the program this once per showing.
constexpr int kActivationWaitMs = 150;

}  // namespace

QtWindow::QtWindow(QtHost& host, WindowClient& client, const WindowOptions& options)
    : host_(host), client_(client), frame_(options.frame), bounds_(options.bounds) {
    auto* owner = dynamic_cast<QtWindow*>(options.owner);
    widget_ = std::make_unique<QtWindowWidget>(*this, owner ? owner->widget_.get() : nullptr, flagsFor(frame_));
    widget_->setWindowTitle(QString::fromStdString(options.caption));
    surface_ = std::make_unique<QtSurface>(host_, *widget_, QSize(0, 0));
    accessibleNodes_ = std::make_unique<QtAccessibleNodes>(*this);
    // A window is created enabled, also when its owner is disabled just now.
    widget_->setEnabled(true);
    applyBounds();
    // A hidden widget hears of its size only when shown; the surface needs it now, so that the
    // program can draw before the window shows.
    resized(widget_->size());
    host_.windowCreated(this);
}

QtWindow::~QtWindow() {
    host_.windowDestroyed(this);
    // The menu bar's widget goes with this window's; the bar object itself is the program's.
    if (menuBar_) menuBar_->windowGone();
    // Qt deletes a widget's children with it; windows owned by this one are the program's to
    // destroy, so they are set free first (and hide, as owned windows do when their owner goes).
    for (QObject* child : widget_->children()) {
        if (auto* owned = dynamic_cast<QtWindowWidget*>(child)) owned->setParent(nullptr, owned->windowFlags());
    }
    surface_.reset();
    // The controls' interfaces go before the window's, which they name as their parent.
    accessibleNodes_.reset();
    widget_.reset();
}

void QtWindow::setCaption(const std::string& caption) { widget_->setWindowTitle(QString::fromStdString(caption)); }

std::string QtWindow::caption() const { return widget_->windowTitle().toStdString(); }

void QtWindow::setIcon(const Image& icon) { widget_->setWindowIcon(QIcon(QPixmap::fromImage(toQImage(icon)))); }

void QtWindow::setFrame(WindowFrame frame) {
    if (frame == frame_) return;
    frame_ = frame;
    const bool wasVisible = widget_->isVisible();
    // Changing the flags hides the window; it shows again below when it was visible.
    widget_->setWindowFlags(flagsFor(frame_));
    if (frame_ == WindowFrame::Sizeable) {
        widget_->setMinimumSize(0, 0);
        widget_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    applyBounds();
    if (wasVisible) {
        QtMotifHints::write(*widget_, frame_);
        widget_->show();
    }
    host_.rethrowPending();
}

Rect QtWindow::frameInsets() const {
    if (widget_->isVisible()) {
        if (const QWindow* handle = widget_->windowHandle()) {
            const QMargins m = handle->frameMargins();
            if (!m.isNull()) return Rect{m.left(), m.top(), m.right(), m.bottom()};
        }
    }
    return host_.frameEstimate(frame_);
}

void QtWindow::applyBounds() {
    const Rect f = frameInsets();
    appliedInsets_ = f;
    const int top = clientTop();
    // The widget's size: the client area and the menu bar above it.
    QSize client;
    if (clientRequest_) {
        client = QSize(clientRequest_->width, clientRequest_->height + top);
        bounds_.right = bounds_.left + client.width() + f.left + f.right;
        bounds_.bottom = bounds_.top + client.height() + f.top + f.bottom;
    } else {
        client = QSize(std::max(0, bounds_.width() - f.left - f.right),
                       std::max(top, bounds_.height() - f.top - f.bottom));
    }
    if (frame_ == WindowFrame::Dialog)
        widget_->setFixedSize(client);
    else
        widget_->resize(client);
    // For a top-level widget Qt's move() places the frame, not the client area.
    widget_->move(bounds_.left, bounds_.top);
    if (widget_->isVisible() && widget_->size() != client) {
        pendingSize_ = client;
        pendingReports_ = 0;
    }
}

Rect QtWindow::currentOuter() const {
    const QRect g = widget_->geometry();
    const Rect f = frameInsets();
    return Rect{g.x() - f.left, g.y() - f.top, g.x() + g.width() + f.right, g.y() + g.height() + f.bottom};
}

void QtWindow::setBounds(const Rect& outer) {
    // A move keeps a client size asked for earlier: the frame it was turned into outer bounds with
    // is only an estimate until the window has been mapped, and a dialog centred before it shows
    // would otherwise take that estimate's error into its client area.
    const bool move = outer.width() == bounds_.width() && outer.height() == bounds_.height();
    bounds_ = outer;
    if (!move) clientRequest_.reset();
    // A maximised or minimised window keeps these as the bounds it returns to; Qt restores the
    // client geometry it had, which is close enough until the program sets bounds again.
    if (state() == WindowState::Normal) applyBounds();
    host_.rethrowPending();
}

Size QtWindow::clientSize() const {
    const QSize size = widget_->size();
    return Size{size.width(), std::max(0, size.height() - clientTop())};
}

void QtWindow::setMenuBar(QtMenuBar* bar) {
    menuBar_ = bar;
    menuBarChanged();
}

int QtWindow::clientTop() const { return menuBar_ ? menuBar_->height() : 0; }

void QtWindow::menuBarChanged() {
    applyBounds();
    const QSize whole = widget_->size();
    if (menuBar_) menuBar_->place(whole.width());
    surface_->setTop(clientTop());
    for (QtEditorWindow* editor : editors_) editor->placeInClientArea();
    const QSize client(whole.width(), std::max(0, whole.height() - clientTop()));
    surface_->resize(client);
    needsPaint_ = wholeClient();
    widget_->update();
    host_.rethrowPending();
}

void QtWindow::setClientSize(Size size) {
    clientRequest_ = Size{std::max(0, size.width), std::max(0, size.height)};
    applyBounds();
    host_.rethrowPending();
}

Point QtWindow::screenToClient(Point screen) const {
    const QPoint p = widget_->mapFromGlobal(QPoint(screen.x, screen.y));
    return Point{p.x(), p.y() - clientTop()};
}

Point QtWindow::clientToScreen(Point client) const {
    const QPoint p = widget_->mapToGlobal(QPoint(client.x, client.y + clientTop()));
    return Point{p.x(), p.y()};
}

void QtWindow::setFont(const Font& font) { widget_->setFont(QtFontMapper::toQFont(font)); }

void QtWindow::setPointerShape(PointerShape shape) {
    // The widget's own cursor: Qt shows it while the pointer is over the client area and changes
    // it at once when the pointer is there already.
    if (shape == PointerShape::Hand)
        widget_->setCursor(Qt::PointingHandCursor);
    else
        widget_->unsetCursor();
}

void QtWindow::show() {
    if (widget_->isVisible()) return;
    // A window that shows again is painted afresh: what it showed before may be out of date.
    needsPaint_ = wholeClient();
    // The window manager applies its own focus rule to a newly mapped window (openbox gives it the
    // keyboard); the host itself asks for no activation here. The window manager reads the frame's
    // hints as the window maps, so they are written first.
    QtMotifHints::write(*widget_, frame_);
    widget_->show();
    awaitingActivation_ = true;
    host_.rethrowPending();
}

void QtWindow::hide() {
    widget_->hide();
    host_.rethrowPending();
}

bool QtWindow::visible() const { return widget_->isVisible(); }

void QtWindow::activate() {
    // A desktop does not activate a window nobody can see.
    if (!widget_->isVisible()) return;
    widget_->raise();
    widget_->activateWindow();
    if (std::exchange(awaitingActivation_, false)) awaitActivation();
    host_.rethrowPending();
}

void QtWindow::awaitActivation() {
    // On the system the program was made for, activating a window that has just been shown
    // returns with the window active and its focus set, so the program's next idle step already
    // sees the editor focused. Under X the window manager activates a newly mapped window only
    // some time later; the window-system events are handled here until it has, and the user's
    // input waits in the queue meanwhile as it would on that system.
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (!dispatcher) return;
    QElapsedTimer clock;
    clock.start();
    // Wakes the dispatcher's wait below should nothing else arrive before the time is up.
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(kActivationWaitMs);
    const QPointer<QtWindowWidget> widget(widget_.get());
    QtHost& host = host_;
    host.holdTimers();
    struct Release {
        QtHost& host;
        ~Release() { host.releaseTimers(); }
    } release{host};
    while (widget && !active_ && widget->isVisible() && !host.pending_ && clock.elapsed() < kActivationWaitMs)
        dispatcher->processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
}

void QtWindow::setEnabled(bool enabled) {
    enabled_ = enabled;
    widget_->setEnabled(enabled);
    // Qt disables a widget's child windows along with it, but the windows this one owns take input
    // or not by their own setting: the About box shown modally over a disabled main window must take
    // the keyboard.
    for (QObject* child : widget_->children()) {
        if (auto* owned = dynamic_cast<QtWindowWidget*>(child)) {
            if (QtWindow* window = host_.windowOfWidget(owned)) window->widget_->setEnabled(window->enabled_);
        }
    }
    host_.rethrowPending();
}

bool QtWindow::enabled() const { return enabled_; }

void QtWindow::setState(WindowState state) {
    reportedState_ = state;
    Qt::WindowStates states = widget_->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (state == WindowState::Minimized) states |= Qt::WindowMinimized;
    if (state == WindowState::Maximized) states |= Qt::WindowMaximized;
    widget_->setWindowState(states);
    host_.rethrowPending();
}

WindowState QtWindow::state() const {
    const Qt::WindowStates states = widget_->windowState();
    if (states.testFlag(Qt::WindowMinimized)) return WindowState::Minimized;
    if (states.testFlag(Qt::WindowMaximized)) return WindowState::Maximized;
    return WindowState::Normal;
}

Surface& QtWindow::surface() { return *surface_; }

const QImage& QtWindow::backing() const { return surface_->backing(); }

QRegion QtWindow::wholeClient() const {
    const Size size = clientSize();
    return QRegion(QRect(0, 0, size.width, size.height));
}

void QtWindow::invalidate(const Rect& area) {
    const QRect rect = QRect(area.left, area.top, area.width(), area.height()).intersected(wholeClient().boundingRect());
    if (rect.isEmpty()) return;
    needsPaint_ += rect;
    widget_->update(rect.translated(0, clientTop()));
}

void QtWindow::invalidateAll() {
    needsPaint_ = wholeClient();
    widget_->update();
}

void QtWindow::paintRegion(const QRegion& widgetRegion) {
    const int top = clientTop();
    const QRegion todo = widgetRegion.translated(0, -top) & needsPaint_;
    if (todo.isEmpty()) return;
    if (surface_->flushing()) {
        // Qt repaints every waiting area together with the one drawn at once; the waiting ones are
        // shown as they are now and handed back to the event loop, so that the program paints them
        // from there and not from inside the drawing call.
        QPointer<QtWindowWidget> widget(widget_.get());
        QMetaObject::invokeMethod(
            widget_.get(), [widget, todo, top] { if (widget) widget->update(todo.translated(0, top)); },
            Qt::QueuedConnection);
        return;
    }
    const QRect rect = todo.boundingRect();
    needsPaint_ -= rect;
    surface_->setPainting(true);
    host_.guard([&] {
        client_.paint(*surface_, Rect{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()});
    });
    surface_->setPainting(false);
}

void QtWindow::closeRequested() {
    // A window that takes no input cannot be asked to close, as with the close box of a window
    // disabled behind a modal box.
    if (!widget_->isVisible() || !enabled_) return;
    host_.announce(HostListener::InputKind::FrameMouse);
    host_.guard([&] { client_.closeRequest(); });
}

void QtWindow::resized(QSize size) {
    if (menuBar_) menuBar_->place(size.width());
    const QSize client(size.width(), std::max(0, size.height() - clientTop()));
    if (client == surface_->size()) return;
    surface_->resize(client);
    needsPaint_ = wholeClient();
}

bool QtWindow::awaitingFrame() const {
    const QWindow* handle = widget_->windowHandle();
    const bool framed = handle != nullptr && !handle->frameMargins().isNull();
    return !framed && host_.frameEstimate(frame_) != Rect{};
}

void QtWindow::geometryChanged() {
    if (!widget_->isVisible() || state() != WindowState::Normal) return;
    // A window placed by its frame's corner is, to Qt, at that corner until the window manager has
    // framed it; taken for the client area's place, the corner would move the window by its frame.
    if (awaitingFrame()) return;
    const Rect insets = frameInsets();
    if (insets != appliedInsets_) {
        // The window manager has framed the window: size the client area for the real frame. The
        // client hears of the new client size once the window has it.
        host_.learnFrame(frame_, insets);
        const QSize before = widget_->size();
        applyBounds();
        if (pendingSize_)
            reportWhenSettled_ = true;
        else if (widget_->size() != before)
            host_.guard([&] { client_.boundsChanged(bounds_); });
        return;
    }
    if (pendingSize_) {
        if (widget_->size() != *pendingSize_ && ++pendingReports_ <= kSettlingReports) return;
        pendingSize_.reset();
        if (reportWhenSettled_) {
            reportWhenSettled_ = false;
            bounds_ = currentOuter();
            host_.guard([&] { client_.boundsChanged(bounds_); });
            return;
        }
    }
    const Rect now = currentOuter();
    if (now == bounds_) return;
    // Only a new size replaces a client size asked for: the window manager may move a window
    // before it has told its frame.
    const bool moved = now.width() == bounds_.width() && now.height() == bounds_.height();
    bounds_ = now;
    if (!moved) clientRequest_.reset();
    host_.guard([&] { client_.boundsChanged(now); });
}

void QtWindow::windowStateChanged() {
    const WindowState now = state();
    if (now == reportedState_) return;
    reportedState_ = now;
    host_.guard([&] { client_.stateChanged(now); });
}

void QtWindow::accessibleChanged(AccessibleEvent event, std::uint32_t id) { accessibleNodes_->changed(event, id); }

void QtWindow::activationChanged(bool active) {
    if (active == active_) return;
    active_ = active;
    host_.announce(HostListener::InputKind::Activation);
    host_.guard([&] { client_.activated(active); });
}

bool QtWindow::offerToMenuBar(const KeyEvent& key) {
    // Alt with a character that the program's key preview let pass goes to the menu bar, as the
    // desktop's menus take it, whichever control of the window has the focus; the program resolves
    // it there.
    if (!menuBar_ || key.kind != KeyEvent::Kind::Down || !key.alt || key.ctrl || key.text.empty()) return false;
    menuBar_->altCharacter(key.text);
    return true;
}

void QtWindow::keyArrived(const QKeyEvent& event) {
    const KeyEvent key = host_.keyOf(event);
    if (offerToMenuBar(key)) return;
    host_.guard([&] { client_.keyPress(key); });
}

void QtWindow::mouseArrived(const MouseEvent& mouse) {
    MouseEvent inClient = mouse;
    inClient.position.y -= clientTop();
    host_.guard([&] { client_.mouse(inClient); });
}

}  // namespace zozuz
