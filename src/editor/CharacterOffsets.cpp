#include "editor/CharacterOffsets.h"

#include <algorithm>
#include <string_view>

#include "base/Assert.h"

namespace zozuz {

CharacterOffsets::CharacterOffsets(const EditControl& edit, const CharacterKinds& kinds, Pos blockLines, Pos longLine,
                                   Pos markSpacing)
    : edit_(edit), kinds_(kinds), blockLines_(std::max<Pos>(1, blockLines)), lines_(edit.editorLineCount()),
      longLine_(std::max<Pos>(2, longLine)), markSpacing_(std::max<Pos>(2, markSpacing)) {
    starts_.assign(blockCount(), 0);
}

std::size_t CharacterOffsets::blockCount() const {
    return static_cast<std::size_t>((edit_.editorLineCount() + blockLines_ - 1) / blockLines_);
}

CharacterOffsets::Pos CharacterOffsets::charactersIn(Pos start, Pos end, bool* endsOnLead) const {
    if (endsOnLead) *endsOnLead = false;
    if (end <= start) return 0;
    walked_ += static_cast<std::uint64_t>(end - start);
    // The pieces of the gap buffer are walked as they lie; a lead byte at the end of the first piece
    // looks at the first byte of the second, so a carried pair is remembered across them.
    Pos characters = 0;
    int carried = -1;  // a lead byte waiting for the next byte, or -1
    edit_.visitRange(start, end, [&](std::string_view piece) {
        std::size_t i = 0;
        if (carried >= 0 && !piece.empty()) {
            const auto second = static_cast<std::uint8_t>(piece[0]);
            ++characters;
            if (kinds_.at(static_cast<std::uint8_t>(carried), second).length == 2) i = 1;
            carried = -1;
        }
        const std::size_t n = piece.size();
        while (i < n) {
            const auto first = static_cast<std::uint8_t>(piece[i]);
            if (!kinds_.isLead(first)) {
                ++characters;
                ++i;
                continue;
            }
            if (i + 1 >= n) {
                carried = first;
                ++i;
                continue;
            }
            ++characters;
            i += static_cast<std::size_t>(kinds_.at(first, static_cast<std::uint8_t>(piece[i + 1])).length);
        }
    });
    // A lead byte that ends the range begins a character before its end.
    if (carried >= 0) {
        ++characters;
        if (endsOnLead) *endsOnLead = true;
    }
    return characters;
}

template <typename More>
void CharacterOffsets::extendMarks(Pos line, Pos start, Pos lineEnd, More more) {
    if (line != markedLine_ || start != markedStart_) {
        markedLine_ = line;
        markedStart_ = start;
        marks_.assign(1, Mark{start, 0});
    }
    while (marks_.back().position + markSpacing_ < lineEnd && more(marks_.back())) {
        const Mark last = marks_.back();
        Pos end = last.position + markSpacing_;
        bool leadLast = false;
        const Pos characters = last.characters + charactersIn(last.position, end, &leadLast);
        // A mark stands on a boundary: when the walk ended on a lead byte that carries the byte at
        // `end` along, the boundary is after that byte (the pair is counted already).
        if (leadLast && kinds_.at(static_cast<std::uint8_t>(edit_.byteAt(end - 1)), static_cast<std::uint8_t>(edit_.byteAt(end))).length == 2)
            ++end;
        marks_.push_back(Mark{end, characters});
    }
}

CharacterOffsets::Pos CharacterOffsets::charactersBefore(Pos line, Pos start, Pos lineEnd, Pos position) {
    position = std::min(position, lineEnd);
    if (lineEnd - start <= longLine_) return charactersIn(start, position);
    extendMarks(line, start, lineEnd, [&](const Mark& last) { return last.position + markSpacing_ <= position; });
    const auto after = std::upper_bound(marks_.begin(), marks_.end(), position,
                                        [](Pos p, const Mark& mark) { return p < mark.position; });
    const Mark& mark = *(after - 1);
    return mark.characters + charactersIn(mark.position, position);
}

CharacterOffsets::Pos CharacterOffsets::positionInLine(Pos line, Pos start, Pos lineEnd, Pos left) {
    Pos position = start;
    if (lineEnd - start > longLine_) {
        extendMarks(line, start, lineEnd, [&](const Mark& last) { return last.characters <= left; });
        const auto after = std::upper_bound(marks_.begin(), marks_.end(), left,
                                            [](Pos l, const Mark& mark) { return l < mark.characters; });
        position = (after - 1)->position;
        left -= (after - 1)->characters;
    }
    // Step through the line's characters until `left` of them are behind.
    walked_ += static_cast<std::uint64_t>(std::min(lineEnd - position, 2 * left));
    while (left > 0 && position < lineEnd) {
        const auto first = static_cast<std::uint8_t>(edit_.byteAt(position));
        const int second = position + 1 < lineEnd ? static_cast<std::uint8_t>(edit_.byteAt(position + 1)) : -1;
        position += kinds_.at(first, second).length;
        --left;
    }
    return position;
}

CharacterOffsets::Pos CharacterOffsets::lineCharacters(Pos line) const {
    const Pos start = edit_.editorLineStart(line);
    if (start < 0) return 0;
    return charactersIn(start, start + edit_.editorLineLength(line));
}

CharacterOffsets::Pos CharacterOffsets::charactersOfLine(Pos line) {
    const Pos start = edit_.editorLineStart(line);
    if (start < 0) return 0;
    const Pos end = start + edit_.editorLineLength(line);
    return charactersBefore(line, start, end, end);
}

const std::vector<CharacterOffsets::Pos>& CharacterOffsets::lineStartsOf(std::size_t block) {
    if (cachedBlock_ == block) return blockLineStarts_;
    const Pos first = static_cast<Pos>(block) * blockLines_;
    const Pos last = std::min(first + blockLines_, edit_.editorLineCount());
    blockLineStarts_.assign(1, 0);
    for (Pos line = first; line < last; ++line) {
        // The last line of the text has no break; the entry after it is its end.
        const Pos brk = line + 1 < edit_.editorLineCount() ? 1 : 0;
        blockLineStarts_.push_back(blockLineStarts_.back() + charactersOfLine(line) + brk);
    }
    cachedBlock_ = block;
    return blockLineStarts_;
}

CharacterOffsets::Pos CharacterOffsets::linesCharacters(Pos first, Pos last) const {
    Pos characters = 0;
    for (Pos line = first; line < last; ++line) characters += lineCharacters(line) + 1;
    return characters;
}

CharacterOffsets::Pos CharacterOffsets::blockCharacters(std::size_t block) const {
    const Pos first = static_cast<Pos>(block) * blockLines_;
    const Pos lines = edit_.editorLineCount();
    if (first + blockLines_ < lines) return linesCharacters(first, first + blockLines_);
    // The last block: its last line has no break.
    return linesCharacters(first, lines - 1) + lineCharacters(lines - 1);
}

void CharacterOffsets::extendTo(std::size_t block) {
    block = std::min(block, starts_.size() - 1);
    for (; valid_ <= block; ++valid_) {
        starts_[valid_] = starts_[valid_ - 1] + blockCharacters(valid_ - 1);
    }
}

void CharacterOffsets::changed(Pos position, Pos /*removed*/, Pos inserted) {
    cachedBlock_ = kNoBlock;
    // The long line's marks before the change stay; a change before the line moves it.
    if (markedLine_ >= 0) {
        if (position <= markedStart_)
            markedLine_ = -1;
        else
            std::erase_if(marks_, [&](const Mark& mark) { return mark.position >= position && mark.position > markedStart_; });
    }
    const Pos lines = edit_.editorLineCount();
    const std::size_t block = blockOfLine(edit_.editorLineFromPosition(position));
    const bool oneBlock = blockOfLine(edit_.editorLineFromPosition(position + inserted)) == block;
    const bool last = block + 1 == starts_.size();
    if (lines == lines_ && oneBlock && block < valid_ && (block + 1 < valid_ || (last && countValid_))) {
        // The lines stayed where they were: only this block's count changed, and it is counted again
        // when a question comes (a run that rewrites every line counts each block once, not once a line).
        if (dirty_.empty() || dirty_.back() != block) dirty_.push_back(block);
        if (dirty_.size() > kMostDirtyBlocks) {
            forgetFrom(*std::min_element(dirty_.begin(), dirty_.end()));
        }
    } else {
        starts_.resize(blockCount(), 0);
        forgetFrom(block);
    }
    lines_ = lines;
    ZOZUZ_ASSERT(valid_ >= 1 && valid_ <= starts_.size());
}

void CharacterOffsets::forgetFrom(std::size_t block) {
    valid_ = std::min(valid_, block + 1);
    countValid_ = false;
    // A block whose end is no longer known cannot be corrected by its difference; the blocks before
    // the first one forgotten still can.
    std::erase_if(dirty_, [&](std::size_t k) { return k + 1 >= valid_; });
}

void CharacterOffsets::settle() {
    if (dirty_.empty()) return;
    std::sort(dirty_.begin(), dirty_.end());
    dirty_.erase(std::unique(dirty_.begin(), dirty_.end()), dirty_.end());
    // Each block's difference from its old count, then one pass shifting the starts after it.
    std::vector<Pos> deltas(dirty_.size());
    for (std::size_t i = 0; i < dirty_.size(); ++i) {
        const std::size_t k = dirty_[i];
        const Pos before = k + 1 < valid_ ? starts_[k + 1] - starts_[k] : count_ - starts_[k];
        deltas[i] = blockCharacters(k) - before;
    }
    Pos shift = 0;
    std::size_t next = 0;
    for (std::size_t k = dirty_.front() + 1; k < valid_; ++k) {
        while (next < dirty_.size() && dirty_[next] < k) shift += deltas[next++];
        starts_[k] += shift;
    }
    while (next < dirty_.size()) shift += deltas[next++];
    count_ += shift;
    dirty_.clear();
}

CharacterOffsets::Pos CharacterOffsets::count() {
    settle();
    if (!countValid_) {
        extendTo(starts_.size() - 1);
        count_ = starts_.back() + blockCharacters(starts_.size() - 1);
        countValid_ = true;
    }
    return count_;
}

CharacterOffsets::Pos CharacterOffsets::offsetOf(Pos position) {
    settle();
    position = std::clamp<Pos>(position, 0, edit_.textLength());
    const Pos line = edit_.editorLineFromPosition(position);
    const std::size_t block = blockOfLine(line);
    extendTo(block);
    const Pos start = edit_.editorLineStart(line);
    const Pos end = start + edit_.editorLineLength(line);
    // A position on a line break counts the line's characters before it; past the break's CR it is
    // still before the break as a whole.
    const std::vector<Pos>& before = lineStartsOf(block);
    return starts_[block] + before[static_cast<std::size_t>(line - static_cast<Pos>(block) * blockLines_)] +
           charactersBefore(line, start, end, position);
}

CharacterOffsets::Pos CharacterOffsets::positionOf(Pos offset) {
    if (offset <= 0) return 0;
    settle();
    if (countValid_ && offset >= count_) return edit_.textLength();
    // Blocks are counted until one starts past the offset, or all are.
    while (valid_ < starts_.size() && starts_[valid_ - 1] <= offset) extendTo(valid_);
    // The last block whose start is at or before the offset.
    const auto after = std::upper_bound(starts_.begin(), starts_.begin() + static_cast<std::ptrdiff_t>(valid_), offset);
    const std::size_t block = static_cast<std::size_t>(after - starts_.begin()) - 1;
    // The line whose start is the last at or before the offset; past the last line's end is the end.
    const std::vector<Pos>& before = lineStartsOf(block);
    const Pos left = offset - starts_[block];
    const auto next = std::upper_bound(before.begin(), before.end() - 1, left);
    const auto index = static_cast<std::size_t>(next - before.begin()) - 1;
    const Pos line = static_cast<Pos>(block) * blockLines_ + static_cast<Pos>(index);
    const Pos start = edit_.editorLineStart(line);
    const Pos end = start + edit_.editorLineLength(line);
    const Pos into = left - before[index];
    if (index + 2 == before.size() && into > before.back() - before[index]) return edit_.textLength();
    return positionInLine(line, start, end, into);
}

}  // namespace zozuz
