#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "platform/gfx/Font.h"

namespace zozuz {

class NativeWindow;

// The margins of a printed page on every side, unless the user set others in the print dialog.
inline constexpr double kPrintMarginMillimetres = 20.0;

// A text to print in one font: each line is broken into rows within the page's printable width
// (never inside a character, and nothing is cut), the rows fill page after page, and each page shows
// its number centred at its foot.
struct PrintJob {
    // The window the print dialog belongs to; null for none.
    NativeWindow* owner = nullptr;
    // The document's name in the printer's queue, UTF-8.
    std::string title;
    Font font;
    std::size_t lineCount = 0;
    // Line `index` (below lineCount): bytes of the system code page, without its line break. Bytes
    // that are no character print as boxes with their hex values. Asked for in order, once each, so
    // that a long text need not be held twice.
    std::function<std::string(std::size_t index)> line;
};

// The desktop's print dialog and its printers.
class Printer {
public:
    virtual ~Printer() = default;

    // Shows the print dialog once. When the user confirms it, prints the job on the chosen printer
    // (or into the file the dialog names, such as a PDF file) and returns true; when the user
    // cancels, prints nothing and returns false. A printer or file that cannot take the job raises
    // EPrinter (base/Exception.h).
    virtual bool print(const PrintJob& job) = 0;
};

}  // namespace zozuz
