#include "editor/EditorPane.h"

#include "base/Utf8Append.h"
#include "editor/ClipboardText.h"

namespace zozuz {

EditorPane::EditorPane(Host& host, NativeWindow& parent, EditControl& edit)
    : host_(host), view_(edit, host.codePageCodec(), host.codePageTextMeasure(), host.clipboard()) {
    window_ = host.createEditorWindow(parent, *this);
    const EditorColours colours = window_->colours();
    EditPalette palette;
    palette.window = colours.window;
    palette.text = colours.text;
    palette.highlight = colours.highlight;
    palette.highlightedText = colours.highlightedText;
    view_.setPalette(palette);
    view_.setListener(this);
    view_.setViewSize(window_->textAreaSize());
    scrollBarsChanged();
}

EditorPane::~EditorPane() {
    if (blinkTimer_ != 0) host_.stopTimer(blinkTimer_);
    if (dragTimer_ != 0) host_.stopTimer(dragTimer_);
    if (wrapTimer_ != 0) host_.stopTimer(wrapTimer_);
    if (accessibleTimer_ != 0) host_.stopTimer(accessibleTimer_);
    view_.setListener(nullptr);
    accessible_.reset();
    window_.reset();
}

void EditorPane::setRedraw(bool on) {
    if (on == view_.redraw()) return;
    view_.setRedraw(on);
    if (on && window_) window_->repaintNow();
}

void EditorPane::guarded(const std::function<void()>& handler) {
    if (guard_)
        guard_(handler);
    else
        handler();
}

void EditorPane::key(const KeyEvent& key) {
    guarded([&] { view_.key(key); });
}

void EditorPane::paint(CodePageCanvas& canvas, const Rect& area) {
    guarded([&] { view_.paint(canvas, area); });
}

void EditorPane::resized(Size textArea) {
    guarded([&] { view_.setViewSize(textArea); });
}

void EditorPane::preeditChanged(const std::string& utf8) {
    guarded([&] { view_.setPreedit(utf8); });
}

void EditorPane::textCommitted(const std::string& utf8) {
    guarded([&] { view_.commitText(utf8); });
}

Rect EditorPane::caretRect() {
    Rect caret;
    guarded([&] { caret = view_.caretRect(); });
    return caret;
}

void EditorPane::mouse(const MouseEvent& event) {
    guarded([&] { mouseUnguarded(event); });
}

void EditorPane::mouseUnguarded(const MouseEvent& event) {
    view_.mouse(event);
    if (event.button == MouseEvent::Button::Left && event.kind == MouseEvent::Kind::Down) dragging_ = true;
    if (event.button == MouseEvent::Button::Left && event.kind == MouseEvent::Kind::Up) dragging_ = false;
    if (event.kind == MouseEvent::Kind::Move) lastMove_ = event;
    const Size area = view_.viewSize();
    const bool outside = lastMove_.position.x < 0 || lastMove_.position.y < 0 || lastMove_.position.x >= area.width ||
                         lastMove_.position.y >= area.height;
    if (dragging_ && outside && event.kind == MouseEvent::Kind::Move && dragTimer_ == 0) scheduleDragScroll();
}

void EditorPane::cancelMode() {
    dragging_ = false;
    view_.cancelDrag();
    if (dragTimer_ != 0) host_.stopTimer(dragTimer_);
    dragTimer_ = 0;
    if (window_) window_->releaseMouse();
}

void EditorPane::scheduleDragScroll() {
    dragTimer_ = host_.startTimer(kDragScrollMilliseconds, [this] {
        dragTimer_ = 0;
        if (!dragging_ || !view_.focused()) return;
        guarded([&] {
            // The pointer held still outside the text: the selection goes on growing as it would
            // with every move.
            mouseUnguarded(lastMove_);
            if (dragTimer_ == 0 && dragging_) scheduleDragScroll();
        });
    });
}

void EditorPane::scrolled(bool vertical, std::int64_t position) {
    guarded([&] {
        if (vertical) {
            view_.scrollToLine(position);
        } else {
            view_.scrollHorizontally(position * view_.horizontalScrollUnit());
        }
    });
}

EditorWindowClient::SurroundingText EditorPane::surroundingText() {
    SurroundingText result;
    guarded([&] {
        const EditView::Surrounding around = view_.surroundingText();
        SurroundingText answer;
        answer.caret = around.caret;
        answer.anchor = around.anchor;
        for (const char32_t c : around.text) appendUtf8(answer.utf8, c);
        result = std::move(answer);
    });
    return result;
}

void EditorPane::invalidate(const Rect& area) {
    if (window_) window_->invalidate(area);
}

void EditorPane::scrollBarsChanged() {
    if (window_) window_->setScrollBars(view_.verticalScrollBar(), view_.horizontalScrollBar());
    // Every change that leaves lines undivided (word wrap switched on, a new width, a new text)
    // reports the scroll bars, so the steps start here; each step's report schedules the next.
    if (view_.wrapPending() && wrapTimer_ == 0) scheduleWrapStep();
}

void EditorPane::scheduleWrapStep() {
    wrapTimer_ = host_.startTimer(0, [this] {
        wrapTimer_ = 0;
        guarded([&] { view_.continueWrapping(); });
    });
}

void EditorPane::caretMoved() {
    if (window_) window_->caretMoved();
    if (accessible_) accessible_->caretMoved();
    restartBlink();
}

AccessibleText* EditorPane::accessibleText() {
    if (!accessible_)
        accessible_ = std::make_unique<EditorAccessibleText>(
            view_, host_.codePageCodec(),
            [this](const AccessibleTextChange& change) {
                if (window_) window_->accessibleTextChanged(change);
            },
            [this] {
                if (accessibleTimer_ != 0) return;
                accessibleTimer_ = host_.startTimer(0, [this] {
                    accessibleTimer_ = 0;
                    guarded([this] { accessible_->flush(); });
                });
            });
    return accessible_.get();
}

void EditorPane::focusChanged(bool focused) {
    guarded([&] {
        view_.setFocused(focused);
        restartBlink();
        if (onFocusChanged) onFocusChanged(focused);
    });
}

void EditorPane::restartBlink() {
    if (blinkTimer_ != 0) host_.stopTimer(blinkTimer_);
    blinkTimer_ = 0;
    caretShown_ = true;
    view_.setCaretShown(true);
    if (view_.focused()) scheduleBlink();
}

void EditorPane::scheduleBlink() {
    blinkTimer_ = host_.startTimer(kCaretBlinkMilliseconds, [this] {
        blinkTimer_ = 0;
        caretShown_ = !caretShown_;
        // The blink goes on after a failed step: the next one is scheduled first.
        scheduleBlink();
        guarded([&] { view_.setCaretShown(caretShown_); });
    });
}

void EditorPane::focusWanted() {
    if (window_) window_->setFocus();
}

}  // namespace zozuz
