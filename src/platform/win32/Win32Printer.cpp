#include "platform/win32/Win32Printer.h"

#include "base/Exception.h"

namespace zozuz {

bool Win32Printer::print(const PrintJob& /*job*/) {
    throw EPrinter("Printing is not available on this system yet");
}

}  // namespace zozuz
