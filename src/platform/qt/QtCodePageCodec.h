#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/host/CodePageCodec.h"

namespace zozuz {

// Code page 936 through Qt's "GBK" converter (ICU). ICU gives the user-defined areas of the code
// page, and 0xFF, characters of the private use area; the C library's table, which the program
// follows, holds no characters there, so those bytes count as invalid here too and are shown as
// boxes. Characters are converted one at a time, so an invalid sequence is reported, never hidden.
class QtCodePageCodec final : public CodePageCodec {
public:
    std::optional<char32_t> decode(std::string_view character) const override;
    std::string encode(std::string_view utf8) const override;
};

}  // namespace zozuz
