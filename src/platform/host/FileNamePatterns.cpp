#include "platform/host/FileNamePatterns.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace zozuz {

namespace {

char folded(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Wildcard matching without recursion: on a mismatch the last "*" takes one more character. Each
// star restarts at most once per position of the name, so the cost is linear in practice and at
// worst the product of the two lengths.
bool wildcardMatches(std::string_view pattern, std::string_view name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t star = std::string_view::npos;
    std::size_t resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || folded(pattern[p]) == folded(name[n]))) {
            ++p;
            ++n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace

bool fileNameMatches(std::string_view patterns, std::string_view name) {
    while (true) {
        const std::size_t end = patterns.find(';');
        std::string_view pattern = patterns.substr(0, end);
        while (!pattern.empty() && pattern.front() == ' ') pattern.remove_prefix(1);
        while (!pattern.empty() && pattern.back() == ' ') pattern.remove_suffix(1);
        // A name need not hold a dot on this desktop; "*.*" keeps meaning "every file".
        if (pattern == "*.*" || pattern == "*") return true;
        if (!pattern.empty() && wildcardMatches(pattern, name)) return true;
        if (end == std::string_view::npos) return false;
        patterns.remove_prefix(end + 1);
    }
}

std::string withDefaultExtension(std::string path, std::string_view extension) {
    if (extension.empty()) return path;
    const std::size_t slash = path.find_last_of('/');
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = path.find_last_of('.');
    // A leading dot names a hidden file, not an extension.
    if (dot != std::string::npos && dot > start) return path;
    path += '.';
    path += extension;
    return path;
}

}  // namespace zozuz
