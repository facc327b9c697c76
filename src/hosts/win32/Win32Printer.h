#pragma once

#include "platform/host/CodePageCodec.h"
#include "platform/host/Printer.h"

namespace zozuz {

// Printing on Windows: the system's print dialog (PrintDlgW, which hands back the chosen printer's
// device context), and the job laid out within the page's margins and drawn page by page with GDI
// (GdiPrintPainter).
class Win32Printer final : public Printer {
public:
    // `codec` must outlive the printer.
    explicit Win32Printer(const CodePageCodec& codec) : codec_(codec) {}

    bool print(const PrintJob& job) override;

private:
    const CodePageCodec& codec_;
};

}  // namespace zozuz
