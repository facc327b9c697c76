#include "hosts/headless/HeadlessEditorWindow.h"

#include <algorithm>

#include "hosts/headless/HeadlessHost.h"

namespace zozuz {

HeadlessEditorWindow::HeadlessEditorWindow(HeadlessHost& host, HeadlessWindow& parent, EditorWindowClient& client)
    : host_(host), parent_(parent), client_(client) {
    host_.editorCreated(this);
}

HeadlessEditorWindow::~HeadlessEditorWindow() { host_.editorDestroyed(this); }

EditorColours HeadlessEditorWindow::colours() const { return host_.desktopColours(); }

Size HeadlessEditorWindow::textAreaSize() const {
    const int width = bounds_.width() - (vertical_.shown ? kScrollBarWidth : 0);
    const int height = bounds_.height() - (horizontal_.shown ? kScrollBarWidth : 0);
    return {std::max(0, width), std::max(0, height)};
}

void HeadlessEditorWindow::setBounds(const Rect& bounds) {
    if (bounds == bounds_) return;
    bounds_ = bounds;
    needsPaint_ = true;
    client_.resized(textAreaSize());
}

void HeadlessEditorWindow::setFocus() {
    if (hasFocus()) return;
    host_.focusEditor(this);
}

bool HeadlessEditorWindow::hasFocus() const { return host_.focusedEditor() == this; }

void HeadlessEditorWindow::loseFocus() {
    if (hasFocus()) host_.focusEditor(nullptr);
}

void HeadlessEditorWindow::setScrollBars(const ScrollBarState& vertical, const ScrollBarState& horizontal) {
    const Size before = textAreaSize();
    vertical_ = vertical;
    horizontal_ = horizontal;
    // Showing or hiding a bar changes the text area, as the system's scroll bars do.
    if (textAreaSize() != before) client_.resized(textAreaSize());
}

void HeadlessEditorWindow::invalidate(const Rect& area) {
    if (!area.empty()) needsPaint_ = true;
}

void HeadlessEditorWindow::paintArea(const Rect& area) {
    const Size size = textAreaSize();
    if (pixels_.width() != size.width || pixels_.height() != size.height) pixels_ = Image(size.width, size.height);
    ImageCodePageCanvas canvas(pixels_, area, host_.bitmapCodePageText());
    ++paintCount_;
    client_.paint(canvas, area.intersected(pixels_.bounds()));
}

void HeadlessEditorWindow::paintPending() {
    if (!needsPaint_) return;
    needsPaint_ = false;
    const Size size = textAreaSize();
    paintArea({0, 0, size.width, size.height});
}

void HeadlessEditorWindow::repaintNow() {
    needsPaint_ = false;
    const Size size = textAreaSize();
    paintArea({0, 0, size.width, size.height});
}

}  // namespace zozuz
