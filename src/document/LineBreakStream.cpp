#include "document/LineBreakStream.h"

#include <cstring>

#include "document/LineBreakScan.h"

namespace zozuz {

std::span<char> LineBreakStream::feed(char* data, std::size_t size) {
    if (size == 0) return {};
    std::size_t start = 0;
    // A CR at the end of the previous piece has been passed on already; its LF is either this
    // piece's first byte, which then passes unchanged, or has to be put in front of the piece.
    bool leadingLF = false;
    if (pendingCR_) {
        pendingCR_ = false;
        if (data[0] == '\n') {
            start = 1;
        } else {
            leadingLF = true;
        }
    } else if (pendingLead_) {
        pendingLead_ = false;
        start = 1;  // the trail byte of the previous piece's last character
    }

    std::size_t added = leadingLF ? 1 : 0;
    const detail::LineBreakScanEnd end =
        detail::scanLoneBreaks(data, size, start, leadBytes_, false, [&added](std::size_t) { ++added; });
    pendingCR_ = end.pendingCR;
    pendingLead_ = end.pendingLead;
    if (added == 0) return {data, size};

    buffer_.resize(size + added);
    char* o = buffer_.data();
    if (leadingLF) *o++ = '\n';
    std::size_t copied = 0;
    detail::scanLoneBreaks(data, size, start, leadBytes_, false, [&](std::size_t p) {
        if (data[p] == '\r') {
            std::memcpy(o, data + copied, p + 1 - copied);
            o += p + 1 - copied;
            *o++ = '\n';
        } else {
            std::memcpy(o, data + copied, p - copied);
            o += p - copied;
            *o++ = '\r';
            *o++ = '\n';
        }
        copied = p + 1;
    });
    std::memcpy(o, data + copied, size - copied);
    return {buffer_.data(), buffer_.size()};
}

std::string_view LineBreakStream::finish() {
    pendingLead_ = false;
    if (!pendingCR_) return {};
    pendingCR_ = false;
    return "\n";
}

}  // namespace zozuz
