#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace zozuz {

// The version record both executables carry, and their `--version`.
struct VersionRecord {
    static constexpr std::string_view kFileVersion = "1.0.0.1";
    static constexpr std::string_view kProductVersion = "1.0.0.0";
    static constexpr std::string_view kCompanyName = "青禾zozuz";

    // The line `--version` prints, for example "zozuz-cli 1.0.0.1 (product version 1.0.0.0)".
    static std::string line(std::string_view program);

    // When the only argument is --version, prints the line to `out` (standard output) and gives the
    // exit code, 1 when the line could not be written; otherwise gives nothing and prints nothing.
    static std::optional<int> answer(int argc, const char* const* argv, std::string_view program,
                                     std::FILE* out = stdout);
};

}  // namespace zozuz
