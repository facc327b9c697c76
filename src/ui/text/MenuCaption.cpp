#include "ui/text/MenuCaption.h"

namespace zozuz {

std::size_t characterLengthAt(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 1;
    if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    else if (lead >= 0xE0)
        length = lead <= 0xEF ? 3 : 1;
    else if (lead >= 0xC2)
        length = 2;
    if (at + length > text.size()) return 1;
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 1;
    return length;
}

std::size_t accessKeyMarkOf(std::string_view caption) {
    std::size_t mark = std::string_view::npos;
    std::size_t i = 0;
    while (i < caption.size()) {
        if (caption[i] != '&') {
            i += characterLengthAt(caption, i);
            continue;
        }
        if (i + 1 >= caption.size()) break;  // a trailing "&" marks nothing
        if (caption[i + 1] == '&') {
            i += 2;  // a literal ampersand
            continue;
        }
        mark = i;
        i += 1 + characterLengthAt(caption, i + 1);
    }
    return mark;
}

std::string_view accessKeyOf(std::string_view caption) {
    const std::size_t mark = accessKeyMarkOf(caption);
    if (mark == std::string_view::npos) return {};
    return caption.substr(mark + 1, characterLengthAt(caption, mark + 1));
}

std::string_view firstShownCharacterOf(std::string_view caption) {
    std::size_t i = 0;
    while (i < caption.size() && caption[i] == '&') {
        if (i + 1 < caption.size() && caption[i + 1] == '&') return caption.substr(i, 1);
        ++i;
    }
    if (i >= caption.size()) return {};
    return caption.substr(i, characterLengthAt(caption, i));
}

namespace {

char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool sameAccessKey(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upperAscii(a[i]) != upperAscii(b[i])) return false;
    return true;
}

}  // namespace zozuz
