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
    // The bytes in the program's own format. Nothing when the format is not offered, and nothing
    // either when it is offered but cannot be read: its owner refuses it, does not answer in time, or
    // sends a record that is cut short. A host waits for a silent owner only briefly where it can.
    virtual std::optional<std::string> bytes() const = 0;
    // The offered text as UTF-8. Nothing when no text is offered or the offered text cannot be read,
    // as for bytes(); an empty string is text that was read and is empty.
    virtual std::optional<std::string> text() const = 0;
};

}  // namespace zozuz
