#include "document/LoneBreakCount.h"

#include <cstring>

#include "document/LineBreakScan.h"

namespace zozuz {

void LoneBreakCount::countLone(std::size_t position) {
    ++added_;
    if (!sawZero_ || position < zero_) ++addedBeforeZero_;
}

void LoneBreakCount::feed(const char* data, std::size_t size) {
    if (size == 0) return;
    // The zero byte is looked for first, so that every break of this piece is placed before or
    // after it.
    if (!sawZero_) {
        if (const void* zero = std::memchr(data, '\0', size)) {
            sawZero_ = true;
            zero_ = length_ + static_cast<std::size_t>(static_cast<const char*>(zero) - data);
        }
    }
    std::size_t start = 0;
    if (pendingCR_) {
        // The CR that ended the previous piece is lone unless this piece opens with its LF.
        pendingCR_ = false;
        if (data[0] == '\n') {
            start = 1;
        } else {
            countLone(length_ - 1);
        }
    } else if (pendingLead_) {
        pendingLead_ = false;
        start = 1;  // the trail byte of the previous piece's last character
    }
    // Counted in locals, which the compiler keeps in registers: the text's bytes could be this
    // object's for all it knows.
    // The first zero byte within this piece: at its start when an earlier piece had it, past its
    // end when none has come yet.
    const std::size_t zero = !sawZero_ ? size : zero_ >= length_ ? zero_ - length_ : 0;
    std::size_t added = 0;
    std::size_t beforeZero = 0;
    const detail::LineBreakScanEnd end = detail::scanLoneBreaks(data, size, start, leadBytes_, false, [&](std::size_t p) {
        ++added;
        beforeZero += p < zero ? 1 : 0;
    });
    added_ += added;
    addedBeforeZero_ += beforeZero;
    pendingCR_ = end.pendingCR;
    pendingLead_ = end.pendingLead;
    length_ += size;
}

void LoneBreakCount::finish() {
    pendingLead_ = false;
    if (!pendingCR_) return;
    pendingCR_ = false;
    countLone(length_ - 1);
}

}  // namespace zozuz
