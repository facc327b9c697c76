#pragma once

#include "platform/host/Printer.h"

namespace zozuz {

// Printing on Windows: the system's print dialog (PrintDlgW, which hands back the chosen printer's
// device context) and GDI text on its pages, in the program's font at the same size in points.
class Win32Printer final : public Printer {
public:
    bool print(const PrintJob& job) override;
};

}  // namespace zozuz
