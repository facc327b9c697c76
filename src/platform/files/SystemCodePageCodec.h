#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/host/CodePageCodec.h"

namespace zozuz {

// Code page 936 through the operating system's own conversion: the C library's iconv ("CP936") on
// POSIX systems, MultiByteToWideChar and WideCharToMultiByte on Windows. Each build compiles only its
// own side. Characters are converted one at a time so that an invalid sequence is reported as such
// and never skipped or replaced behind the caller's back.
class SystemCodePageCodec final : public CodePageCodec {
public:
    SystemCodePageCodec();
    ~SystemCodePageCodec() override;
    SystemCodePageCodec(const SystemCodePageCodec&) = delete;
    SystemCodePageCodec& operator=(const SystemCodePageCodec&) = delete;

    std::optional<char32_t> decode(std::string_view character) const override;
    std::string encode(std::string_view utf8) const override;

    // The code page bytes of one Unicode character; nothing when the code page cannot hold it.
    std::optional<std::string> encodeCharacter(char32_t c) const;

private:
    // The conversion descriptors of a system that keeps state between calls (iconv), opened once and
    // reset before each use; null where the system's conversion keeps none.
    void* toUnicode_ = nullptr;
    void* fromUnicode_ = nullptr;
};

// Reads one character of UTF-8 at `i`, moving `i` past it. A malformed sequence gives nothing and
// moves past one byte.
std::optional<char32_t> readUtf8(std::string_view utf8, std::size_t& i);

}  // namespace zozuz
