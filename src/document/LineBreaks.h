#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "base/LeadByteSet.h"

namespace zozuz {

// The result of normalising a text: the text itself when nothing had to change, so that a large text
// that already uses CR LF throughout is never copied, or a new text otherwise.
class NormalisedText {
public:
    NormalisedText(std::string_view original, std::string changed, bool isChanged)
        : original_(original), changed_(std::move(changed)), isChanged_(isChanged) {}

    bool changed() const { return isChanged_; }
    // Valid as long as this object and the original text live.
    std::string_view text() const { return isChanged_ ? std::string_view(changed_) : original_; }
    // The text as a string of its own; copies only when nothing had changed.
    std::string release() && { return isChanged_ ? std::move(changed_) : std::string(original_); }

private:
    std::string_view original_;
    std::string changed_;
    bool isChanged_;
};

// Line-break normalisation: every lone CR and every lone LF becomes CR LF, so that LF CR counts as two
// breaks, while a lead byte of the code page carries the byte after it along unchanged, even a CR, an
// LF or a zero. A CR LF pair is copied as it is. Every byte is looked at, also those after a zero.
class LineBreaks {
public:
    explicit LineBreaks(LeadByteSet leadBytes = LeadByteSet::codePage936()) : leadBytes_(leadBytes) {}

    // How many bytes normalisation adds: one per lone CR or lone LF.
    std::size_t countLoneBreaks(std::string_view text) const;
    // Counts first and copies only when something changes.
    NormalisedText normalise(std::string_view text) const;
    // Writes the normalised text to `out`, which has room for the text and its added bytes, and
    // returns how many bytes it wrote.
    std::size_t normaliseInto(std::string_view text, char* out) const;
    // Normalises the `length` bytes at block + offset into the block itself, from its first byte
    // on, and returns the normalised length: a text read into the end of the block for its
    // normalised text needs no second block. Every break adds one byte, and the written bytes stay
    // behind those still to be read as long as at most `offset` are added; a text that would add
    // more is not normalised (its bytes are left mixed up) and the result is kNoRoom.
    std::size_t normaliseInPlace(char* block, std::size_t offset, std::size_t length) const;
    static constexpr std::size_t kNoRoom = static_cast<std::size_t>(-1);

    const LeadByteSet& leadBytes() const { return leadBytes_; }

private:
    LeadByteSet leadBytes_;
};

}  // namespace zozuz
