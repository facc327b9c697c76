#include "base/VersionRecord.h"

namespace zozuz {

std::string VersionRecord::line(std::string_view program) {
    std::string text(program);
    text += ' ';
    text += kFileVersion;
    text += " (product version ";
    text += kProductVersion;
    text += ")\n";
    return text;
}

std::optional<int> VersionRecord::answer(int argc, const char* const* argv, std::string_view program,
                                          std::FILE* out) {
    if (argc != 2 || std::string_view(argv[1]) != "--version") return std::nullopt;
    const std::string text = line(program);
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    return written && std::fflush(out) == 0 ? 0 : 1;
}

}  // namespace zozuz
