#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/LeadByteSet.h"

namespace zozuz::detail {

// Tells whether eight bytes at a time all lie in the lead-byte set, when the set is one range of
// bytes with the top bit set, as code page 936's 0x81 to 0xFE is; other sets are asked byte by byte.
// A line of double-byte characters ends in a long run of lead-range bytes that the scan walks back
// over, and this walks it eight bytes to a step.
class LeadRun {
public:
    explicit LeadRun(const LeadByteSet& leadBytes) : leadBytes_(leadBytes) {
        int lo = -1;
        int hi = -1;
        for (int b = 0; b < 256; ++b) {
            if (!leadBytes.contains(static_cast<std::uint8_t>(b))) continue;
            if (lo < 0) lo = b;
            if (hi >= 0 && hi != b - 1) return;  // not one range
            hi = b;
        }
        if (lo < 0x80 || std::endian::native != std::endian::little) return;
        constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
        belowLow_ = static_cast<std::uint64_t>(0x80 - (lo - 0x80)) * kOnes;
        aboveHigh_ = static_cast<std::uint64_t>(0x7F - (hi - 0x80)) * kOnes;
        wordwise_ = true;
    }

    // The start of the run of lead-set bytes that ends right before `end`, not going below `floor`.
    std::size_t start(const unsigned char* d, std::size_t floor, std::size_t end) const {
        if (wordwise_) {
            constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
            while (end >= floor + 8) {
                std::uint64_t word;
                std::memcpy(&word, d + end - 8, 8);
                const std::uint64_t low = word & ~kHigh;
                // The top bit of each byte that is no lead byte: one without its own top bit, or one
                // whose low seven bits lie below the range's or above it. No sum carries into the
                // next byte.
                const std::uint64_t outside = (~word & kHigh) | (~(low + belowLow_) & kHigh) | ((low + aboveHigh_) & kHigh);
                if (outside != 0) {
                    // The last byte in memory is the word's highest: the lead bytes the run still
                    // has are those above the highest outside byte.
                    return end - static_cast<std::size_t>(std::countl_zero(outside) / 8);
                }
                end -= 8;
            }
        }
        while (end > floor && leadBytes_.contains(d[end - 1])) --end;
        return end;
    }

private:
    const LeadByteSet& leadBytes_;
    bool wordwise_ = false;
    std::uint64_t belowLow_ = 0;
    std::uint64_t aboveHigh_ = 0;
};

// Finds the CRs and LFs of a text in order. Lines are short, so one pass that looks for both bytes
// at once, sixteen bytes to a step, beats two searches that each start over after every line; and
// the CRs and LFs a block of sixteen bytes holds are found with one look at it, so that a text of
// nothing but line breaks costs a step per block, not per break.
class LineBreakBytes {
public:
    LineBreakBytes(const unsigned char* data, std::size_t size) : d_(data), size_(size) {}

    // The first CR or LF at or after `pos` (at most the size), or the size when there is none.
    std::size_t next(std::size_t pos) {
#if defined(__SSE2__)
        if (pos >= base_ && pos < base_ + blockLength_) {
            // Within the block looked at last: its breaks from `pos` on.
            const unsigned rest = mask_ & (~0U << (pos - base_));
            if (rest != 0) return base_ + static_cast<std::size_t>(__builtin_ctz(rest));
            pos = base_ + blockLength_;
        }
        const __m128i cr = _mm_set1_epi8('\r');
        const __m128i lf = _mm_set1_epi8('\n');
        while (size_ - pos >= 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d_ + pos));
            const auto found = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf))));
            if (found != 0) {
                base_ = pos;
                blockLength_ = 16;
                mask_ = found;
                return pos + static_cast<std::size_t>(__builtin_ctz(found));
            }
            pos += 16;
        }
        for (; pos < size_; ++pos) {
            if (d_[pos] == '\r' || d_[pos] == '\n') return pos;
        }
        return size_;
#else
        const std::size_t rest = size_ - pos;
        const auto* cr = static_cast<const unsigned char*>(std::memchr(d_ + pos, '\r', rest));
        const auto* lf = static_cast<const unsigned char*>(std::memchr(d_ + pos, '\n', cr == nullptr ? rest : static_cast<std::size_t>(cr - d_ - pos)));
        const unsigned char* found = lf != nullptr ? lf : cr;
        return found == nullptr ? size_ : static_cast<std::size_t>(found - d_);
#endif
    }

private:
    const unsigned char* d_;
    std::size_t size_;
#if defined(__SSE2__)
    // The block looked at last: its CRs and LFs are the bits of mask_.
    std::size_t base_ = 0;
    std::size_t blockLength_ = 0;
    unsigned mask_ = 0;
#endif
};

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
// and only then asks whether that byte is the trail of a lead byte. It is exactly when
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
    const LeadRun leadRun(leadBytes);
    LineBreakScanEnd end;
    LineBreakBytes breaks(d, size);
    std::size_t sync = start;  // a character is known to start here
    std::size_t pos = start;
    while (pos < size) {
        const std::size_t p = breaks.next(pos);
        if (p == size) break;
        // A break right after the last one has no run of lead bytes to walk back over.
        const std::size_t runStart = p == sync ? p : leadRun.start(d, sync, p);
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
    const std::size_t runStart = leadRun.start(d, sync, size);
    end.pendingLead = ((size - runStart) & 1U) != 0;
    return end;
}

}  // namespace zozuz::detail
