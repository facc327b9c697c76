#include "app/ApplicationTitle.h"

#include "base/Utf8Cut.h"

namespace zozuz {

std::string moduleNameFromPath(std::string_view path) {
    // Windows names folders with backslashes, Linux with slashes; either ends the folder part.
    const std::size_t slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string titleFromExecutablePath(std::string_view path) {
    std::string name = moduleNameFromPath(path);
    const std::size_t dot = name.find('.');
    if (dot != std::string::npos) name.erase(dot);
    name = std::string(cutUtf8(name, kMaxTitleBytes));
    if (name.empty()) return name;
    // Only ASCII letters are lower-cased: the bytes of a multi-byte character are left alone, so
    // none of them can be turned into another character by accident.
    const std::size_t first = utf8CharLength(static_cast<unsigned char>(name[0]));
    for (std::size_t i = first; i < name.size(); ++i) {
        if (name[i] >= 'A' && name[i] <= 'Z') name[i] = static_cast<char>(name[i] - 'A' + 'a');
    }
    return name;
}

}  // namespace zozuz
