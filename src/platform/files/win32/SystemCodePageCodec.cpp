#include "platform/files/SystemCodePageCodec.h"

#include <windows.h>

#include <string>

namespace zozuz {

namespace {

constexpr UINT kCodePage = 936;

// The code page's user-defined areas and its one undefined byte (0xFF) come back from the system as
// characters of Unicode's private use area; they stand for no character the program can show or
// convert back, so they count as none, as the C library's table has them.
bool isPrivateUse(wchar_t c) { return c >= 0xE000 && c <= 0xF8FF; }

}  // namespace

SystemCodePageCodec::SystemCodePageCodec() = default;

SystemCodePageCodec::~SystemCodePageCodec() = default;

std::optional<char32_t> SystemCodePageCodec::decode(std::string_view character) const {
    if (character.empty() || character.size() > 2) return std::nullopt;
    wchar_t out[4];
    const int written = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, character.data(),
                                            static_cast<int>(character.size()), out, 4);
    // The bytes must make exactly one character; the code page holds nothing outside the basic plane.
    if (written != 1 || isPrivateUse(out[0])) return std::nullopt;
    return static_cast<char32_t>(out[0]);
}

std::optional<std::string> SystemCodePageCodec::encodeCharacter(char32_t c) const {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) || (c >= 0xE000 && c <= 0xF8FF)) return std::nullopt;
    wchar_t in[2];
    int length = 1;
    if (c >= 0x10000) {
        in[0] = static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
        in[1] = static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        length = 2;
    } else {
        in[0] = static_cast<wchar_t>(c);
    }
    char out[8];
    BOOL usedDefault = FALSE;
    // No best fit: a character the code page lacks must not turn into a look-alike.
    const int written =
        WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, in, length, out, sizeof out, nullptr, &usedDefault);
    if (written <= 0 || usedDefault) return std::nullopt;
    return std::string(out, static_cast<std::size_t>(written));
}

}  // namespace zozuz
