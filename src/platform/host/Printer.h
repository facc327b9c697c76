#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "platform/gfx/Font.h"

namespace zozuz {

class NativeWindow;

// A text to print: lines drawn one below the other in one font, broken into pages where a page is
// full. Lines are not wrapped: a line wider than the page is cut at its right edge.
struct PrintJob {
    // The window the print dialog belongs to; null for none.
    NativeWindow* owner = nullptr;
    // The document's name in the printer's queue, UTF-8.
    std::string title;
    Font font;
    std::size_t lineCount = 0;
    // Line `index` (below lineCount), UTF-8, without its line break. Asked for in order, once each,
    // so that a long text need not be held twice.
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
