#include "editor/EditorAccessibleText.h"

#include <algorithm>
#include <utility>

namespace zozuz {

namespace {

// A reader's line breaks are "\n"; the document's are CR LF.
std::string withDocumentBreaks(std::string_view utf8) {
    std::string bytes;
    bytes.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
        if (c == '\n') bytes += '\r';
        bytes += c;
    }
    return bytes;
}

}  // namespace

EditorAccessibleText::EditorAccessibleText(EditView& view, const CodePageCodec& codec, Notify notify,
                                           RequestFlush requestFlush)
    : view_(view), codec_(codec), notify_(std::move(notify)), requestFlush_(std::move(requestFlush)), kinds_(LeadByteSet::codePage936(), codec),
      offsets_(view.edit(), kinds_) {
    listener_ = view_.edit().addChangeListener(
        [this](EditControl::Pos position, EditControl::Pos removed, EditControl::Pos inserted) {
            textChanged(position, removed, inserted);
        });
    lastSelection_ = selection();
}

EditorAccessibleText::~EditorAccessibleText() { view_.edit().removeChangeListener(listener_); }

void EditorAccessibleText::textChanged(EditControl::Pos position, EditControl::Pos removed, EditControl::Pos inserted) {
    if (pending_.changes == 0) {
        pending_.countKnown = offsets_.countKnown();
        pending_.countBefore = pending_.countKnown ? offsets_.count() : 0;
        pending_.position = position;
        pending_.removed = removed;
        pending_.inserted = inserted;
    } else {
        pending_.position = std::min(pending_.position, position);
    }
    ++pending_.changes;
    offsets_.changed(position, removed, inserted);
    if (requestFlush_) requestFlush_();
}

void EditorAccessibleText::caretMoved() {
    pending_.caret = true;
    if (requestFlush_) requestFlush_();
}

void EditorAccessibleText::flush() {
    const Pending pending = std::exchange(pending_, Pending{});
    if (!notify_) return;
    if (pending.changes > 0) {
        AccessibleTextChange change;
        change.kind = AccessibleTextChange::Kind::Text;
        change.offset = offsets_.offsetOf(pending.position);
        if (pending.changes > 1) {
            change.removed = change.inserted = -1;
        } else {
            change.inserted = offsets_.offsetOf(pending.position + pending.inserted) - change.offset;
            // What went is known from the counts before and after, or when nothing went.
            if (pending.removed == 0)
                change.removed = 0;
            else if (pending.countKnown && offsets_.countKnown())
                change.removed = pending.countBefore - offsets_.count() + change.inserted;
            else
                change.removed = -1;
        }
        notify_(change);
    }
    if (pending.caret || pending.changes > 0) {
        const Range now = selection();
        if (now != lastSelection_) {
            lastSelection_ = now;
            notify_({AccessibleTextChange::Kind::Selection, now.start, 0, 0});
        }
        notify_({AccessibleTextChange::Kind::Caret, caret(), 0, 0});
    }
}

std::string EditorAccessibleText::text(Offset start, Offset end) {
    const EditControl& edit = view_.edit();
    if (end <= start) return {};
    end = std::min(end, start + kMostCharacters);
    const EditControl::Pos from = offsets_.positionOf(start);
    const EditControl::Pos to = offsets_.positionOf(end);
    std::string utf8;
    // Runs of characters go to the codec whole; breaks and bytes that are no character are written
    // here, so that the text divides exactly as the offsets count.
    std::string run;
    const auto flush = [&] {
        if (run.empty()) return;
        utf8 += codec_.decodeText(run);
        run.clear();
    };
    const std::string bytes = edit.range(from, to);
    EditControl::Pos lineEnd = -1;  // the end of the current line, before its break
    for (std::size_t i = 0; i < bytes.size();) {
        const EditControl::Pos at = from + static_cast<EditControl::Pos>(i);
        if (at > lineEnd) {
            const EditControl::Pos line = edit.editorLineFromPosition(at);
            lineEnd = edit.editorLineStart(line) + edit.editorLineLength(line);
        }
        if (at >= lineEnd) {
            // The break, CR LF, read as one "\n" (a range may start on its LF).
            flush();
            utf8 += '\n';
            i += (bytes[i] == '\r' && i + 1 < bytes.size()) ? 2 : 1;
            lineEnd = -1;
            continue;
        }
        const auto first = static_cast<std::uint8_t>(bytes[i]);
        const int second = at + 1 < lineEnd && i + 1 < bytes.size() ? static_cast<std::uint8_t>(bytes[i + 1]) : -1;
        const CharacterKinds::Character c = kinds_.at(first, second);
        if (c.kind == CharacterKinds::Kind::Box) {
            flush();
            utf8 += "\xEF\xBF\xBD";  // U+FFFD
        } else {
            run.append(bytes, i, static_cast<std::size_t>(c.length));
        }
        i += static_cast<std::size_t>(c.length);
    }
    flush();
    return utf8;
}

AccessibleText::Range EditorAccessibleText::lineAt(Offset offset) {
    const EditControl& edit = view_.edit();
    const EditControl::Pos line = edit.editorLineFromPosition(offsets_.positionOf(offset));
    const EditControl::Pos start = edit.editorLineStart(line);
    const Offset first = offsets_.offsetOf(start);
    return {first, first + offsets_.charactersOfLine(line)};
}

AccessibleText::Range EditorAccessibleText::selection() {
    const EditControl& edit = view_.edit();
    const Offset start = offsets_.offsetOf(edit.selectionStart());
    const Offset end = edit.selectionEnd() == edit.selectionStart() ? start : offsets_.offsetOf(edit.selectionEnd());
    return {start, end};
}

void EditorAccessibleText::setSelection(Offset anchor, Offset caret) {
    view_.select(offsets_.positionOf(anchor), offsets_.positionOf(caret));
}

Rect EditorAccessibleText::characterBounds(Offset offset) {
    EditControl& edit = view_.edit();
    const EditControl::Pos position = offsets_.positionOf(offset);
    const EditControl::Pos row = edit.lineFromPosition(position) - view_.topLine();
    if (row < 0 || row > view_.visibleRows()) return {};
    const std::int64_t left = view_.xOfPosition(position) - view_.horizontalOffset();
    const EditControl::Pos next = view_.nextStop(position);
    const EditControl::Pos nextRow = edit.lineFromPosition(next) - view_.topLine();
    // A break, or the last character of a display line, is as wide as half a line is high.
    const std::int64_t right = next > position && nextRow == row ? view_.xOfPosition(next) - view_.horizontalOffset()
                                                                 : left + view_.lineHeight() / 2;
    const Size size = view_.viewSize();
    if (right <= 0 || left >= size.width) return {};
    const int top = static_cast<int>(row) * view_.lineHeight();
    return {static_cast<int>(left), top, static_cast<int>(right), top + view_.lineHeight()};
}

AccessibleText::Offset EditorAccessibleText::offsetAt(Point point) {
    const Size size = view_.viewSize();
    if (point.x < 0 || point.y < 0 || point.x >= size.width || point.y >= size.height) return -1;
    return offsets_.offsetOf(view_.positionAt(point));
}

bool EditorAccessibleText::replace(Offset start, Offset end, std::string_view utf8) {
    if (readOnly()) return false;
    if (end < start) std::swap(start, end);
    view_.select(offsets_.positionOf(start), offsets_.positionOf(end));
    const std::string text = withDocumentBreaks(utf8);
    if (text.empty() && !view_.edit().hasSelection()) return true;
    return view_.typeText(text);
}

}  // namespace zozuz
