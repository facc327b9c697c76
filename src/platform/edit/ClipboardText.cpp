#include "platform/edit/ClipboardText.h"

#include <cstdint>

#include "base/Utf8Append.h"

namespace zozuz::clipboard_text {

std::string fromBytes(std::string_view bytes, const CharacterKinds& kinds, const CodePageCodec& codec) {
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n;) {
        const auto first = static_cast<std::uint8_t>(bytes[i]);
        if (first == '\r' && i + 1 < n && bytes[i + 1] == '\n') {
            out.push_back('\n');
            i += 2;
            continue;
        }
        // A line break ends a line, so a lead byte right before one stands alone.
        const bool breakFollows = i + 2 < n && bytes[i + 1] == '\r' && bytes[i + 2] == '\n';
        const int second = i + 1 < n && !breakFollows ? static_cast<std::uint8_t>(bytes[i + 1]) : -1;
        const CharacterKinds::Character c = kinds.at(first, second);
        if (c.kind == CharacterKinds::Kind::Box) {
            const bool control = first != 0 && (first < 0x20 || first == 0x7F);
            appendUtf8(out, control ? first : U'\uFFFD');
        } else if (c.kind == CharacterKinds::Kind::Tab) {
            out.push_back('\t');
        } else {
            const auto decoded = codec.decode(bytes.substr(i, static_cast<std::size_t>(c.length)));
            appendUtf8(out, decoded ? *decoded : U'\uFFFD');
        }
        i += static_cast<std::size_t>(c.length);
    }
    return out;
}

std::string toBytes(std::string_view utf8, const LeadByteSet& leadBytes, const CodePageCodec& codec) {
    const std::string bytes = codec.encode(utf8);
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 16);
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char b = bytes[i];
        if (b == '\r') {
            out += "\r\n";
            if (i + 1 < n && bytes[i + 1] == '\n') ++i;
        } else if (b == '\n') {
            out += "\r\n";
        } else if (leadBytes.contains(b) && i + 1 < n) {
            out.push_back(b);
            out.push_back(bytes[++i]);
        } else {
            out.push_back(b);
        }
    }
    return out;
}

}  // namespace zozuz::clipboard_text
