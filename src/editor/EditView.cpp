#include "editor/EditView.h"

#include <algorithm>

namespace zozuz {

EditView::EditView(EditControl& edit, const CodePageCodec& codec, CodePageTextMeasure& measure, Clipboard& clipboard)
    : edit_(edit), codec_(codec), measure_(measure), clipboard_(clipboard),
      kinds_(LeadByteSet::codePage936(), codec), widths_(kinds_, measure), lines_(edit), index_(edit, widths_) {
    Font font;
    font.pixelHeight = 16;
    setFont(font);
    listenerId_ = edit_.addChangeListener([this](Pos position, Pos removed, Pos inserted) {
        index_.textChanged(position, removed, inserted);
        // An edit lets the caret show at the start of a display line again, as every move but End does.
        caretAtRowEnd_ = false;
        // A whole new text starts at the top, as the system's edit control does.
        if (position == 0 && inserted == edit_.textLength() && removed >= 0 && !edit_.canUndo()) {
            topLine_ = 0;
            xOffset_ = 0;
            widest_ = 0;
        }
        const Pos count = edit_.lineCountSoFar();
        const bool sameLines = count == knownLineCount_ && !wordWrap();
        knownLineCount_ = count;
        // A replacement the program makes itself (a line of the document put back, a new text)
        // leaves the caret just after its bytes, and the view follows the caret there, as the
        // system's edit control does at every replacement, also while its redraw is off. While it is
        // off only the wish is kept: the caret is brought into view once, when redraw comes back,
        // which ends where following it at each replacement would, and spares a long run of
        // replacements the measuring of the caret's line at every one. The view's own edits bring
        // the caret into view themselves once they are done (changed()).
        if (!ownEdit_) caretToShow_ = true;
        if (!redraw_) return;
        const Pos top = topLine_;
        const std::int64_t x = xOffset_;
        if (caretToShow_) {
            ensureCaretVisible();
        } else {
            clampScroll();
        }
        if (top != topLine_ || x != xOffset_) {
            invalidateAll();
        } else {
            // Lines after a change move only when the number of lines changed (or, under word wrap,
            // when the change made its line wrap differently).
            const Pos line = lineOf(position);
            invalidateRows(line, sameLines ? line : topLine_ + visibleRows());
        }
        if (listener_) {
            listener_->scrollBarsChanged();
            if (!ownEdit_) listener_->caretMoved();
        }
    });
}

EditView::~EditView() { edit_.removeChangeListener(listenerId_); }

// --- Appearance ---

void EditView::setFont(const Font& font) {
    font_ = font;
    boxFont_ = font;
    boxFont_.bold = false;
    boxFont_.pixelHeight = std::max(6, font.pixelHeight * 11 / 16);
    lineHeight_ = std::max(1, measure_.lineHeight(font_));
    tabStop_ = std::max(1, 8 * measure_.averageCharWidth(font_));
    int digit = 1;
    for (const char c : std::string_view("0123456789ABCDEF")) digit = std::max(digit, measure_.advance(boxFont_, std::string_view(&c, 1)));
    // Two digits, a pixel of frame and a pixel of space on each side.
    boxWidth_ = 2 * digit + 4;
    widths_.reset(font_, tabStop_, boxWidth_);
    index_.clear();
    caretX_ = {};
    widest_ = 0;
    if (wordWrap()) {
        edit_.setWordWrap(false);
        setWordWrap(true);
    }
    invalidateAll();
}

void EditView::setPalette(const EditPalette& palette) {
    palette_ = palette;
    invalidateAll();
}

void EditView::setViewSize(Size size) {
    if (size == size_) return;
    size_ = size;
    if (wordWrap()) {
        const Pos firstByte = lineStart(topLine_);
        edit_.setWrapWidth(wrapWidth());
        topLine_ = lineOf(firstByte);
    }
    ensureCaretVisible();
    invalidateAll();
}

int EditView::wrapWidth() const { return std::max(1, size_.width - 2 * kMargin); }

// --- Scrolling ---

EditView::Pos EditView::visibleRows() const { return std::max(1, size_.height / lineHeight_); }

EditView::Pos EditView::existingLine(Pos line) const {
    if (line <= 0) return 0;
    // Under word wrap lineIndex divides the lines up to `line` only; a line past the end has had
    // every line divided, and then the count costs nothing.
    return lines_.line(line).start >= 0 ? line : edit_.lineCount() - 1;
}

void EditView::clampScroll() {
    // Under word wrap the lines in view are divided first, so that dividing the rest later, in the
    // idle time, never moves what the view shows; the count so far then covers them.
    topLine_ = std::max<Pos>(0, topLine_);
    edit_.lineIndex(topLine_ + visibleRows());
    const Pos lastTop = std::max<Pos>(0, edit_.lineCountSoFar() - visibleRows());
    topLine_ = std::clamp<Pos>(topLine_, 0, lastTop);
    if (wordWrap()) xOffset_ = 0;
    xOffset_ = std::max<std::int64_t>(0, xOffset_);
}

void EditView::ensureCaretVisible() {
    caretToShow_ = false;
    const Pos line = caretLine();
    const Pos rows = visibleRows();
    if (line < topLine_) topLine_ = line;
    if (line >= topLine_ + rows) topLine_ = line - rows + 1;
    if (!wordWrap()) {
        const std::int64_t x = xOfCaret() + (preeditBytes_.empty() ? 0 : preeditWidth());
        const std::int64_t visible = std::max(1, size_.width - 2 * kMargin);
        widest_ = std::max(widest_, x + 1);
        if (x < xOffset_) xOffset_ = std::max<std::int64_t>(0, x - visible / 3);
        if (x >= xOffset_ + visible) xOffset_ = x - visible * 2 / 3;
    }
    clampScroll();
    if (listener_) listener_->scrollBarsChanged();
}

void EditView::scrollToLine(Pos line) {
    topLine_ = line;
    clampScroll();
    invalidateAll();
    if (listener_) {
        listener_->scrollBarsChanged();
        listener_->caretMoved();
    }
}

void EditView::scrollHorizontally(std::int64_t offset) {
    if (wordWrap()) return;
    xOffset_ = std::max<std::int64_t>(0, offset);
    invalidateAll();
    if (listener_) {
        listener_->scrollBarsChanged();
        listener_->caretMoved();
    }
}

ScrollBarState EditView::verticalScrollBar() const {
    // Under word wrap the range grows as the lines are divided.
    return {true, edit_.lineCountSoFar() - 1, visibleRows(), topLine_};
}

std::int64_t EditView::horizontalScrollUnit() const {
    const std::int64_t visible = std::max(1, size_.width - 2 * kMargin);
    const std::int64_t range = std::max(widest_, xOffset_ + visible);
    std::int64_t unit = 1;
    while (range / unit > kMaxScrollPositions) unit *= 2;
    return unit;
}

ScrollBarState EditView::horizontalScrollBar() const {
    if (wordWrap()) return {};
    const std::int64_t visible = std::max(1, size_.width - 2 * kMargin);
    const std::int64_t unit = horizontalScrollUnit();
    return {true, std::max(widest_, xOffset_ + visible) / unit, std::max<std::int64_t>(1, visible / unit), xOffset_ / unit};
}

// --- Word wrap ---

void EditView::setWordWrap(bool on) {
    if (on == wordWrap()) return;
    const Pos firstByte = lineStart(topLine_);
    if (on) {
        // The wrapper divides lines at the characters the view shows, so that a display line never
        // ends inside one: a lead byte whose next byte forms no character with it is a box of its own.
        edit_.setWordWrap(
            true,
            [this](std::string_view character) {
                const auto first = static_cast<std::uint8_t>(character[0]);
                const int second = character.size() > 1 ? static_cast<std::uint8_t>(character[1]) : -1;
                const CharacterKinds::Character c = kinds_.at(first, second);
                if (c.kind == CharacterKinds::Kind::Tab) return tabStop_;
                if (c.kind == CharacterKinds::Kind::Box) return boxWidth_;
                return widths_.advance(first, c.length == 2 ? second : -1);
            },
            wrapWidth(), [this](std::uint8_t lead, std::uint8_t trail) { return kinds_.at(lead, trail).length == 2; });
    } else {
        edit_.setWordWrap(false);
    }
    xOffset_ = 0;
    topLine_ = lineOf(firstByte);
    ensureCaretVisible();
    invalidateAll();
}

bool EditView::continueWrapping() {
    if (edit_.wrapComplete()) return false;
    const bool more = edit_.wrapSome(kWrapSliceBytes);
    if (redraw_ && listener_) listener_->scrollBarsChanged();
    return more;
}

// --- Painting ---

void EditView::setRedraw(bool on) {
    if (on == redraw_) return;
    redraw_ = on;
    if (on) {
        const bool caretToShow = caretToShow_;
        if (caretToShow) {
            ensureCaretVisible();
        } else {
            clampScroll();
        }
        invalidateAll();
        if (listener_) {
            listener_->scrollBarsChanged();
            if (caretToShow) listener_->caretMoved();
        }
    }
}

void EditView::invalidateAll() {
    if (redraw_ && listener_) listener_->invalidate(Rect{0, 0, size_.width, size_.height});
}

}  // namespace zozuz
