#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/gfx/Geometry.h"

namespace zozuz {

// The editor's text as a screen reader reads it: Unicode, a piece at a time. Offsets count
// characters: a character of the code page (one byte, or a lead byte with its trail byte) is one,
// whatever Unicode character it stands for (every one of code page 936 lies in the first plane, so it
// is also one UTF-16 unit), and a line break is one, read as "\n". Nothing here converts more than
// the piece asked for, so a large text is never converted whole.
class AccessibleText {
public:
    using Offset = std::int64_t;
    // A range of offsets, start <= end.
    struct Range {
        Offset start = 0;
        Offset end = 0;
        bool operator==(const Range&) const = default;
    };

    virtual ~AccessibleText() = default;

    virtual Offset characterCount() = 0;
    // The text of [start, end) as UTF-8 (clamped to the text): each character as the codec gives it,
    // U+FFFD for bytes that are no character of the code page, "\n" for each line break.
    virtual std::string text(Offset start, Offset end) = 0;
    // The editor line that holds `offset`, without its break (an offset on a break belongs to the
    // line the break ends).
    virtual Range lineAt(Offset offset) = 0;
    // The caret, and the selection (empty at the caret when nothing is selected).
    virtual Offset caret() = 0;
    virtual Range selection() = 0;
    // Selects [anchor, caret) as the user would (the caret may lie before the anchor), scrolling the
    // caret into view; equal offsets just move the caret.
    virtual void setSelection(Offset anchor, Offset caret) = 0;
    // Where a character shows, in the text area's coordinates (empty when it lies out of view), and
    // the character at a point of the text area (-1 when none).
    virtual Rect characterBounds(Offset offset) = 0;
    virtual Offset offsetAt(Point point) = 0;
    // Replaces [start, end) with `utf8` as typing would (one undoable step). Returns false, changing
    // nothing, when the editor refuses (read-only, or beyond its limits).
    virtual bool replace(Offset start, Offset end, std::string_view utf8) = 0;
    virtual bool readOnly() = 0;
};

// What the editor tells its window about its text for screen readers.
struct AccessibleTextChange {
    enum class Kind : std::uint8_t {
        // At `offset`, `removed` characters gave way to `inserted` ones. `removed` is -1 when the
        // editor cannot tell how many went, and both are -1 for several changes told as one (then
        // the host announces a change of the text from `offset` on).
        Text,
        // The caret moved to `offset`.
        Caret,
        // The selection changed; the text reports it.
        Selection,
    };
    Kind kind = Kind::Text;
    AccessibleText::Offset offset = 0;
    AccessibleText::Offset removed = 0;
    AccessibleText::Offset inserted = 0;

    bool operator==(const AccessibleTextChange&) const = default;
};

}  // namespace zozuz
