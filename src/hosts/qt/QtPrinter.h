#pragma once

#include "platform/host/Printer.h"

class QPrinter;

namespace zozuz {

class QtHost;

// The print dialog and printing on Qt: QPrintDialog (the desktop's printers through CUPS, and
// printing into a PDF file), and the job's lines drawn page by page with QPainter.
class QtPrinter final : public Printer {
public:
    explicit QtPrinter(QtHost& host) : host_(host) {}

    bool print(const PrintJob& job) override;

    // Draws the job onto a printer the dialog has set up: lines from the top of the printable
    // area down, a new page whenever the next line would not fit. Raises EPrinter when the printer
    // or its file cannot take the job.
    static void printOn(QPrinter& printer, const PrintJob& job);

private:
    QtHost& host_;
};

}  // namespace zozuz
