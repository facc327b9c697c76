#pragma once

#include <optional>
#include <string>

namespace zozuz {

// The desktop's clipboard, as the editor uses it. What the editor copies is put twice: as Unicode
// text for every other program, and beside it as the exact code-page bytes in a format of the
// program's own, so that copying inside the program, or between two of its windows, keeps every byte.
// A Windows host answers with CF_UNICODETEXT, a format from RegisterClipboardFormat and
// IsClipboardFormatAvailable.
class Clipboard {
public:
    virtual ~Clipboard() = default;

    // Replaces the clipboard's contents. `text` is UTF-8 with "\n" between lines; the host writes the
    // desktop's own line breaks.
    virtual void put(const std::string& text, const std::string& bytes) = 0;
    // Whether plain text is offered, without reading it: asked at every idle step.
    virtual bool hasText() const = 0;
    // The bytes in the program's own format, when the clipboard holds them.
    virtual std::optional<std::string> bytes() const = 0;
    // The offered text as UTF-8, when there is any.
    virtual std::optional<std::string> text() const = 0;
};

}  // namespace zozuz
