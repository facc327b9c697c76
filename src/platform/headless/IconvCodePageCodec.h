#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/host/CodePageCodec.h"

namespace zozuz {

// Code page 936 through the C library's iconv ("CP936"), one character at a time so that an invalid
// sequence is reported as such and never skipped or replaced behind the caller's back.
class IconvCodePageCodec final : public CodePageCodec {
public:
    IconvCodePageCodec();
    ~IconvCodePageCodec() override;
    IconvCodePageCodec(const IconvCodePageCodec&) = delete;
    IconvCodePageCodec& operator=(const IconvCodePageCodec&) = delete;

    std::optional<char32_t> decode(std::string_view character) const override;
    std::string encode(std::string_view utf8) const override;

    // The code page bytes of one Unicode character; nothing when the code page cannot hold it.
    std::optional<std::string> encodeCharacter(char32_t c) const;

private:
    // iconv conversion descriptors; opened once, reset before each use.
    void* toUnicode_;
    void* fromUnicode_;
};

// Reads one character of UTF-8 at `i`, moving `i` past it. A malformed sequence gives nothing and
// moves past one byte.
std::optional<char32_t> readUtf8(std::string_view utf8, std::size_t& i);

}  // namespace zozuz
