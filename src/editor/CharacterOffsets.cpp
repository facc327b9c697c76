#include "editor/CharacterOffsets.h"

#include <algorithm>
#include <string_view>

#include "base/Assert.h"

namespace zozuz {

CharacterOffsets::CharacterOffsets(const EditControl& edit, const CharacterKinds& kinds, Pos blockLines)
    : edit_(edit), kinds_(kinds), blockLines_(std::max<Pos>(1, blockLines)), lines_(edit.editorLineCount()) {
    starts_.assign(blockCount(), 0);
}

std::size_t CharacterOffsets::blockCount() const {
    return static_cast<std::size_t>((edit_.editorLineCount() + blockLines_ - 1) / blockLines_);
}

CharacterOffsets::Pos CharacterOffsets::charactersIn(Pos start, Pos end) const {
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
    // A lead byte that ends the range stands alone.
    if (carried >= 0) ++characters;
    return characters;
}

CharacterOffsets::Pos CharacterOffsets::lineCharacters(Pos line) const {
    const Pos start = edit_.editorLineStart(line);
    if (start < 0) return 0;
    return charactersIn(start, start + edit_.editorLineLength(line));
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
    return starts_[block] + linesCharacters(static_cast<Pos>(block) * blockLines_, line) +
           charactersIn(start, std::min(position, end));
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
    Pos left = offset - starts_[block];
    Pos line = static_cast<Pos>(block) * blockLines_;
    const Pos lastLine = edit_.editorLineCount() - 1;
    for (;; ++line) {
        const Pos characters = lineCharacters(line);
        if (left <= characters) break;
        if (line == lastLine) return edit_.textLength();
        left -= characters + 1;
    }
    // Step through the line's characters until `left` of them are behind.
    Pos position = edit_.editorLineStart(line);
    const Pos end = position + edit_.editorLineLength(line);
    walked_ += static_cast<std::uint64_t>(std::min(end - position, 2 * left));
    while (left > 0 && position < end) {
        const auto first = static_cast<std::uint8_t>(edit_.byteAt(position));
        const int second = position + 1 < end ? static_cast<std::uint8_t>(edit_.byteAt(position + 1)) : -1;
        position += kinds_.at(first, second).length;
        --left;
    }
    return position;
}

}  // namespace zozuz
