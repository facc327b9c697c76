#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zozuz {

// Conversion between bytes of the system code page (936, GBK) and Unicode, used only at the edges
// where text leaves or enters the program: drawing, typed and input-method text, the clipboard.
// The document itself is never converted. A Windows host answers with MultiByteToWideChar (code page
// 936, reporting invalid characters) and WideCharToMultiByte (with "?" as the default character).
class CodePageCodec {
public:
    virtual ~CodePageCodec() = default;

    // The Unicode character of one character of the code page: one byte, or a lead byte with its
    // trail byte. Nothing when the bytes are not a character of the code page (a lone lead byte, a
    // lead byte with a trail byte that forms no character, a byte the code page leaves undefined).
    virtual std::optional<char32_t> decode(std::string_view character) const = 0;

    // The Unicode text (UTF-8) of a run of code page bytes, divided as the lead bytes say (a lead byte
    // with the byte after it, any other byte alone): each character as decode() gives it, and U+FFFD
    // for each one decode() refuses. This default goes character by character; a codec that can
    // convert a whole run at once does so, with the same result.
    virtual std::string decodeText(std::string_view bytes) const;

    // Unicode text (UTF-8) to code page bytes. Every character the code page cannot hold becomes "?",
    // as the system's own conversion makes it; so does every malformed UTF-8 sequence.
    virtual std::string encode(std::string_view utf8) const = 0;
};

}  // namespace zozuz
