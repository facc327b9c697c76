#pragma once

#include "platform/host/AccessibleText.h"

namespace zozuz {

// The boundaries a screen reader moves by in the editor's text: characters, words, lines (an
// editor line is also a paragraph) and the whole text. A unit starts at each boundary; the end of
// the text is a boundary too. Each step reads only the line it is on.
class TextUnits {
public:
    enum class Unit { Character, Word, Line, Document };
    using Offset = AccessibleText::Offset;

    explicit TextUnits(AccessibleText& text) : text_(text), count_(text.characterCount()) {}

    Offset count() const { return count_; }
    Offset clamp(Offset offset) const { return offset < 0 ? 0 : offset > count_ ? count_ : offset; }
    // The first boundary after `offset` (the end of the text when none), and the last one before it
    // (0 when none).
    Offset next(Offset offset, Unit unit);
    Offset previous(Offset offset, Unit unit);
    // The start of the unit that holds `offset` (the last unit's at the end of the text).
    Offset unitStart(Offset offset, Unit unit);

private:
    // Words: a run of letters and digits, or a single mark; blanks belong to the word before them.
    enum class Kind { Blank, Letter, Mark, Break };
    Kind kindAt(Offset offset);
    bool wordStartsAt(Offset offset);

    AccessibleText& text_;
    Offset count_;
};

}  // namespace zozuz
