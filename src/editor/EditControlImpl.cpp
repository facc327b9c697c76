#include "editor/EditControlImpl.h"

#include <cstring>
#include <new>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zozuz {

namespace {

using Pos = EditControl::Pos;

// Calls `found(start)` with the start of every line that follows a CR LF pair in `bytes`, counting
// positions from `offset`. The system's search finds the next CR fastest where lines are long; where
// one CR follows another closely, the sixteen bytes from there on are looked at in one step, so that
// a text of short lines does not cost a search per line.
template <typename Found>
void forEachBreakWithin(std::string_view bytes, Pos offset, Found&& found) {
    if (bytes.size() < 2) return;
    const char* const begin = bytes.data();
    const char* const last = begin + bytes.size() - 1;  // a CR here has no LF after it inside
    const char* p = begin;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const char* previous = nullptr;  // the last CR looked at
#endif
    while (p < last) {
        p = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(last - p)));
        if (p == nullptr) break;
#if defined(__SSE2__)
        if (previous != nullptr && p - previous < 16 && last - p >= 16) {
            // Sixteen CRs from p on and the bytes after each of them, which end at p + 16 <= last.
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
            auto pairs = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(here, cr), _mm_cmpeq_epi8(next, lf))));
            while (pairs != 0) {
                found(offset + (p - begin) + __builtin_ctz(pairs) + 2);
                pairs &= pairs - 1;
            }
            previous = p + 15;
            p += 16;
            continue;
        }
        previous = p;
#endif
        if (p[1] == '\n') found(offset + (p - begin) + 2);
        ++p;
    }
}

// Lets go of a vector kept for the next edits when a large one has left it holding much room: a
// paste of a million lines would otherwise keep four megabytes of it for good.
void trimScratch(std::vector<std::int32_t>& starts) {
    if (starts.capacity() > (std::size_t{1} << 16)) std::vector<std::int32_t>().swap(starts);
}

// Appends to `out` the start of every line that follows a CR LF pair in `bytes`, counting positions
// from `offset`.
void appendBreaksWithin(std::string_view bytes, Pos offset, std::vector<std::int32_t>& out) {
    forEachBreakWithin(bytes, offset, [&out](Pos start) { out.push_back(static_cast<std::int32_t>(start)); });
}

}  // namespace

// The plan of one replacement, made before anything changes: `removed` bytes at `position` become
// `bytes`; the editor lines after `line0` lose `removedLines` starts and gain newLineStarts, and
// under word wrap the display lines after `display0` lose `removedDisplayLines` starts and gain
// newDisplayStarts.
struct EditControl::Impl::Splice {
    Splice(const GapBuffer<char>& oldText, Pos at, Pos removedBytes, std::string_view newBytes)
        : text(oldText), position(at), removed(removedBytes), bytes(newBytes),
          inserted(static_cast<Pos>(newBytes.size())), delta(inserted - removed), newLength(oldText.size() + delta) {}

    // A byte of the text as it will be after the replacement.
    char newByte(Pos p) const {
        if (p < position) return text.at(p);
        if (p < position + inserted) return bytes[static_cast<std::size_t>(p - position)];
        return text.at(p - delta);
    }

    const GapBuffer<char>& text;
    Pos position;
    Pos removed;
    std::string_view bytes;
    Pos inserted;
    Pos delta;
    Pos newLength;

    Pos line0 = 0;
    Pos removedLines = 0;
    Pos addedLines = 0;
    Pos lastOldLine = 0;
    Pos oldNextStart = -1;  // the old start of the first editor line after the edit's, or -1

    bool dividedEdit = false;  // word wrap had divided the edit's first editor line
    Pos display0 = 0;
    Pos removedDisplayLines = 0;

    // The changes of the two indexes, prepared in full before the text changes.
    LineStarts::Edit linesEdit;
    LineStarts::Edit displayEdit;
};

// --- Word wrap ---

void EditControl::Impl::wrapLines(Pos last, Pos displayLine) {
    ZOZUZ_ASSERT(wrapping() && wrappedLines <= last && last < lines.count());
    const Pos first = wrappedLines;
    last = std::min(last, first + kWrapBatch - 1);
    const Pos display0 = undividedDisplayLine(first);
    const auto byteAt = [this](Pos p) { return text.at(p); };
    // The display lines of editor lines [first, line], one each so far, become the starts of those
    // lines after the first and every division of them.
    wrapScratch.clear();
    Pos line = first;
    for (;; ++line) {
        if (line > first) wrapScratch.push_back(static_cast<std::int32_t>(lines.start(line)));
        wrapper->wrap(byteAt, lines.start(line), editorLineEnd(line), wrapScratch);
        // The next editor line would be display line display0 + wrapScratch.size() + 1.
        if (line == last || display0 + static_cast<Pos>(wrapScratch.size()) + 1 > displayLine) break;
    }
    const Pos undivided = line - first;
    const auto divided = static_cast<Pos>(wrapScratch.size());
    if (divided != undivided) {
        displayLines.apply(displayLines.prepare(display0, undivided, wrapScratch.data(), divided, 0));
    }
    trimScratch(wrapScratch);
    wrappedLines = line + 1;
}

bool EditControl::Impl::wrapSome(Pos bytes) {
    if (!wrapping()) return false;
    if (wrappedLines < lines.count()) {
        // Whole lines, from the first not divided yet through the one that holds the last byte.
        const Pos until = lines.start(wrappedLines) + std::max<Pos>(bytes, 1);
        wrapThroughEditorLine(lines.lineFromPosition(until - 1));
    }
    return !wrapComplete();
}

void EditControl::Impl::restartWrapping() {
    displayLines = lines.copy();
    wrappedLines = 0;
    ++layoutVersion;
}

Pos EditControl::Impl::displayLineEnd(Pos line) const {
    if (!wrapping()) return editorLineEnd(line);
    if (line + 1 >= displayLines.count()) return length();
    // A display line either ends where the next begins, inside the same editor line, or
    // before the break that ends its editor line; a break is CR LF right before the next start.
    const Pos next = displayLines.start(line + 1);
    return isBreakBefore(next) ? next - 2 : next;
}

// --- Changing the text ---

bool EditControl::Impl::setText(std::string_view bytes) {
    if (!fits(length(), bytes.size())) return false;
    const Pos oldLength = length();
    try {
        setTextOrThrow(bytes);
    } catch (const std::bad_alloc&) {
        return false;
    }
    notify(0, oldLength, length());
    return true;
}

bool EditControl::Impl::replaceRange(Pos position, Pos removed, std::string_view bytes) {
    if (!fits(removed, bytes.size())) return false;
    try {
        replaceRangeOrThrow(position, removed, bytes);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void EditControl::Impl::setTextOrThrow(std::string_view bytes, std::unique_ptr<char[]> block, Pos allocated) {
    const Pos newLength = static_cast<Pos>(bytes.size());
    // Everything new is built before the old text is let go, so a failure changes nothing. The
    // index is built straight from the text, with no array of every start on the way.
    LineStarts::Builder builder(chunkLines);
    forEachBreakWithin(bytes, 0, [&builder](Pos start) { builder.append(start); });
    LineStarts newLines = builder.finish();
    GapBuffer<char> newText;
    if (block) {
        newText.adopt(std::move(block), newLength, allocated);
    } else {
        newText.assign(bytes.data(), newLength, std::max<Pos>(4096, newLength / 64));
    }
    // Under word wrap the new text is divided lazily, like a text whose wrapping was switched on.
    LineStarts newDisplay(chunkLines);
    if (wrapping()) newDisplay = newLines.copy();

    text = std::move(newText);
    lines = std::move(newLines);
    displayLines = std::move(newDisplay);
    wrappedLines = 0;
    anchor = caret = 0;
    history.clear();
    ++layoutVersion;
}

void EditControl::Impl::replaceRangeOrThrow(Pos position, Pos removed, std::string_view bytes) {
    Splice s(text, position, removed, bytes);
    planEditorLines(s);
    planDisplayLines(s);
    prepare(s);
    applySplice(s);
}

// The editor lines that start inside the edit, or right after a CR LF pair that the edit touches,
// are taken out; those that start after a pair the new text forms are put in. A pair formed or
// broken across a border of the edit is found the same way.
void EditControl::Impl::planEditorLines(Splice& s) {
    const std::string_view bytes = s.bytes;
    s.line0 = lines.lineFromPosition(s.position);
    // Most edits lie within one line: the start of the next one tells at once.
    const Pos touched = s.position + s.removed + 1;
    const bool oneLine = s.line0 + 1 == lines.count() || lines.start(s.line0 + 1) > touched;
    s.removedLines = oneLine ? 0 : lines.lineFromPosition(touched) - s.line0;
    std::vector<std::int32_t>& starts = newLineStarts;
    starts.clear();
    if (s.position >= 1 && s.position < s.newLength && text.at(s.position - 1) == '\r' && s.newByte(s.position) == '\n') {
        starts.push_back(static_cast<std::int32_t>(s.position + 1));
    }
    appendBreaksWithin(bytes, s.position, starts);
    const Pos afterInserted = s.position + s.inserted;
    if (s.inserted >= 1 && bytes.back() == '\r' && afterInserted < s.newLength && s.newByte(afterInserted) == '\n') {
        starts.push_back(static_cast<std::int32_t>(afterInserted + 1));
    }
    s.addedLines = static_cast<Pos>(starts.size());
    s.lastOldLine = s.line0 + s.removedLines;
    s.oldNextStart = s.lastOldLine + 1 < lines.count() ? lines.start(s.lastOldLine + 1) : -1;
}

// Under word wrap, the display lines around the edit are divided anew, from the first whose division
// could depend on the edited bytes to the first one after the edit that starts where an old one
// started: from there on the bytes, and so the division, are the old ones. Editor lines not divided
// yet stay single display lines.
void EditControl::Impl::planDisplayLines(Splice& s) {
    if (!wrapping()) return;
    s.dividedEdit = s.line0 < wrappedLines;
    if (!s.dividedEdit) {
        s.display0 = undividedDisplayLine(s.line0);
        s.removedDisplayLines = s.removedLines;
        newDisplayStarts.assign(newLineStarts.begin(), newLineStarts.end());
        return;
    }
    // The edit's lines are divided before they are divided anew, so that every old display line
    // the search in divideEditAnew meets is final.
    wrapThroughEditorLine(s.lastOldLine);
    s.display0 = firstDisplayLineToRewrap(s);
    const Pos keptFrom = divideEditAnew(s);
    s.removedDisplayLines = keptFrom - s.display0 - 1;
}

// A display line whose measuring stopped two bytes before the edit ends where it ended; measuring
// stops later on every following line, so the search back ends there.
Pos EditControl::Impl::firstDisplayLineToRewrap(const Splice& s) const {
    const Pos start0 = lines.start(s.line0);
    const Pos oldEnd0 = editorLineEnd(s.line0);
    const auto oldByte = [this](Pos p) { return text.at(p); };
    Pos display0 = displayLines.lineFromPosition(s.position);
    while (displayLines.start(display0) > start0) {
        const Pos previousStart = displayLines.start(display0 - 1);
        if (wrapper->breakAfter(oldByte, previousStart, oldEnd0).overflow + 2 < s.position) break;
        --display0;
    }
    return display0;
}

// Divides the new bytes from display line `display0` on into newDisplayStarts, and returns the first
// old display line that stays as it was.
Pos EditControl::Impl::divideEditAnew(const Splice& s) {
    const auto newByte = [&s](Pos p) { return s.newByte(p); };
    newDisplayStarts.clear();
    Pos oldLine = s.display0 + 1;
    const Pos oldLines = displayLines.count();
    Pos lineStart = displayLines.start(s.display0);
    const Pos lastEnd = s.oldNextStart >= 0 ? s.oldNextStart + s.delta - 2 : s.newLength;
    for (std::size_t i = 0; i <= newLineStarts.size(); ++i) {
        const bool lastLine = i == newLineStarts.size();
        const Pos end = lastLine ? lastEnd : newLineStarts[i] - 2;
        for (Pos next = wrapper->breakAfter(newByte, lineStart, end).next; next < end;
             next = wrapper->breakAfter(newByte, next, end).next) {
            if (lastLine && next >= s.position + s.inserted) {
                while (oldLine < oldLines && displayLines.start(oldLine) < next - s.delta) ++oldLine;
                if (oldLine < oldLines && displayLines.start(oldLine) == next - s.delta) return oldLine;
            }
            newDisplayStarts.push_back(static_cast<std::int32_t>(next));
        }
        if (!lastLine) {
            newDisplayStarts.push_back(newLineStarts[i]);
            lineStart = newLineStarts[i];
        }
    }
    return s.oldNextStart >= 0 ? displayLines.lineFromPosition(s.oldNextStart) : oldLines;
}

void EditControl::Impl::prepare(Splice& s) {
    if (s.delta > 0) text.reserveExtra(s.delta);
    // A rewrite of bytes by as many others that forms no line break and breaks none changes no
    // line start.
    if (s.removedLines != 0 || s.addedLines != 0 || s.delta != 0) {
        s.linesEdit = lines.prepare(s.line0, s.removedLines, newLineStarts.data(), s.addedLines, s.delta);
    }
    if (wrapping()) {
        s.displayEdit = displayLines.prepare(s.display0, s.removedDisplayLines, newDisplayStarts.data(),
                                             static_cast<Pos>(newDisplayStarts.size()), s.delta);
    }
}

// Nothing allocates here.
void EditControl::Impl::applySplice(Splice& s) {
    text.replace(s.position, s.removed, s.bytes.data(), s.inserted);
    lines.apply(std::move(s.linesEdit));
    if (wrapping()) {
        displayLines.apply(std::move(s.displayEdit));
        if (s.dividedEdit) wrappedLines += s.addedLines - s.removedLines;
    }
    trimScratch(newLineStarts);
    trimScratch(newDisplayStarts);
    ++layoutVersion;
}

bool EditControl::Impl::replaceRecorded(Pos position, Pos removed, std::string_view bytes, UndoHistory::Kind kind) {
    if (!fits(removed, bytes.size())) return false;
    // Nothing replaced by nothing changes nothing, and a step that undoes nothing would only
    // make the user's next undo seem to fail.
    if (removed == 0 && bytes.empty()) return true;
    UndoHistory::Step step;
    step.kind = kind;
    step.position = position;
    step.anchorBefore = anchor;
    step.caretBefore = caret;
    try {
        step.removed.resize(static_cast<std::size_t>(removed));
        text.copyOut(position, position + removed, step.removed.data());
        step.inserted.assign(bytes);
        history.reserveOne();
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!replaceRange(position, removed, bytes)) return false;
    try {
        history.record(std::move(step));
    } catch (const std::bad_alloc&) {
        // A history that lacks this step no longer fits the text.
        history.clear();
    }
    anchor = caret = position + static_cast<Pos>(bytes.size());
    notify(position, removed, static_cast<Pos>(bytes.size()));
    return true;
}

void EditControl::Impl::notify(Pos position, Pos removed, Pos inserted) {
    assertCheapInvariants();
    if (listeners.empty()) return;
    // Those added during the telling hear only later changes; those removed are erased once no
    // telling is under way, so that none is destroyed while it runs.
    struct Telling {
        Impl& d;
        explicit Telling(Impl& impl) : d(impl) { ++d.telling; }
        ~Telling() {
            if (--d.telling == 0) d.listeners.remove_if([](const Listener& l) { return l.removed; });
        }
    } telling(*this);
    auto next = listeners.begin();
    for (std::size_t n = listeners.size(); n > 0; --n, ++next) {
        if (!next->removed) next->call(position, removed, inserted);
    }
}

// --- Characters ---

Pos EditControl::Impl::characterBefore(Pos position) const {
    if (isBreakBefore(position)) return 2;
    // Between the CR and LF of a break, the CR stands alone.
    if (text.at(position - 1) == '\r' && position < length() && text.at(position) == '\n') return 1;
    // Any byte that is not a lead byte ends a character, so the lead bytes that follow it pair
    // up from there. An odd run of lead bytes before the last byte means it is a trail byte.
    const Pos lineStart = lines.start(lines.lineFromPosition(position - 1));
    Pos run = 0;
    for (Pos i = position - 2; i >= lineStart && lead.contains(text.at(i)); --i) ++run;
    return run % 2 == 1 ? 2 : 1;
}

Pos EditControl::Impl::characterAfter(Pos position) const {
    const auto isBreakAt = [this](Pos p) { return p + 1 < length() && text.at(p) == '\r' && text.at(p + 1) == '\n'; };
    if (isBreakAt(position)) return 2;
    // A lead byte takes the next byte along unless that byte begins the line's break.
    if (lead.contains(text.at(position)) && position + 1 < length() && !isBreakAt(position + 1)) return 2;
    return 1;
}

void EditControl::Impl::checkCheapInvariants() const {
    ZOZUZ_CHECK(length() <= capacity);
    ZOZUZ_CHECK(0 <= anchor && anchor <= length() && 0 <= caret && caret <= length());
    const Pos lastStart = lines.start(lines.count() - 1);
    ZOZUZ_CHECK(lastStart <= length() && (lines.count() == 1 || isBreakBefore(lastStart)));
    if (wrapping()) {
        ZOZUZ_CHECK(wrapper->width() == wrapWidth);
        ZOZUZ_CHECK(0 <= wrappedLines && wrappedLines <= lines.count());
        ZOZUZ_CHECK(displayLines.count() >= lines.count());
        ZOZUZ_CHECK(displayLines.start(displayLines.count() - 1) <= length());
    }
}

}  // namespace zozuz
