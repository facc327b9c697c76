#pragma once

#include <cstddef>
#include <cstring>

#include "base/LeadByteSet.h"

namespace zozuz::detail {

// Where a scan of a piece of text stopped, for a caller that feeds the text in pieces.
struct LineBreakScanEnd {
    // The last byte is a CR that is a line break, and whether an LF follows is not known yet.
    bool pendingCR = false;
    // The last byte is a lead byte, so the first byte of the next piece goes along with it.
    bool pendingLead = false;
};

// Finds every lone CR and lone LF in bytes [start, size) of `data`: the line breaks that normalisation
// turns into CR LF. A character starts at `start`. Calls onLone(position) for each of them in order.
//
// Text is mostly bytes that are neither CR nor LF, so the scan jumps from one CR or LF to the next
// with memchr and only then asks whether that byte is the trail of a lead byte. It is exactly when
// the run of lead-set bytes right before it has odd length: the byte before such a run is not a lead
// byte, so whether it ends a character or is itself a trail, the run starts a new character and its
// bytes pair up from its first. The run never reaches back past the previous break, so every byte is
// looked at a bounded number of times and the scan stays linear.
//
// With `final` false a CR in the last byte is not decided but reported as pending; with `final` true
// it is a lone CR.
template <class OnLone>
LineBreakScanEnd scanLoneBreaks(const char* data, std::size_t size, std::size_t start, const LeadByteSet& leadBytes,
                                bool final, OnLone&& onLone) {
    const auto* d = reinterpret_cast<const unsigned char*>(data);
    LineBreakScanEnd end;
    std::size_t sync = start;  // a character is known to start here
    std::size_t pos = start;
    const unsigned char* cr = pos < size ? static_cast<const unsigned char*>(std::memchr(d + pos, '\r', size - pos)) : nullptr;
    const unsigned char* lf = pos < size ? static_cast<const unsigned char*>(std::memchr(d + pos, '\n', size - pos)) : nullptr;
    while (pos < size) {
        if (cr != nullptr && cr < d + pos) cr = static_cast<const unsigned char*>(std::memchr(d + pos, '\r', size - pos));
        if (lf != nullptr && lf < d + pos) lf = static_cast<const unsigned char*>(std::memchr(d + pos, '\n', size - pos));
        const unsigned char* brk = cr == nullptr ? lf : lf == nullptr ? cr : (cr < lf ? cr : lf);
        if (brk == nullptr) break;
        const std::size_t p = static_cast<std::size_t>(brk - d);
        std::size_t runStart = p;
        while (runStart > sync && leadBytes.contains(d[runStart - 1])) --runStart;
        if (((p - runStart) & 1U) != 0) {
            // A lead byte carries this CR or LF along as its trail byte.
            pos = sync = p + 1;
            continue;
        }
        if (d[p] == '\r') {
            if (p + 1 == size) {
                if (final) {
                    onLone(p);
                } else {
                    end.pendingCR = true;
                }
                return end;
            }
            if (d[p + 1] != '\n') onLone(p);
            pos = sync = (d[p + 1] == '\n') ? p + 2 : p + 1;
            continue;
        }
        onLone(p);
        pos = sync = p + 1;
    }
    std::size_t runStart = size;
    while (runStart > sync && leadBytes.contains(d[runStart - 1])) --runStart;
    end.pendingLead = ((size - runStart) & 1U) != 0;
    return end;
}

}  // namespace zozuz::detail
