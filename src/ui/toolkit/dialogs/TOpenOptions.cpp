#include "ui/toolkit/dialogs/TOpenOptions.h"

#include <array>
#include <utility>

namespace zozuz {

namespace {

constexpr std::array<std::pair<std::string_view, TOpenOption>, 5> kNames = {{
    {"ofReadOnly", TOpenOption::ofReadOnly},
    {"ofOverwritePrompt", TOpenOption::ofOverwritePrompt},
    {"ofHideReadOnly", TOpenOption::ofHideReadOnly},
    {"ofFileMustExist", TOpenOption::ofFileMustExist},
    {"ofEnableSizing", TOpenOption::ofEnableSizing},
}};

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

}  // namespace

std::optional<TOpenOptions> TOpenOptions::Parse(std::string_view text) {
    text = trimmed(text);
    if (text.size() >= 2 && text.front() == '[' && text.back() == ']') text = trimmed(text.substr(1, text.size() - 2));
    TOpenOptions options;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view name = trimmed(text.substr(0, comma));
        bool known = false;
        for (const auto& [spelling, option] : kNames) {
            if (name == spelling) {
                options.Include(option);
                known = true;
            }
        }
        if (!known) return std::nullopt;
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return options;
}

}  // namespace zozuz
