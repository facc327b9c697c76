#include "hosts/win32/TextUnits.h"

#include <string>

namespace zozuz {

namespace {

// The first code point of a UTF-8 string; 0 for none.
char32_t firstCodePoint(const std::string& utf8) {
    if (utf8.empty()) return 0;
    const auto lead = static_cast<unsigned char>(utf8[0]);
    if (lead < 0x80) return lead;
    const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    char32_t point = lead & (0x3F >> (length - 1));
    for (int i = 1; i < length && i < static_cast<int>(utf8.size()); ++i)
        point = point << 6 | (static_cast<unsigned char>(utf8[static_cast<std::size_t>(i)]) & 0x3F);
    return point;
}

}  // namespace

TextUnits::Kind TextUnits::kindAt(Offset offset) {
    const char32_t c = firstCodePoint(text_.text(offset, offset + 1));
    if (c == U'\n') return Kind::Break;
    if (c == U' ' || c == U'\t' || c == 0x3000) return Kind::Blank;
    if ((c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') || c == U'_') return Kind::Letter;
    // Ideographs and every other character outside ASCII stand alone as words of their own, as
    // Chinese is read; ASCII punctuation does too.
    return Kind::Mark;
}

bool TextUnits::wordStartsAt(Offset offset) {
    if (offset <= 0 || offset >= count_) return true;
    const Kind here = kindAt(offset);
    if (here == Kind::Blank) return false;
    const Kind before = kindAt(offset - 1);
    return here != Kind::Letter || before != Kind::Letter;
}

TextUnits::Offset TextUnits::next(Offset offset, Unit unit) {
    offset = clamp(offset);
    if (offset >= count_) return count_;
    switch (unit) {
        case Unit::Character: return offset + 1;
        case Unit::Word: {
            // A word never runs past the end of its line; the line's break is a word of its own.
            const AccessibleText::Range line = text_.lineAt(offset);
            if (offset >= line.end) return offset + 1;
            for (Offset at = offset + 1; at < line.end; ++at)
                if (wordStartsAt(at)) return at;
            return line.end;
        }
        case Unit::Line: {
            const AccessibleText::Range line = text_.lineAt(offset);
            return line.end < count_ ? line.end + 1 : count_;
        }
        case Unit::Document: return count_;
    }
    return count_;
}

TextUnits::Offset TextUnits::previous(Offset offset, Unit unit) {
    offset = clamp(offset);
    if (offset <= 0) return 0;
    const Offset start = unitStart(offset, unit);
    return start < offset ? start : unitStart(offset - 1, unit);
}

TextUnits::Offset TextUnits::unitStart(Offset offset, Unit unit) {
    offset = clamp(offset);
    switch (unit) {
        case Unit::Character: return offset;
        case Unit::Word: {
            const AccessibleText::Range line = text_.lineAt(offset);
            // The break ending a line is a word of its own.
            if (offset >= line.end) return offset;
            Offset at = offset;
            while (at > line.start && !wordStartsAt(at)) --at;
            return at;
        }
        case Unit::Line: return text_.lineAt(offset).start;
        case Unit::Document: return 0;
    }
    return 0;
}

}  // namespace zozuz
