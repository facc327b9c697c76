#pragma once

#include <cstddef>

#include "base/LeadByteSet.h"

namespace zozuz {

// Counts what line-break normalisation adds to a text that arrives in pieces, with exactly the
// result of counting the whole text at once: the lone CRs and LFs of the whole text, and those
// before its first zero byte, where the loaded text ends. A file is counted this way while it is
// read, so that the room for its normalised text is known before that text is made, and a file
// whose normalised text cannot fit is refused before the rest of it is read.
class LoneBreakCount {
public:
    explicit LoneBreakCount(LeadByteSet leadBytes = LeadByteSet::codePage936()) : leadBytes_(leadBytes) {}

    void feed(const char* data, std::size_t size);
    // Ends the text: a CR left pending at its very end is a lone CR.
    void finish();

    // The bytes fed so far.
    std::size_t length() const { return length_; }
    // The lone CRs and LFs of the whole text: the bytes its normalisation adds.
    std::size_t added() const { return added_; }
    // Where the first zero byte is, or length() while there is none.
    std::size_t firstZero() const { return sawZero_ ? zero_ : length_; }
    // The lone CRs and LFs before the first zero byte.
    std::size_t addedBeforeZero() const { return addedBeforeZero_; }
    // The length of the normalised text up to the first zero byte: what loading the text gives. Fed
    // only part of a text, it is a lower bound for the whole text's.
    std::size_t loadedLength() const { return firstZero() + addedBeforeZero_; }

private:
    void countLone(std::size_t position);

    LeadByteSet leadBytes_;
    std::size_t length_ = 0;
    std::size_t added_ = 0;
    std::size_t addedBeforeZero_ = 0;
    bool sawZero_ = false;
    std::size_t zero_ = 0;  // the first zero byte, once sawZero_
    // The last byte fed is a CR whose LF, if any, opens the next piece; or a lead byte whose trail
    // byte opens it.
    bool pendingCR_ = false;
    bool pendingLead_ = false;
};

}  // namespace zozuz
