#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <QStringView>

#include "platform/host/CodePageCodec.h"

namespace zozuz {

// Code page 936 through Qt's "GBK" converter (ICU). ICU gives the user-defined areas of the code
// page, and 0xFF, characters of the private use area; the C library's table, which the program
// follows, holds no characters there, so those bytes count as invalid here too and are shown as
// boxes.
//
// Long texts are converted a run at a time, since opening a converter costs far more than a
// character. A run is taken whole only when it converted cleanly, one character for one character
// (and, towards the code page, back again); otherwise it is halved until the characters at fault
// stand alone, and those are converted one at a time. So an invalid sequence is reported exactly as
// a conversion of that character alone reports it, never hidden.
class QtCodePageCodec final : public CodePageCodec {
public:
    std::optional<char32_t> decode(std::string_view character) const override;
    std::string decodeText(std::string_view bytes) const override;
    std::string encode(std::string_view utf8) const override;

private:
    // Appends the UTF-8 of `bytes`, which start and end on character boundaries.
    void appendDecoded(std::string_view bytes, std::string& out) const;
    // Appends the code page bytes of `text`: characters of the Basic Multilingual Plane outside the
    // private use area, none of them U+FFFD.
    void appendEncoded(QStringView text, std::string& out) const;
    // The code page bytes of one character; nothing when the code page cannot hold it.
    std::optional<std::string> encodeCharacter(char16_t c) const;
};

}  // namespace zozuz
