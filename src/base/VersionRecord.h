#pragma once

#include <string>
#include <string_view>

namespace zozuz {

// The version record both executables carry. The build reads the file version from this header
// for the package it makes, so it is written here once.
struct VersionRecord {
    static constexpr std::string_view kFileVersion = "1.0.0.1";
    static constexpr std::string_view kProductVersion = "1.0.0.0";
    static constexpr std::string_view kCompanyName = "青禾zozuz";

    // The line `--version` prints, for example "zozuz-cli 1.0.0.1 (product version 1.0.0.0)".
    static std::string line(std::string_view program) {
        std::string text(program);
        text += ' ';
        text += kFileVersion;
        text += " (product version ";
        text += kProductVersion;
        text += ")\n";
        return text;
    }
};

}  // namespace zozuz
