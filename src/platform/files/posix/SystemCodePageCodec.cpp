#include "platform/files/SystemCodePageCodec.h"

#include <iconv.h>

#include <stdexcept>
#include <string>

namespace zozuz {

namespace {

iconv_t descriptor(void* d) { return static_cast<iconv_t>(d); }

void* open(const char* to, const char* from) {
    const iconv_t d = iconv_open(to, from);
    if (d == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    return d;
}

}  // namespace

SystemCodePageCodec::SystemCodePageCodec()
    : toUnicode_(open("UTF-32LE", "CP936")), fromUnicode_(open("CP936", "UTF-32LE")) {}

SystemCodePageCodec::~SystemCodePageCodec() {
    iconv_close(descriptor(toUnicode_));
    iconv_close(descriptor(fromUnicode_));
}

std::optional<char32_t> SystemCodePageCodec::decode(std::string_view character) const {
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

std::optional<std::string> SystemCodePageCodec::encodeCharacter(char32_t c) const {
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

}  // namespace zozuz
