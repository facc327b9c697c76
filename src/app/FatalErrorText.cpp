#include "app/FatalErrorText.h"

#include <cstdio>

#include "base/Utf8Cut.h"

namespace zozuz {

std::string fatalErrorText(std::string_view className, std::string_view moduleName, std::uint32_t address,
                           std::string_view message) {
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(address));
    std::string text;
    text.reserve(className.size() + moduleName.size() + message.size() + 40);
    text += "Exception ";
    text += className;
    text += " in module ";
    text += moduleName;
    text += " at ";
    text += hex;
    text += ".\n";
    text += message;
    // This box looks only at the last byte, unlike the ordinary error box.
    if (!message.empty() && message.back() != '.') text += '.';
    return std::string(cutUtf8(text, kMaxFatalTextBytes));
}

std::uint32_t errorAddress(std::string_view className) {
    // FNV-1a, kept within the range of addresses an executable image occupies.
    std::uint32_t hash = 2166136261u;
    for (char c : className) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return 0x00400000u | (hash & 0x000FFFF0u);
}

}  // namespace zozuz
