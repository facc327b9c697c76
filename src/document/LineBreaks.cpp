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

}  // namespace zozuz
