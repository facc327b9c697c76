#include "document/LineBreaks.h"

#include <cstring>

#include "document/LineBreakScan.h"

namespace zozuz {

std::size_t LineBreaks::countLoneBreaks(std::string_view text) const {
    std::size_t count = 0;
    detail::scanLoneBreaks(text.data(), text.size(), 0, leadBytes_, true, [&count](std::size_t) { ++count; });
    return count;
}

NormalisedText LineBreaks::normalise(std::string_view text) const {
    const std::size_t added = countLoneBreaks(text);
    if (added == 0) return NormalisedText(text, std::string(), false);
    std::string out(text.size() + added, '\0');
    normaliseInto(text, out.data());
    return NormalisedText(text, std::move(out), true);
}

std::size_t LineBreaks::normaliseInto(std::string_view text, char* out) const {
    char* o = out;
    std::size_t copied = 0;
    detail::scanLoneBreaks(text.data(), text.size(), 0, leadBytes_, true, [&](std::size_t p) {
        if (text[p] == '\r') {
            std::memcpy(o, text.data() + copied, p + 1 - copied);
            o += p + 1 - copied;
            *o++ = '\n';
        } else {
            std::memcpy(o, text.data() + copied, p - copied);
            o += p - copied;
            *o++ = '\r';
            *o++ = '\n';
        }
        copied = p + 1;
    });
    if (text.size() > copied) std::memcpy(o, text.data() + copied, text.size() - copied);
    return static_cast<std::size_t>(o + (text.size() - copied) - out);
}

std::size_t LineBreaks::normaliseInPlace(char* block, std::size_t offset, std::size_t length) const {
    const char* const text = block + offset;
    std::size_t written = 0;  // the normalised bytes at the block's start
    std::size_t copied = 0;   // the text's bytes they hold
    bool noRoom = false;
    // Each lone break moves the rest of the text one byte nearer its place: after k of them the
    // text's byte p belongs at p + k, before its own place offset + p while k <= offset. The scan
    // looks back over no byte before the last break, so it never reads a byte already written.
    detail::scanLoneBreaks(text, length, 0, leadBytes_, true, [&](std::size_t p) {
        if (noRoom || written - copied == offset) {
            noRoom = true;
            return;
        }
        const bool cr = text[p] == '\r';
        const std::size_t run = p - copied + (cr ? 1 : 0);  // a CR stays, followed by its LF
        if (run != 0) std::memmove(block + written, text + copied, run);
        written += run;
        if (!cr) block[written++] = '\r';
        block[written++] = '\n';
        copied = p + 1;
    });
    if (noRoom) return kNoRoom;
    std::memmove(block + written, text + copied, length - copied);
    return written + length - copied;
}

}  // namespace zozuz
