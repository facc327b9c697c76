#include "platform/headless/IconvCodePageCodec.h"

#include <iconv.h>

#include <cstdint>
#include <stdexcept>

namespace zozuz {

namespace {

iconv_t descriptor(void* d) { return static_cast<iconv_t>(d); }

void* open(const char* to, const char* from) {
    const iconv_t d = iconv_open(to, from);
    if (d == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    return d;
}

}  // namespace

std::optional<char32_t> readUtf8(std::string_view utf8, std::size_t& i) {
    const auto lead = static_cast<std::uint8_t>(utf8[i++]);
    if (lead < 0x80) return lead;
    int more;
    char32_t c;
    char32_t smallest;
    if ((lead & 0xE0) == 0xC0) {
        more = 1, c = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        more = 2, c = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        more = 3, c = lead & 0x07, smallest = 0x10000;
    } else {
        return std::nullopt;
    }
    std::size_t j = i;
    for (int k = 0; k < more; ++k, ++j) {
        if (j >= utf8.size() || (static_cast<std::uint8_t>(utf8[j]) & 0xC0) != 0x80) return std::nullopt;
        c = c << 6 | (static_cast<std::uint8_t>(utf8[j]) & 0x3F);
    }
    if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    i = j;
    return c;
}

IconvCodePageCodec::IconvCodePageCodec()
    : toUnicode_(open("UTF-32LE", "CP936")), fromUnicode_(open("CP936", "UTF-32LE")) {}

IconvCodePageCodec::~IconvCodePageCodec() {
    iconv_close(descriptor(toUnicode_));
    iconv_close(descriptor(fromUnicode_));
}

std::optional<char32_t> IconvCodePageCodec::decode(std::string_view character) const {
    if (character.empty() || character.size() > 2) return std::nullopt;
    iconv(descriptor(toUnicode_), nullptr, nullptr, nullptr, nullptr);
    char in[2] = {character[0], character.size() > 1 ? character[1] : '\0'};
    char out[8];
    char* inPtr = in;
    char* outPtr = out;
    std::size_t inLeft = character.size();
    std::size_t outLeft = sizeof out;
    const std::size_t result = iconv(descriptor(toUnicode_), &inPtr, &inLeft, &outPtr, &outLeft);
    // The bytes must make exactly one character, all of them used.
    if (result == static_cast<std::size_t>(-1) || inLeft != 0 || sizeof out - outLeft != 4) return std::nullopt;
    const auto* b = reinterpret_cast<const unsigned char*>(out);
    return static_cast<char32_t>(b[0] | b[1] << 8 | b[2] << 16 | static_cast<char32_t>(b[3]) << 24);
}

std::optional<std::string> IconvCodePageCodec::encodeCharacter(char32_t c) const {
    iconv(descriptor(fromUnicode_), nullptr, nullptr, nullptr, nullptr);
    char in[4] = {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8 & 0xFF), static_cast<char>(c >> 16 & 0xFF),
                  static_cast<char>(c >> 24 & 0xFF)};
    char out[8];
    char* inPtr = in;
    char* outPtr = out;
    std::size_t inLeft = 4;
    std::size_t outLeft = sizeof out;
    const std::size_t result = iconv(descriptor(fromUnicode_), &inPtr, &inLeft, &outPtr, &outLeft);
    if (result == static_cast<std::size_t>(-1) || inLeft != 0 || outLeft == sizeof out) return std::nullopt;
    return std::string(out, sizeof out - outLeft);
}

std::string IconvCodePageCodec::encode(std::string_view utf8) const {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::optional<char32_t> c = readUtf8(utf8, i);
        if (c && *c < 0x80) {
            out.push_back(static_cast<char>(*c));
            continue;
        }
        const std::optional<std::string> bytes = c ? encodeCharacter(*c) : std::nullopt;
        out += bytes ? *bytes : std::string("?");
    }
    return out;
}

}  // namespace zozuz
