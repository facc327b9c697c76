#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "base/LeadByteSet.h"

namespace zozuz {

// Line-break normalisation of a text that arrives in pieces, with exactly the result of normalising
// the whole text at once. Two things can straddle the border between pieces: a CR whose LF, if any,
// opens the next piece, and a lead byte whose trail byte opens it. Both are carried over.
class LineBreakStream {
public:
    explicit LineBreakStream(LeadByteSet leadBytes = LeadByteSet::codePage936()) : leadBytes_(leadBytes) {}

    // Normalises the next piece. The result is the piece itself when nothing in it changes, or else
    // the stream's own buffer; either way it stays valid until the next call, and the caller may
    // change its bytes in place.
    std::span<char> feed(char* data, std::size_t size);
    // Ends the text: a CR left pending at its very end is a lone CR and gets its LF here.
    std::string_view finish();

private:
    LeadByteSet leadBytes_;
    bool pendingCR_ = false;
    bool pendingLead_ = false;
    std::string buffer_;
};

}  // namespace zozuz
