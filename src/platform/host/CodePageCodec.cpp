#include "platform/host/CodePageCodec.h"

#include "base/LeadByteSet.h"
#include "base/Utf8Append.h"

namespace zozuz {

std::string CodePageCodec::decodeText(std::string_view bytes) const {
    constexpr LeadByteSet lead = LeadByteSet::codePage936();
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = lead.contains(bytes[i]) && i + 1 < bytes.size() ? 2 : 1;
        appendUtf8(out, decode(bytes.substr(i, length)).value_or(U'\uFFFD'));
        i += length;
    }
    return out;
}

}  // namespace zozuz
