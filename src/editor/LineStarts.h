#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "base/Assert.h"
#include "editor/GapBuffer.h"

namespace zozuz {

// The ascending start positions of a text's lines; the first line always starts at 0.
//
// The starts are kept in chunks of up to `chunkLines` lines. A chunk stores the start of its first
// line in full and every other start as what it lies beyond a straight line through the chunk: the
// start of its i-th line is first + i * slope + residual(i), where the slope is at most the chunk's
// shortest line, so that the residuals only grow, and the residuals take 0, 1, 2 or 4 bytes each,
// as many as the largest one needs when the chunk is encoded. A run of empty lines, or of lines of
// equal length, therefore costs nothing but the chunk's 32-byte header, and ordinary text a byte or
// two a line: a file of nothing but line breaks costs an eighth of a byte a line instead of the four
// a plain array of 32-bit starts would, and no text more than about four.
//
// A lookup finds its chunk by a binary search, or at once when it is the chunk of the last lookup or
// the one after it, as it is for a pass over the lines, and decodes one residual. An edit that keeps
// within one chunk and within its encoding (typing, rewriting a line, word wrap dividing a line)
// rewrites the residuals after it in place, in the room a chunk keeps for growing; any other edit
// encodes the chunks it touches anew.
//
// An edit moves every start after it by the same amount. Instead of touching all of them at once,
// the index remembers one pending shift, "the step": the chunks after `stepChunk_` are stored without
// it and read with it added, to their first line's number and to their first start. The next edit
// near the last one only moves the step over a few chunks.
class LineStarts {
    struct Chunk;

public:
    using Pos = std::int64_t;

    // Lines to a chunk: an edit may encode a chunk whole, so it stays small, and its header spread
    // over its lines costs little.
    static constexpr int kChunkLines = 256;

    // One empty line. `chunkLines` (2 to 32767) is for tests, which reach chunk borders with a few
    // lines.
    explicit LineStarts(int chunkLines = kChunkLines);
    ~LineStarts();
    // A moved-from index holds no lines; it may only be assigned to, reset or destroyed.
    LineStarts(LineStarts&& other) noexcept;
    LineStarts& operator=(LineStarts&& other) noexcept;
    LineStarts(const LineStarts&) = delete;
    LineStarts& operator=(const LineStarts&) = delete;

    // A copy of this index; throws std::bad_alloc and leaves this one alone when memory runs out.
    LineStarts copy() const;

    // Builds a whole index from its starts in order, chunk by chunk (see below).
    class Builder;

    // Replaces every start; `starts` must begin with 0 and ascend.
    void assign(const std::vector<std::int32_t>& starts);
    void reset();

    Pos count() const { return count_; }
    // The start of line `line`, which must exist.
    Pos start(Pos line) const {
        ZOZUZ_ASSERT(0 <= line && line < count());
        const Pos c = chunkOf(line);
        const Chunk& chunk = chunks_.ref(c);
        const bool stepped = c > stepChunk_;
        return chunk.first + (stepped ? stepLength_ : 0) + startWithin(chunk, line - chunk.line - (stepped ? stepLines_ : 0));
    }
    // The last line whose start is at or before `position`; 0 for a negative position.
    Pos lineFromPosition(Pos position) const;

    // One change of the index, prepared in full before anything changes, so that applying it
    // allocates nothing and cannot fail: the lines (line, line + removed] go, every line after them
    // moves by `delta`, and `added` starts, ascending and already in their final positions, come in
    // right after `line`. It is only valid for the index that prepared it until that index changes
    // otherwise, and it reads the new starts from the caller's array when it is applied.
    class Edit {
    public:
        Edit() = default;
        ~Edit();
        Edit(Edit&& other) noexcept;
        Edit& operator=(Edit&& other) noexcept;
        Edit(const Edit&) = delete;
        Edit& operator=(const Edit&) = delete;

    private:
        friend class LineStarts;
        void release() noexcept;

        enum class Kind {
            None,     // changes nothing
            InPlace,  // rewrites chunk from_ within its encoding
            Chunks,   // chunks [from_, from_ + replaced_) give way to chunks_
        };
        Kind kind_ = Kind::None;
        Pos from_ = 0;
        Pos replaced_ = 0;
        std::vector<Chunk> chunks_;
        // What the edit does, for an edit in place.
        Pos line_ = 0;  // within chunk from_
        Pos removed_ = 0;
        const std::int32_t* starts_ = nullptr;
        Pos added_ = 0;
        Pos delta_ = 0;
    };
    // Prepares an edit; throws std::bad_alloc, changing nothing, when memory runs out.
    Edit prepare(Pos line, Pos removed, const std::int32_t* starts, Pos added, Pos delta);
    void apply(Edit&& edit) noexcept;

    // Single changes, each prepared and applied at once (throwing std::bad_alloc before it changes
    // anything).
    // Moves the starts of every line after `line` by `delta`.
    void shiftAfter(Pos line, Pos delta);
    // Inserts `count` starts, ascending and already in final positions, to become lines `line` on.
    void insert(Pos line, const std::int32_t* starts, Pos count);
    // Removes the starts of lines [line, line + count); line 0 is never removed.
    void remove(Pos line, Pos count);

    // How many chunks hold the lines; for tests.
    Pos chunkCount() const { return chunks_.size(); }
    // Bytes the index holds in its chunk headers and their residuals, without the allocator's own.
    std::int64_t bytesHeld() const;

    // Aborts, naming the broken one, unless every invariant stated on the members holds. Walks every
    // start: for tests and fuzzers, not for the program.
    void checkInvariants() const;

private:
    // Encodes `n` ascending starts as one chunk whose first line is `line`, with residuals for
    // `room` lines (n - 1 <= room <= chunkLines - 1) when it needs residuals at all.
    static Chunk encode(const Pos* starts, Pos n, Pos line, Pos room);
    static Pos residual(const Chunk& chunk, Pos i);
    static void setResidual(Chunk& chunk, Pos i, Pos value);
    // Adds `shift` to the residuals of lines [first, end) of a chunk; they stay within its width.
    static void addToResiduals(Chunk& chunk, Pos first, Pos end, Pos shift);
    static Pos startWithin(const Chunk& chunk, Pos i) { return i * chunk.slope + residual(chunk, i); }
    static Pos largestResidual(const Chunk& chunk);
    // The room to encode a chunk of `n` lines with, when it was made by an edit: a quarter more, so
    // that the edits that follow it fit in place for a while.
    Pos roomAfterEdit(Pos n) const;
    // Appends the starts of lines [first, end) of chunk `c`, read with the step, to `out`.
    void decode(Pos c, Pos first, Pos end, std::vector<Pos>& out) const;
    // Whether lines [line, line + n) start at `starts`.
    bool sameStarts(Pos line, const std::int32_t* starts, Pos n) const;
    // Whether the edit fits into chunk `c` as it is encoded (see Edit::Kind::InPlace).
    bool fitsInPlace(Pos c, Pos line, Pos removed, const std::int32_t* starts, Pos added, Pos delta) const;
    void applyInPlace(const Edit& edit) noexcept;
    void applyChunks(Edit& edit) noexcept;

    Pos chunkLine(Pos c) const { return chunks_.ref(c).line + (c > stepChunk_ ? stepLines_ : 0); }
    Pos chunkFirst(Pos c) const { return chunks_.ref(c).first + (c > stepChunk_ ? stepLength_ : 0); }
    // The chunk that holds line `line`: a pass over the lines asks for the chunk of the last
    // lookup, which is found at once.
    Pos chunkOf(Pos line) const {
        const Pos guess = lastChunk_;
        if (guess < chunks_.size()) {
            const Chunk& chunk = chunks_.ref(guess);
            const Pos begin = chunk.line + (guess > stepChunk_ ? stepLines_ : 0);
            if (begin <= line && line < begin + chunk.count) return guess;
        }
        return searchChunkOf(line);
    }
    Pos searchChunkOf(Pos line) const;
    // The last chunk that starts at or before `position`.
    Pos chunkAt(Pos position) const;
    Pos minChunkLines() const { return chunkLines_ / 2; }

    // The invariants that cost O(1); a build with assertions checks them after every change.
    void checkCheapInvariants() const;
    void assertCheapInvariants() const;
    // Stores the step into the chunks between its old and its new place, so that it applies to the
    // chunks after chunk `c` only.
    void moveStepTo(Pos c);
    void addToChunks(Pos first, Pos last, Pos lines, Pos length);
    void freeAll() noexcept;

    // One chunk's header, 32 bytes. Trivially copyable, so that the headers live in a gap buffer; the
    // residuals it points to belong to the index that holds the header.
    struct Chunk {
        Pos first = 0;  // the start of its first line; read with the step's length after stepChunk_
        Pos line = 0;   // the number of its first line; read with the step's lines after stepChunk_
        // The residuals of its lines 1 to count - 1, `width` bytes each, in an array with room for
        // `room` of them; null when width is 0.
        std::uint8_t* residuals = nullptr;
        // At most its shortest line, and at least 1 unless it holds one line only.
        std::int32_t slope = 0;
        std::uint32_t count : 15 = 0;
        std::uint32_t room : 15 = 0;  // count - 1 <= room when width is not 0
        std::uint32_t widthCode : 2 = 0;  // the width is 0, 1, 2 or 4 bytes for codes 0 to 3
        int width() const { return widthCode == 3 ? 4 : static_cast<int>(widthCode); }
    };

    // Every chunk holds 1 to chunkLines_ lines, and at least chunkLines_ / 2 of them unless it is
    // the only one; the chunks follow each other line by line (each first line is the one after the
    // last line of the chunk before) and hold count_ >= 1 lines together. The first chunk's first
    // line is line 0 and starts at 0. Read with the step, the starts ascend strictly. Each chunk owns
    // its residuals.
    int chunkLines_;
    GapBuffer<Chunk> chunks_;
    Pos count_ = 0;
    // The step applies to the chunks after `stepChunk_`, which is a chunk that exists; a step is
    // pending (stepLines_ or stepLength_ not 0) only while some chunk lies after it.
    Pos stepChunk_ = 0;
    Pos stepLines_ = 0;
    Pos stepLength_ = 0;
    // The chunk the last lookup found, where the next one looks first: only a guess, which any
    // chunk number may be.
    mutable Pos lastChunk_ = 0;
    // Reused by prepare, so that edits do not allocate them again and again: the starts an edit
    // keeps of the chunks it encodes anew, and the starts of one new chunk.
    std::vector<Pos> scratch_;
    std::vector<Pos> piece_;
};

inline LineStarts::Pos LineStarts::residual(const Chunk& chunk, Pos i) {
    if (i == 0 || chunk.widthCode == 0) return 0;
    const std::uint8_t* at = chunk.residuals + (i - 1) * chunk.width();
    if (chunk.widthCode == 1) return *at;
    if (chunk.widthCode == 2) {
        std::uint16_t r;
        std::memcpy(&r, at, 2);
        return r;
    }
    std::uint32_t r;
    std::memcpy(&r, at, 4);
    return r;
}

// Builds a whole index from its starts in order, chunk by chunk, so that no array of every start is
// ever made. Starts with line 0 at 0.
class LineStarts::Builder {
public:
    explicit Builder(int chunkLines = kChunkLines);
    // The start of the next line; greater than the one before.
    void append(Pos start) {
        if (pendingCount_ == pending_.size()) flush();  // keeps the last chunkLines starts pending
        ZOZUZ_ASSERT(start > last_);
        last_ = start;
        pending_[pendingCount_++] = start;
    }
    LineStarts finish();

private:
    void flush();

    LineStarts starts_;
    // The starts not encoded yet: up to two chunks' worth, so that the last two chunks can share the
    // lines fairly when the text ends.
    std::vector<Pos> pending_;
    std::size_t pendingCount_ = 0;
    Pos last_ = 0;
};

}  // namespace zozuz
