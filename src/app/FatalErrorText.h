#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zozuz {

// The caption of the box that reports an error the program cannot carry on from.
inline constexpr std::string_view kFatalErrorCaption = "Application Error";
inline constexpr std::size_t kMaxFatalTextBytes = 1023;
inline constexpr std::size_t kMaxFatalCaptionBytes = 63;

// The text of that box: "Exception <class> in module <module> at <address>.\n<message>" followed by
// "." when the message is not empty and its last byte is not already ".". The address is written as
// eight upper-case hexadecimal digits. The text is cut to kMaxFatalTextBytes bytes, never inside a
// character.
std::string fatalErrorText(std::string_view className, std::string_view moduleName, std::uint32_t address,
                           std::string_view message);

// A stable stand-in for the code address at which an error of a class was raised: this platform's
// executable layout gives no meaningful one, and a value that differs between error classes still
// helps tell reports apart.
std::uint32_t errorAddress(std::string_view className);

}  // namespace zozuz
