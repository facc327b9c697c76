#pragma once

#include "platform/host/Printer.h"

namespace zozuz {

// Printing on Windows. Not available yet on this system: a print raises EPrinter at once rather
// than pretend to print.
class Win32Printer final : public Printer {
public:
    bool print(const PrintJob& job) override;
};

}  // namespace zozuz
