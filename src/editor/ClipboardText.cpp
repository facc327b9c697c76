#include "editor/ClipboardText.h"

#include <cstdint>

#include "base/Utf8Append.h"

namespace zozuz::clipboard_text {

std::string fromBytes(std::string_view bytes, const CharacterKinds& kinds, const CodePageCodec& codec) {
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    const std::size_t n = bytes.size();
    // Characters, tabs and line breaks are gathered into runs and each run converted at once: a codec
    // converts a long run far faster than its characters one by one. A run holds CR only as part of
    // CR LF, and no character decodes to CR, so each CR LF of the converted run is a line break.
    std::size_t runStart = 0;
    const auto flush = [&](std::size_t end) {
        if (end <= runStart) return;
        const std::string text = codec.decodeText(bytes.substr(runStart, end - runStart));
        for (std::size_t j = 0; j < text.size(); ++j) {
            if (text[j] == '\r' && j + 1 < text.size() && text[j + 1] == '\n') continue;
            out.push_back(text[j]);
        }
    };
    for (std::size_t i = 0; i < n;) {
        const auto first = static_cast<std::uint8_t>(bytes[i]);
        if (first == '\r' && i + 1 < n && bytes[i + 1] == '\n') {
            i += 2;
            continue;
        }
        // A line break ends a line, so a lead byte right before one stands alone.
        const bool breakFollows = i + 2 < n && bytes[i + 1] == '\r' && bytes[i + 2] == '\n';
        const int second = i + 1 < n && !breakFollows ? static_cast<std::uint8_t>(bytes[i + 1]) : -1;
        const CharacterKinds::Character c = kinds.at(first, second);
        const std::size_t length = static_cast<std::size_t>(c.length);
        // A run of characters and tabs divides at the codec as it divides here.
        if (c.kind != CharacterKinds::Kind::Box) {
            i += length;
            continue;
        }
        flush(i);
        const bool control = first != 0 && (first < 0x20 || first == 0x7F);
        appendUtf8(out, control ? first : U'\uFFFD');
        i += length;
        runStart = i;
    }
    flush(n);
    return out;
}

bool isCopiedBytes(std::string_view bytes) { return !bytes.empty() && bytes.find('\0') == std::string_view::npos; }

std::string toBytes(std::string_view utf8, const LeadByteSet& leadBytes, const CodePageCodec& codec) {
    // The system's text clipboard ends at its first zero, and so does a paste: a zero byte in the
    // text would end the line there for every program that reads the saved file.
    const std::string bytes = codec.encode(utf8.substr(0, utf8.find('\0')));
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
