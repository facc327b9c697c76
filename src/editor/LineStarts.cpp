#include "editor/LineStarts.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace zozuz {

namespace {

// The width code of the fewest bytes, of 0, 1, 2 and 4, that hold `largest`.
std::uint32_t widthCodeFor(std::uint64_t largest) {
    if (largest == 0) return 0;
    if (largest <= 0xFF) return 1;
    if (largest <= 0xFFFF) return 2;
    return 3;
}

// The largest residual a width holds.
LineStarts::Pos widthLimit(int width) {
    switch (width) {
        case 0:
            return 0;
        case 1:
            return 0xFF;
        case 2:
            return 0xFFFF;
        default:
            return 0xFFFFFFFF;
    }
}

}  // namespace

// --- Chunks ---

LineStarts::Chunk LineStarts::encode(const Pos* starts, Pos n, Pos line, Pos room) {
    static_assert(sizeof(Chunk) == 32);
    ZOZUZ_ASSERT(1 <= n && n - 1 <= room && room < 32768);
    Chunk chunk;
    chunk.first = starts[0];
    chunk.line = line;
    chunk.count = static_cast<std::uint32_t>(n);
    if (n == 1) return chunk;
    Pos slope = starts[1] - starts[0];
    for (Pos i = 2; i < n; ++i) slope = std::min(slope, starts[i] - starts[i - 1]);
    ZOZUZ_ASSERT(slope >= 1);
    chunk.slope = static_cast<std::int32_t>(slope);
    // The residuals grow from 0 at the first line, so the last one is the largest.
    chunk.widthCode = widthCodeFor(static_cast<std::uint64_t>(starts[n - 1] - starts[0] - (n - 1) * slope));
    if (chunk.widthCode == 0) return chunk;
    chunk.room = static_cast<std::uint32_t>(room);
    chunk.residuals = new std::uint8_t[static_cast<std::size_t>(room * chunk.width())];
    for (Pos i = 1; i < n; ++i) setResidual(chunk, i, starts[i] - starts[0] - i * slope);
    return chunk;
}

void LineStarts::setResidual(Chunk& chunk, Pos i, Pos value) {
    ZOZUZ_ASSERT(1 <= i && i <= chunk.room && 0 <= value && value <= widthLimit(chunk.width()));
    std::uint8_t* at = chunk.residuals + (i - 1) * chunk.width();
    if (chunk.widthCode == 1) {
        *at = static_cast<std::uint8_t>(value);
    } else if (chunk.widthCode == 2) {
        const auto r = static_cast<std::uint16_t>(value);
        std::memcpy(at, &r, 2);
    } else {
        const auto r = static_cast<std::uint32_t>(value);
        std::memcpy(at, &r, 4);
    }
}

void LineStarts::addToResiduals(Chunk& chunk, Pos first, Pos end, Pos shift) {
    if (first >= end || shift == 0 || chunk.widthCode == 0) return;
    ZOZUZ_ASSERT(1 <= first && end <= chunk.room + 1);
    // One loop for each width, in blocks of sixteen residuals that the compiler runs several at a
    // time.
    const auto addAll = [&]<typename T>(T*) {
        std::uint8_t* at = chunk.residuals + (first - 1) * static_cast<Pos>(sizeof(T));
        const auto add = static_cast<T>(shift);  // wraps around for a negative shift, as intended
        const auto addTo = [add](std::uint8_t* p) {
            T r;
            std::memcpy(&r, p, sizeof(T));
            r = static_cast<T>(r + add);
            std::memcpy(p, &r, sizeof(T));
        };
        Pos i = first;
        for (; end - i >= 16; i += 16, at += 16 * sizeof(T)) {
            for (int k = 0; k < 16; ++k) addTo(at + k * sizeof(T));
        }
        for (; i < end; ++i, at += sizeof(T)) addTo(at);
    };
    if (chunk.widthCode == 1) {
        addAll(static_cast<std::uint8_t*>(nullptr));
    } else if (chunk.widthCode == 2) {
        addAll(static_cast<std::uint16_t*>(nullptr));
    } else {
        addAll(static_cast<std::uint32_t*>(nullptr));
    }
}

LineStarts::Pos LineStarts::largestResidual(const Chunk& chunk) { return residual(chunk, chunk.count - 1); }

LineStarts::Pos LineStarts::roomAfterEdit(Pos n) const { return std::min<Pos>(chunkLines_ - 1, n - 1 + (n + 3) / 4); }

void LineStarts::decode(Pos c, Pos first, Pos end, std::vector<Pos>& out) const {
    const Chunk& chunk = chunks_.ref(c);
    const Pos base = chunkFirst(c);
    const auto at = static_cast<std::ptrdiff_t>(out.size());
    out.resize(out.size() + static_cast<std::size_t>(end - first));
    Pos* to = out.data() + at;
    if (chunk.widthCode == 0) {
        for (Pos i = first; i < end; ++i) *to++ = base + i * chunk.slope;
    } else {
        for (Pos i = first; i < end; ++i) *to++ = base + startWithin(chunk, i);
    }
}

LineStarts::Pos LineStarts::searchChunkOf(Pos line) const {
    const Pos chunks = chunks_.size();
    // A pass over the lines goes on to the chunk after the last one found.
    const Pos next = lastChunk_ + 1;
    if (next < chunks && chunkLine(next) <= line && line < chunkLine(next) + chunks_.at(next).count) return lastChunk_ = next;
    Pos low = 0;
    Pos high = chunks - 1;
    while (low < high) {
        const Pos middle = low + (high - low + 1) / 2;
        if (chunkLine(middle) <= line) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return lastChunk_ = low;
}

LineStarts::Pos LineStarts::chunkAt(Pos position) const {
    const Pos chunks = chunks_.size();
    const auto holds = [&](Pos c) { return chunkFirst(c) <= position && (c + 1 == chunks || position < chunkFirst(c + 1)); };
    const Pos guess = lastChunk_;
    if (guess < chunks) {
        if (holds(guess)) return guess;
        if (guess + 1 < chunks && holds(guess + 1)) return lastChunk_ = guess + 1;
    }
    Pos low = 0;
    Pos high = chunks - 1;
    while (low < high) {
        const Pos middle = low + (high - low + 1) / 2;
        if (chunkFirst(middle) <= position) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return lastChunk_ = low;
}

// --- Whole indexes ---

LineStarts::LineStarts(int chunkLines) : chunkLines_(chunkLines) {
    ZOZUZ_ASSERT(2 <= chunkLines && chunkLines <= 32767);
    reset();
}

LineStarts::~LineStarts() { freeAll(); }

LineStarts::LineStarts(LineStarts&& other) noexcept
    : chunkLines_(other.chunkLines_), chunks_(std::move(other.chunks_)), count_(other.count_),
      stepChunk_(other.stepChunk_), stepLines_(other.stepLines_), stepLength_(other.stepLength_),
      scratch_(std::move(other.scratch_)), piece_(std::move(other.piece_)) {
    // A moved gap buffer keeps its sizes; cleared, the other index owns nothing any more.
    other.chunks_.clear();
    other.count_ = other.stepChunk_ = other.stepLines_ = other.stepLength_ = 0;
}

LineStarts& LineStarts::operator=(LineStarts&& other) noexcept {
    if (this == &other) return *this;
    freeAll();
    chunkLines_ = other.chunkLines_;
    chunks_ = std::move(other.chunks_);
    count_ = other.count_;
    stepChunk_ = other.stepChunk_;
    stepLines_ = other.stepLines_;
    stepLength_ = other.stepLength_;
    lastChunk_ = 0;
    scratch_ = std::move(other.scratch_);
    piece_ = std::move(other.piece_);
    other.chunks_.clear();
    other.count_ = other.stepChunk_ = other.stepLines_ = other.stepLength_ = 0;
    return *this;
}

void LineStarts::freeAll() noexcept {
    chunks_.forEachPiece(0, chunks_.size(), [](Chunk* chunks, Pos n) {
        for (Pos i = 0; i < n; ++i) delete[] chunks[i].residuals;
    });
    chunks_.clear();
}

void LineStarts::reset() {
    GapBuffer<Chunk> fresh;
    Chunk zero;
    zero.count = 1;
    fresh.assign(&zero, 1, 15);
    freeAll();
    chunks_ = std::move(fresh);
    count_ = 1;
    stepChunk_ = stepLines_ = stepLength_ = 0;
    assertCheapInvariants();
}

void LineStarts::assign(const std::vector<std::int32_t>& starts) {
    ZOZUZ_ASSERT(!starts.empty() && starts[0] == 0);
    Builder builder(chunkLines_);
    for (std::size_t i = 1; i < starts.size(); ++i) builder.append(starts[i]);
    *this = builder.finish();
}

LineStarts LineStarts::copy() const {
    GapBuffer<Chunk> headers;
    headers.reserveExtra(chunks_.size());
    chunks_.forEachPiece(0, chunks_.size(), [&headers](const Chunk* chunks, Pos n) {
        headers.insert(headers.size(), chunks, n);
    });
    // The copied headers do not own these residuals: each gets its own below.
    headers.forEachPiece(0, headers.size(), [](Chunk* chunks, Pos n) {
        for (Pos i = 0; i < n; ++i) chunks[i].residuals = nullptr;
    });
    LineStarts out(chunkLines_);
    out.freeAll();
    out.chunks_ = std::move(headers);
    out.count_ = count_;
    out.stepChunk_ = stepChunk_;
    out.stepLines_ = stepLines_;
    out.stepLength_ = stepLength_;
    for (Pos c = 0; c < chunks_.size(); ++c) {
        const Chunk from = chunks_.at(c);
        if (from.residuals == nullptr) continue;
        Chunk to = out.chunks_.at(c);
        to.residuals = new std::uint8_t[static_cast<std::size_t>(from.room * from.width())];
        std::memcpy(to.residuals, from.residuals, static_cast<std::size_t>((from.count - 1) * from.width()));
        out.chunks_.overwrite(c, &to, 1);
    }
    return out;
}

std::int64_t LineStarts::bytesHeld() const {
    std::int64_t bytes = chunks_.size() * static_cast<std::int64_t>(sizeof(Chunk));
    for (Pos c = 0; c < chunks_.size(); ++c) {
        const Chunk chunk = chunks_.at(c);
        if (chunk.residuals != nullptr) bytes += chunk.room * chunk.width();
    }
    return bytes;
}

// --- Building ---

LineStarts::Builder::Builder(int chunkLines) : starts_(chunkLines), pending_(2 * static_cast<std::size_t>(chunkLines)) {
    starts_.freeAll();
    starts_.count_ = 0;
    pending_[0] = 0;
    pendingCount_ = 1;
}

void LineStarts::Builder::flush() {
    // The first chunk's worth goes out, with no room to spare: a chunk that is full cannot grow
    // anyway. The second stays, to share its lines with what follows.
    const auto lines = static_cast<std::size_t>(starts_.chunkLines_);
    starts_.chunks_.reserveExtra(1);
    const Chunk chunk = encode(pending_.data(), static_cast<Pos>(lines), starts_.count_, static_cast<Pos>(lines) - 1);
    starts_.chunks_.insert(starts_.chunks_.size(), &chunk, 1);
    starts_.count_ += static_cast<Pos>(lines);
    std::copy(pending_.begin() + static_cast<std::ptrdiff_t>(lines), pending_.begin() + static_cast<std::ptrdiff_t>(pendingCount_),
              pending_.begin());
    pendingCount_ -= lines;
}

LineStarts LineStarts::Builder::finish() {
    // Up to one chunk's worth makes one chunk; more make two of about half each, so that every
    // chunk holds at least half a chunk's worth of lines.
    const auto n = static_cast<Pos>(pendingCount_);
    const Pos parts = n <= starts_.chunkLines_ ? 1 : 2;
    starts_.chunks_.reserveExtra(parts);
    const Pos firstPart = n - n / parts * (parts - 1);
    const Chunk first = encode(pending_.data(), firstPart, starts_.count_, firstPart - 1);
    starts_.chunks_.insert(starts_.chunks_.size(), &first, 1);
    starts_.count_ += firstPart;
    if (parts == 2) {
        const Pos secondPart = n - firstPart;
        const Chunk second = encode(pending_.data() + firstPart, secondPart, starts_.count_, secondPart - 1);
        starts_.chunks_.insert(starts_.chunks_.size(), &second, 1);
        starts_.count_ += secondPart;
    }
    pendingCount_ = 0;
    starts_.assertCheapInvariants();
    return std::move(starts_);
}

// --- Lookups ---

LineStarts::Pos LineStarts::lineFromPosition(Pos position) const {
    if (position <= 0) return 0;
    const Pos c = chunkAt(position);
    const Chunk& chunk = chunks_.ref(c);
    const Pos offset = position - chunkFirst(c);
    // Every line i of the chunk starts at least i * slope after its first, so no line after
    // offset / slope starts at or before the position.
    Pos low = 0;
    Pos high = chunk.count - 1;
    if (chunk.slope > 0) high = std::min(high, offset / chunk.slope);
    if (chunk.widthCode == 0) return chunkLine(c) + high;
    // The last line in [low, high] whose start is at or before the position, one loop for each
    // width.
    const auto search = [&]<typename T>(T*) {
        while (low < high) {
            const Pos middle = low + (high - low + 1) / 2;
            T r;
            std::memcpy(&r, chunk.residuals + (middle - 1) * static_cast<Pos>(sizeof(T)), sizeof(T));
            if (middle * chunk.slope + static_cast<Pos>(r) <= offset) {
                low = middle;
            } else {
                high = middle - 1;
            }
        }
    };
    if (chunk.widthCode == 1) {
        search(static_cast<std::uint8_t*>(nullptr));
    } else if (chunk.widthCode == 2) {
        search(static_cast<std::uint16_t*>(nullptr));
    } else {
        search(static_cast<std::uint32_t*>(nullptr));
    }
    return chunkLine(c) + low;
}

bool LineStarts::sameStarts(Pos line, const std::int32_t* starts, Pos n) const {
    // Chunk by chunk, each decoded in one loop.
    for (Pos done = 0; done < n;) {
        const Pos c = chunkOf(line + done);
        const Chunk& chunk = chunks_.ref(c);
        const Pos base = chunkFirst(c);
        const Pos first = line + done - chunkLine(c);
        const Pos end = std::min<Pos>(chunk.count, first + n - done);
        for (Pos i = first; i < end; ++i, ++done) {
            if (base + startWithin(chunk, i) != starts[done]) return false;
        }
    }
    return true;
}

// --- Changes ---

LineStarts::Edit::~Edit() { release(); }

LineStarts::Edit::Edit(Edit&& other) noexcept
    : kind_(other.kind_), from_(other.from_), replaced_(other.replaced_), chunks_(std::move(other.chunks_)),
      line_(other.line_), removed_(other.removed_), starts_(other.starts_), added_(other.added_), delta_(other.delta_) {
    other.chunks_.clear();
    other.kind_ = Kind::None;
}

LineStarts::Edit& LineStarts::Edit::operator=(Edit&& other) noexcept {
    if (this == &other) return *this;
    release();
    kind_ = other.kind_;
    from_ = other.from_;
    replaced_ = other.replaced_;
    chunks_ = std::move(other.chunks_);
    line_ = other.line_;
    removed_ = other.removed_;
    starts_ = other.starts_;
    added_ = other.added_;
    delta_ = other.delta_;
    other.chunks_.clear();
    other.kind_ = Kind::None;
    return *this;
}

void LineStarts::Edit::release() noexcept {
    for (const Chunk& chunk : chunks_) delete[] chunk.residuals;
    chunks_.clear();
    kind_ = Kind::None;
}

LineStarts::Edit LineStarts::prepare(Pos line, Pos removed, const std::int32_t* starts, Pos added, Pos delta) {
    ZOZUZ_ASSERT(0 <= line && 0 <= removed && line + removed < count() && 0 <= added);
    Edit edit;
    if (delta == 0 && removed == added) {
        // Lines rewritten with the same line structure, as the cipher rewrites them, leave every
        // start where it was.
        if (sameStarts(line + 1, starts, added)) return edit;
    }
    edit.removed_ = removed;
    edit.starts_ = starts;
    edit.added_ = added;
    edit.delta_ = delta;
    const Pos lastRemoved = line + removed;  // `line` itself when nothing goes
    const Pos c0 = chunkOf(line);
    const Pos c1 = removed == 0 ? c0 : chunkOf(lastRemoved);
    const Chunk chunk1 = chunks_.at(c1);
    const Pos line0 = chunkLine(c0);
    const Pos line1 = chunkLine(c1);
    const Pos end1 = line1 + chunk1.count;  // the line after chunk c1
    edit.kind_ = Edit::Kind::Chunks;
    if (removed == 0 && added == 0 && line + 1 == end1) {
        // A shift right after a chunk's last line moves whole chunks only: the step takes it over.
        edit.from_ = c0 + 1;
        return edit;
    }
    if (c0 == c1 && fitsInPlace(c0, line - line0, removed, starts, added, delta)) {
        edit.kind_ = Edit::Kind::InPlace;
        edit.from_ = c0;
        edit.line_ = line - line0;
        return edit;
    }

    // The chunks from c0 to c1 are encoded anew, together with a neighbour when they would hold too
    // few lines on their own.
    Pos from = c0;
    Pos to = c1;
    Pos total = (line - line0 + 1) + added + (end1 - lastRemoved - 1);
    if (total < minChunkLines() && to - from + 1 < chunks_.size()) {
        const Pos neighbour = to + 1 < chunks_.size() ? ++to : --from;
        total += chunks_.at(neighbour).count;
    }
    // The new starts in order are the kept ones of the chunks before the edit, then the added ones,
    // then the kept ones after the edit, moved. Only the kept ones are decoded, at most a few chunks'
    // worth: a paste of many lines costs no second array of its starts.
    scratch_.clear();
    if (from < c0) decode(from, 0, chunks_.at(from).count, scratch_);
    decode(c0, 0, line - line0 + 1, scratch_);
    const auto before = static_cast<Pos>(scratch_.size());
    decode(c1, lastRemoved + 1 - line1, chunk1.count, scratch_);
    if (to > c1) decode(to, 0, chunks_.at(to).count, scratch_);
    for (auto i = static_cast<std::size_t>(before); i < scratch_.size(); ++i) scratch_[i] += delta;
    ZOZUZ_ASSERT(static_cast<Pos>(scratch_.size()) + added == total);
    const auto startAt = [&](Pos k) -> Pos {
        if (k < before) return scratch_[static_cast<std::size_t>(k)];
        if (k < before + added) return starts[k - before];
        return scratch_[static_cast<std::size_t>(k - added)];
    };
    if constexpr (kAssertionsOn) {
        // The new starts fit between their neighbours, and those in between ascend as the caller gave
        // them.
        for (Pos k = 1; k < total; ++k) ZOZUZ_ASSERT(startAt(k - 1) < startAt(k));
        ZOZUZ_ASSERT(to + 1 >= chunks_.size() || startAt(total - 1) < chunkFirst(to + 1) + delta);
    }

    // Balanced chunks, each of at least half a chunk's worth of lines when there are several.
    const Pos parts = (total + chunkLines_ - 1) / chunkLines_;
    edit.chunks_.reserve(static_cast<std::size_t>(parts));
    piece_.resize(static_cast<std::size_t>(chunkLines_));
    Pos at = 0;
    Pos nextLine = chunkLine(from);
    for (Pos part = 0; part < parts; ++part) {
        const Pos n = total / parts + (part < total % parts ? 1 : 0);
        for (Pos i = 0; i < n; ++i) piece_[static_cast<std::size_t>(i)] = startAt(at + i);
        edit.chunks_.push_back(encode(piece_.data(), n, nextLine, roomAfterEdit(n)));
        at += n;
        nextLine += n;
    }
    edit.from_ = from;
    edit.replaced_ = to - from + 1;
    if (parts > edit.replaced_) chunks_.reserveExtra(parts - edit.replaced_);
    return edit;
}

// The lines before the edit keep their residuals; the new ones get theirs; the lines after it
// move to other places in the chunk and by `delta`, so their residuals all change by the same
// amount. It fits when the residuals still grow and the largest still fits the width, and the lines
// fit the chunk and its room.
bool LineStarts::fitsInPlace(Pos c, Pos line, Pos removed, const std::int32_t* starts, Pos added, Pos delta) const {
    const Chunk& chunk = chunks_.ref(c);
    const Pos lines = chunk.count + added - removed;
    if (chunk.count == 1 || lines > chunkLines_ || (chunks_.size() > 1 && lines < minChunkLines())) return false;
    if (chunk.widthCode != 0 && lines - 1 > chunk.room) return false;
    const Pos limit = widthLimit(chunk.width());
    const Pos first = chunkFirst(c);
    Pos previous = residual(chunk, line);
    for (Pos i = 0; i < added; ++i) {
        const Pos r = starts[i] - first - (line + 1 + i) * chunk.slope;
        if (r < previous || r > limit) return false;
        previous = r;
    }
    const Pos tail = line + removed + 1;
    if (tail == chunk.count) return true;
    const Pos shift = delta - (added - removed) * chunk.slope;
    return residual(chunk, tail) + shift >= previous && largestResidual(chunk) + shift <= limit;
}

void LineStarts::applyInPlace(const Edit& edit) noexcept {
    const Pos c = edit.from_;
    moveStepTo(c);  // the chunk is stored whole from here on
    Chunk chunk = chunks_.at(c);
    const Pos line = edit.line_;
    const Pos tail = line + edit.removed_ + 1;
    const Pos newTail = line + edit.added_ + 1;
    const Pos lines = chunk.count + edit.added_ - edit.removed_;
    if (chunk.widthCode != 0) {
        const int width = chunk.width();
        if (newTail != tail) {
            std::memmove(chunk.residuals + (newTail - 1) * width, chunk.residuals + (tail - 1) * width,
                         static_cast<std::size_t>((chunk.count - tail) * width));
        }
        const Pos shift = edit.delta_ - (edit.added_ - edit.removed_) * chunk.slope;
        addToResiduals(chunk, newTail, lines, shift);
        for (Pos i = 0; i < edit.added_; ++i) {
            setResidual(chunk, line + 1 + i, edit.starts_[i] - chunk.first - (line + 1 + i) * chunk.slope);
        }
    }
    chunk.count = static_cast<std::uint32_t>(lines);
    chunks_.overwrite(c, &chunk, 1);
    count_ += edit.added_ - edit.removed_;
    if (stepChunk_ < chunks_.size() - 1) {
        stepLines_ += edit.added_ - edit.removed_;
        stepLength_ += edit.delta_;
    }
}

void LineStarts::applyChunks(Edit& edit) noexcept {
    const Pos last = edit.from_ + edit.replaced_ - 1;
    // The chunks up to the last one replaced are stored whole, so that the new ones, which hold
    // their starts in full, sit among whole chunks, and the step applies to the chunks after them.
    moveStepTo(last);
    for (Pos c = edit.from_; c <= last; ++c) delete[] chunks_.at(c).residuals;
    const auto added = static_cast<Pos>(edit.chunks_.size());
    chunks_.replace(edit.from_, edit.replaced_, edit.chunks_.data(), added);  // room was made in prepare
    edit.chunks_.clear();
    count_ += edit.added_ - edit.removed_;
    stepChunk_ = edit.from_ + added - 1;
    if (stepChunk_ < chunks_.size() - 1) {
        stepLines_ += edit.added_ - edit.removed_;
        stepLength_ += edit.delta_;
    } else {
        stepChunk_ = chunks_.size() - 1;
        stepLines_ = stepLength_ = 0;
    }
}

void LineStarts::apply(Edit&& edit) noexcept {
    if (edit.kind_ == Edit::Kind::InPlace) applyInPlace(edit);
    if (edit.kind_ == Edit::Kind::Chunks) applyChunks(edit);
    edit.kind_ = Edit::Kind::None;
    assertCheapInvariants();
}

void LineStarts::shiftAfter(Pos line, Pos delta) {
    ZOZUZ_ASSERT(0 <= line && line < count());
    apply(prepare(line, 0, nullptr, 0, delta));
}

void LineStarts::insert(Pos line, const std::int32_t* starts, Pos count) {
    ZOZUZ_ASSERT(1 <= line && line <= this->count());
    if (count <= 0) return;
    apply(prepare(line - 1, 0, starts, count, 0));
}

void LineStarts::remove(Pos line, Pos count) {
    ZOZUZ_ASSERT(1 <= line && 0 <= count && line + count <= this->count());
    if (count <= 0) return;
    apply(prepare(line - 1, count, nullptr, 0, 0));
}

// --- The step ---

void LineStarts::addToChunks(Pos first, Pos last, Pos lines, Pos length) {
    if (first > last || (lines == 0 && length == 0)) return;
    chunks_.forEachPiece(first, last + 1, [lines, length](Chunk* chunks, Pos n) {
        for (Pos i = 0; i < n; ++i) {
            chunks[i].line += lines;
            chunks[i].first += length;
        }
    });
}

void LineStarts::moveStepTo(Pos c) {
    if (stepLines_ == 0 && stepLength_ == 0) {
        stepChunk_ = c;
        return;
    }
    const Pos last = chunks_.size() - 1;
    if (c > stepChunk_) {
        // Chunks (stepChunk_, c] become fully stored.
        addToChunks(stepChunk_ + 1, std::min(c, last), stepLines_, stepLength_);
        stepChunk_ = c;
    } else if (c < stepChunk_) {
        // Either take the step back out of (c, stepChunk_], or store it into every chunk after
        // stepChunk_ and start a fresh step; whichever touches fewer chunks.
        if (stepChunk_ - c <= last - stepChunk_) {
            addToChunks(c + 1, stepChunk_, -stepLines_, -stepLength_);
        } else {
            addToChunks(stepChunk_ + 1, last, stepLines_, stepLength_);
            stepLines_ = stepLength_ = 0;
        }
        stepChunk_ = c;
    }
    if (stepChunk_ >= last) {
        // No chunk lies after the step any more; nothing is pending.
        stepChunk_ = last;
        stepLines_ = stepLength_ = 0;
    }
}

// --- Invariants ---

void LineStarts::checkCheapInvariants() const {
    ZOZUZ_CHECK(count_ >= 1 && chunks_.size() >= 1);
    ZOZUZ_CHECK(chunks_.at(0).line == 0 && chunks_.at(0).first == 0);
    ZOZUZ_CHECK(0 <= stepChunk_ && stepChunk_ < chunks_.size());
    ZOZUZ_CHECK((stepLines_ == 0 && stepLength_ == 0) || stepChunk_ < chunks_.size() - 1);
}

void LineStarts::assertCheapInvariants() const {
    if constexpr (kAssertionsOn) checkCheapInvariants();
}

void LineStarts::checkInvariants() const {
    chunks_.checkInvariants();
    checkCheapInvariants();
    Pos lines = 0;
    Pos previous = -1;
    for (Pos c = 0; c < chunks_.size(); ++c) {
        const Chunk chunk = chunks_.at(c);
        ZOZUZ_CHECK(1 <= chunk.count && chunk.count <= static_cast<std::uint32_t>(chunkLines_));
        ZOZUZ_CHECK(chunks_.size() == 1 || chunk.count >= static_cast<std::uint32_t>(minChunkLines()));
        ZOZUZ_CHECK(chunkLine(c) == lines);
        ZOZUZ_CHECK(chunk.slope >= (chunk.count > 1 ? 1 : 0));
        ZOZUZ_CHECK((chunk.widthCode == 0) == (chunk.residuals == nullptr));
        ZOZUZ_CHECK(chunk.widthCode == 0 || (chunk.count - 1 <= chunk.room && chunk.room < static_cast<std::uint32_t>(chunkLines_)));
        for (Pos i = 0; i < chunk.count; ++i) {
            const Pos start = chunkFirst(c) + startWithin(chunk, i);
            ZOZUZ_CHECK(start > previous);
            // The residuals grow: the slope is at most every line's length.
            ZOZUZ_CHECK(i == 0 || residual(chunk, i) >= residual(chunk, i - 1));
            previous = start;
        }
        lines += chunk.count;
    }
    ZOZUZ_CHECK(lines == count_);
}

}  // namespace zozuz
