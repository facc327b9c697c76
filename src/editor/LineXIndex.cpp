#include "editor/LineXIndex.h"

#include <algorithm>
#include <limits>

#include "base/Assert.h"

namespace zozuz {

namespace {

// The bytes walked in one step.
constexpr LineXIndex::Pos kPieceBytes = LineXIndex::Pos{1} << 16;
constexpr std::int64_t kNoLimit = std::numeric_limits<std::int64_t>::max();

}  // namespace

LineXIndex::LineXIndex(const EditControl& edit, CharacterWidths& widths)
    : edit_(edit), widths_(widths), version_(edit.layoutVersion()), lineCount_(edit.lineCountSoFar()) {}

void LineXIndex::setSpacing(Pos bytes) {
    spacing_ = std::max<Pos>(1, bytes);
    clear();
}

void LineXIndex::clear() { entries_.clear(); }

void LineXIndex::sync() {
    const std::uint64_t version = edit_.layoutVersion();
    if (version == version_) return;
    version_ = version;
    lineCount_ = edit_.lineCountSoFar();
    entries_.clear();
}

void LineXIndex::textChanged(Pos position, Pos removed, Pos inserted) {
    const std::uint64_t version = edit_.layoutVersion();
    const Pos count = edit_.lineCountSoFar();
    // Only this one change lies between the entries and the text; under word wrap an edit may divide
    // the lines around it anew, and display lines are short there anyway.
    const bool followed = version == version_ + 1 && !edit_.wordWrap();
    const Pos addedLines = count - lineCount_;
    version_ = version;
    lineCount_ = count;
    if (!followed) {
        entries_.clear();
        return;
    }
    const Pos delta = inserted - removed;
    for (auto it = entries_.begin(); it != entries_.end();) {
        Entry& entry = *it;
        bool keep = true;
        if (position > entry.end + 1) {
            // After the line and its CR: nothing of the line changed, nor its break.
        } else if (position >= entry.start) {
            keep = edited(entry, position, removed, inserted);
        } else if (position + removed <= entry.start - 2) {
            // Before the break that starts the line: the line moves whole, and every line break
            // added or removed lies before it.
            entry.start += delta;
            entry.end += delta;
            entry.line += addedLines;
            for (Checkpoint& point : entry.points) point.position += delta;
        } else {
            keep = false;
        }
        it = keep ? it + 1 : entries_.erase(it);
    }
}

bool LineXIndex::edited(Entry& entry, Pos position, Pos removed, Pos inserted) {
    const Line span = edit_.lineSpan(entry.line);
    if (span.start != entry.start) return false;
    // A checkpoint before the byte ahead of the edit holds: each character before it ends before
    // the edit, and the byte after a lead byte there, which decides whether the two pair, is no
    // edited one. A checkpoint after the edit keeps its bytes, moved, and becomes a candidate; the
    // first such is parted from the checkpoints before it by the edit.
    std::vector<Checkpoint> kept;
    kept.reserve(entry.points.size());
    std::size_t confirmed = 0;
    bool first = true;
    for (std::size_t i = 0; i < entry.points.size(); ++i) {
        Checkpoint point = entry.points[i];
        if (i == 0 || point.position + 2 <= position) {
            kept.push_back(point);
            if (i < entry.confirmed) confirmed = kept.size();
        } else if (point.position >= position + removed) {
            point.position += inserted - removed;
            if (point.position > span.end) break;
            // Moved onto the line's start by a deletion there: the start holds already.
            if (point.position <= kept.back().position) continue;
            // The first candidate of old is parted from the checkpoint before it too, when that one
            // was confirmed and so holds an x of the current text rather than of the candidate's.
            point.walkTo = point.walkTo || first || i == entry.confirmed;
            first = false;
            kept.push_back(point);
        }
    }
    entry.points = std::move(kept);
    entry.confirmed = confirmed;
    entry.end = span.end;
    return true;
}

LineXIndex::Entry* LineXIndex::find(const Line& span) {
    sync();
    if (span.end - span.start <= spacing_) return nullptr;
    for (Entry& entry : entries_) {
        if (entry.line != span.line) continue;
        ZOZUZ_ASSERT(entry.start == span.start && entry.end == span.end);
        if (entry.start != span.start || entry.end != span.end) {
            entry.start = span.start;
            entry.end = span.end;
            entry.points.assign(1, Checkpoint{span.start, 0, false, false});
            entry.confirmed = 1;
            entry.shift.reset();
        }
        entry.lastUse = ++uses_;
        return &entry;
    }
    if (entries_.size() >= kMaxLines) {
        entries_.erase(std::min_element(entries_.begin(), entries_.end(),
                                        [](const Entry& a, const Entry& b) { return a.lastUse < b.lastUse; }));
    }
    Entry entry;
    entry.line = span.line;
    entry.start = span.start;
    entry.end = span.end;
    entry.points.push_back({span.start, 0, false, false});
    entry.lastUse = ++uses_;
    entries_.push_back(std::move(entry));
    return &entries_.back();
}

LineXIndex::Point LineXIndex::walk(const Line& span, Point from, Pos limit, std::int64_t xLimit, bool& sawTab) {
    sawTab = false;
    limit = std::min(limit, span.end);
    while (from.position < limit) {
        // The byte after the piece goes along, so that a lead byte at its end finds its partner.
        const Pos pieceLimit = std::min(limit, from.position + kPieceBytes);
        const Pos pieceEnd = std::min(span.end, pieceLimit + 1);
        const auto stepLimit = static_cast<std::size_t>(pieceLimit - from.position);
        // The bytes are walked where the control keeps them, and copied only when its gap parts them.
        CharacterWidths::Walk step;
        bool walked = false;
        buffer_.clear();
        edit_.visitRange(from.position, pieceEnd, [&](std::string_view part) {
            if (buffer_.empty() && static_cast<Pos>(part.size()) == pieceEnd - from.position) {
                step = widths_.walk(part, stepLimit, from.x, xLimit);
                walked = true;
            } else {
                buffer_.append(part);
            }
        });
        if (!walked) step = widths_.walk(buffer_, stepLimit, from.x, xLimit);
        walked_ += step.offset;
        sawTab = sawTab || step.sawTab;
        from = {from.position + static_cast<Pos>(step.offset), step.x};
        if (step.stoppedByX) break;
    }
    return from;
}

bool LineXIndex::extend(Entry& entry, const Line& span) {
    std::vector<Checkpoint>& points = entry.points;
    const Checkpoint last = points[entry.confirmed - 1];
    if (last.position >= span.end) return false;
    const auto next = points.begin() + static_cast<std::ptrdiff_t>(entry.confirmed);
    const bool candidate = next != points.end();
    if (candidate && !next->walkTo && entry.shift && (!next->tabBefore || *entry.shift % widths_.tabStop() == 0)) {
        next->x += *entry.shift;
        ++entry.confirmed;
        return true;
    }
    // A spacing's worth of bytes, or up to the next candidate when it is nearer.
    bool tab = false;
    const Pos limit = candidate ? std::min(next->position, last.position + spacing_) : last.position + spacing_;
    const Point at = walk(span, {last.position, last.x}, limit, kNoLimit, tab);
    ZOZUZ_ASSERT(at.position > last.position && at.x >= last.x);
    if (candidate && at.position == next->position) {
        entry.shift = at.x - next->x;
        *next = {at.position, at.x, tab, false};
    } else if (candidate && at.position > next->position) {
        // The edit moved where characters begin: the candidates the walk passed go, and where it
        // landed takes their place.
        entry.shift.reset();
        auto firstKept = next;
        while (firstKept != points.end() && firstKept->position <= at.position) ++firstKept;
        points.insert(points.erase(next, firstKept), {at.position, at.x, tab, false});
    } else {
        points.insert(next, {at.position, at.x, tab, false});
    }
    ++entry.confirmed;
    return true;
}

LineXIndex::Point LineXIndex::boundaryAtOrBefore(const Line& span, Pos position) {
    Entry* entry = find(span);
    if (!entry || position <= span.start) return {span.start, 0};
    while (entry->points[entry->confirmed - 1].position < position && extend(*entry, span)) {
    }
    const auto begin = entry->points.begin();
    const auto end = begin + static_cast<std::ptrdiff_t>(entry->confirmed);
    const auto after = std::upper_bound(begin, end, position, [](Pos p, const Checkpoint& c) { return p < c.position; });
    const Checkpoint& found = *(after - 1);
    return {found.position, found.x};
}

std::int64_t LineXIndex::xOf(const Line& span, Pos position) {
    position = std::clamp(position, span.start, span.end);
    const Point from = boundaryAtOrBefore(span, position);
    if (from.position == position) return from.x;
    bool tab = false;
    return walk(span, from, position, kNoLimit, tab).x;
}

LineXIndex::Point LineXIndex::boundaryAtX(const Line& span, std::int64_t x) {
    if (x < 0) return {span.start, 0};
    Point from{span.start, 0};
    if (Entry* entry = find(span)) {
        while (entry->points[entry->confirmed - 1].x <= x && extend(*entry, span)) {
        }
        const auto begin = entry->points.begin();
        const auto end = begin + static_cast<std::ptrdiff_t>(entry->confirmed);
        const auto after = std::upper_bound(begin, end, x, [](std::int64_t v, const Checkpoint& c) { return v < c.x; });
        from = {(after - 1)->position, (after - 1)->x};
    }
    bool tab = false;
    return walk(span, from, span.end, x, tab);
}

}  // namespace zozuz
