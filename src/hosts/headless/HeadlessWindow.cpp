#include "hosts/headless/HeadlessWindow.h"

#include <algorithm>

#include "hosts/headless/HeadlessHost.h"

namespace zozuz {

namespace {

Rect unite(const Rect& a, const Rect& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

}  // namespace

Rect HeadlessWindow::frameInsets(WindowFrame frame) {
    // Fixed metrics, so that tests can compute client sizes: a sizeable frame has a thicker border.
    if (frame == WindowFrame::Dialog) return Rect{3, 22, 3, 3};
    return Rect{4, 23, 4, 4};
}

HeadlessWindow::HeadlessWindow(HeadlessHost& host, WindowClient& client, const WindowOptions& options)
    : host_(host), client_(client), owner_(options.owner), caption_(options.caption), frame_(options.frame),
      bounds_(options.bounds) {
    resizeSurface();
}

HeadlessWindow::~HeadlessWindow() { host_.windowDestroyed(this); }

void HeadlessWindow::setFrame(WindowFrame frame) {
    if (frame == frame_) return;
    frame_ = frame;
    resizeSurface();
}

void HeadlessWindow::setBounds(const Rect& outer) {
    if (outer == bounds_) return;
    bounds_ = outer;
    resizeSurface();
}

void HeadlessWindow::userSetBounds(const Rect& outer) {
    setBounds(outer);
    client_.boundsChanged(outer);
}

Size HeadlessWindow::clientSize() const {
    const Rect f = frameInsets(frame_);
    return Size{std::max(0, bounds_.width() - f.left - f.right), std::max(0, bounds_.height() - f.top - f.bottom)};
}

void HeadlessWindow::setClientSize(Size size) {
    const Rect f = frameInsets(frame_);
    setBounds(Rect{bounds_.left, bounds_.top, bounds_.left + size.width + f.left + f.right,
                   bounds_.top + size.height + f.top + f.bottom});
}

Point HeadlessWindow::screenToClient(Point screen) const {
    const Rect f = frameInsets(frame_);
    return Point{screen.x - bounds_.left - f.left, screen.y - bounds_.top - f.top};
}

Point HeadlessWindow::clientToScreen(Point client) const {
    const Rect f = frameInsets(frame_);
    return Point{client.x + bounds_.left + f.left, client.y + bounds_.top + f.top};
}

void HeadlessWindow::show() {
    if (visible_) return;
    visible_ = true;
    host_.windowShown(this);
    invalidateAll();
}

void HeadlessWindow::hide() {
    if (!visible_) return;
    visible_ = false;
    host_.windowHidden(this);
}

void HeadlessWindow::activate() {
    // A desktop does not activate a window nobody can see.
    if (visible_) host_.activate(this);
}

void HeadlessWindow::invalidate(const Rect& area) {
    const Size size = clientSize();
    const Rect clipped = area.intersected(Rect{0, 0, size.width, size.height});
    if (!clipped.empty()) dirty_ = unite(dirty_, clipped);
}

void HeadlessWindow::invalidateAll() {
    const Size size = clientSize();
    invalidate(Rect{0, 0, size.width, size.height});
}

bool HeadlessWindow::deliverPaint() {
    if (dirty_.empty() || !visible_) return false;
    const Rect area = dirty_;
    dirty_ = Rect{};
    ++paintCount_;
    client_.paint(surface_, area);
    return true;
}

void HeadlessWindow::resizeSurface() {
    const Size size = clientSize();
    if (size == surface_.size()) return;
    surface_.resize(size);
    dirty_ = Rect{};
    invalidateAll();
}

}  // namespace zozuz
