#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "editor/CharacterKinds.h"
#include "editor/EditControl.h"

namespace zozuz {

// Translates between the control's byte positions and character offsets as a screen reader counts
// them: each character the caret steps over (one byte, or a lead byte with the trail byte it forms a
// character with) is one, and so is each line break (CR LF). A byte that forms no character counts
// alone, as the editor shows it alone.
//
// The count of characters before every `blockLines`-th editor line is remembered, so that a question
// walks at most one block of lines and the line it lands in. An edit leaves the blocks before it as
// they were; one that keeps the number of lines recounts only its own block and shifts the ones after
// by the difference, and one that adds or removes lines forgets the blocks after it, to be counted
// again when a question reaches them.
//
// Inside a line longer than `longLine` bytes, the last such line asked about keeps marks about
// `markSpacing` bytes apart (a character boundary and the characters before it), built only as far as
// asked, so that moving through a long line walks from the nearest mark, not from the line's start.
// An edit keeps the marks before it.
class CharacterOffsets {
public:
    using Pos = EditControl::Pos;
    static constexpr Pos kDefaultBlockLines = 256;
    // Past this many blocks changed since the last question, the blocks from the first of them on are
    // counted again instead of corrected one by one.
    static constexpr std::size_t kMostDirtyBlocks = 64;

    static constexpr Pos kDefaultLongLine = 64 * 1024;
    static constexpr Pos kDefaultMarkSpacing = 16 * 1024;

    // The control and the kinds must outlive the object. Tests make the numbers small, so that short
    // texts take the paths of large ones.
    CharacterOffsets(const EditControl& edit, const CharacterKinds& kinds, Pos blockLines = kDefaultBlockLines,
                     Pos longLine = kDefaultLongLine, Pos markSpacing = kDefaultMarkSpacing);

    // Must be told of every change of the text, in order, as EditControl's change listeners are.
    void changed(Pos position, Pos removed, Pos inserted);

    // The number of characters in the text.
    Pos count();
    // How many characters start before `position` (clamped to the text).
    Pos offsetOf(Pos position);
    // The position of the character at `offset` (clamped: the text's length past the end).
    Pos positionOf(Pos offset);
    // The characters of one editor line, without its break, walked.
    Pos lineCharacters(Pos line) const;
    // The same, through the long line's marks when the line is long.
    Pos charactersOfLine(Pos line);
    // Whether the text's count of characters is known without counting.
    bool countKnown() const { return countValid_; }

    // The bytes walked to count since the object was made: for tests of the cost of edits.
    std::uint64_t walkedBytes() const { return walked_; }

private:
    // The characters that start in [start, end), both inside one line (its break excluded), `start`
    // on a character boundary. `endsOnLead`, when given, tells whether the last of them is a lead
    // byte at end - 1 (which may carry the byte at `end` along).
    Pos charactersIn(Pos start, Pos end, bool* endsOnLead = nullptr) const;
    // The characters before `position` in the line [start, lineEnd), through the long line's marks.
    Pos charactersBefore(Pos line, Pos start, Pos lineEnd, Pos position);
    // The position of the character `left` characters into the line [start, lineEnd).
    Pos positionInLine(Pos line, Pos start, Pos lineEnd, Pos left);
    // The characters before each line of a block from the block's start, and after the last one its
    // end; kept for the block last asked about until the text changes.
    const std::vector<Pos>& lineStartsOf(std::size_t block);
    // Makes `line` the long line whose marks are kept, and extends its marks while `more` says so.
    template <typename More>
    void extendMarks(Pos line, Pos start, Pos lineEnd, More more);
    // Corrects the starts after the blocks changed since the last question.
    void settle();
    // Forgets the starts after `block` (and the count).
    void forgetFrom(std::size_t block);
    // The characters from a block's first line to the next block's, or to the text's end.
    Pos blockCharacters(std::size_t block) const;
    // Makes the block starts valid up to and including block `block` (clamped to the last).
    void extendTo(std::size_t block);
    std::size_t blockOfLine(Pos line) const { return static_cast<std::size_t>(line / blockLines_); }
    std::size_t blockCount() const;
    // The characters of lines [first, last) with their breaks.
    Pos linesCharacters(Pos first, Pos last) const;

    const EditControl& edit_;
    const CharacterKinds& kinds_;
    // At least 1.
    Pos blockLines_;
    // starts_[k] holds the characters before editor line k * blockLines_ for k < valid_; starts_[0]
    // is 0 and always valid (valid_ >= 1).
    std::vector<Pos> starts_;
    std::size_t valid_ = 1;
    // Blocks changed within their lines since the last question, each with a known start and end
    // (k + 1 < valid_, or the last block while the count is known).
    std::vector<std::size_t> dirty_;
    // The whole text's count, valid while countValid_.
    Pos count_ = 0;
    bool countValid_ = false;
    // The editor line count at the last change, to tell edits that keep it.
    Pos lines_ = 1;
    mutable std::uint64_t walked_ = 0;
    Pos longLine_;
    Pos markSpacing_;
    // The long line whose marks are kept (-1 for none), its start, and the marks: character boundaries
    // in increasing order, each with the characters before it; the first is the line's start.
    struct Mark {
        Pos position;
        Pos characters;
    };
    static constexpr std::size_t kNoBlock = static_cast<std::size_t>(-1);
    std::size_t cachedBlock_ = kNoBlock;
    std::vector<Pos> blockLineStarts_;
    Pos markedLine_ = -1;
    Pos markedStart_ = 0;
    std::vector<Mark> marks_;
};

}  // namespace zozuz
