#pragma once

#include "platform/host/CodePageCodec.h"
#include "platform/host/Printer.h"

class QPrinter;

namespace zozuz {

class QtHost;

// The print dialog and printing on Qt: QPrintDialog (the desktop's printers through CUPS, and
// printing into a PDF file), and the job laid out in rows within the page's margins, drawn page by
// page with QPainter.
class QtPrinter final : public Printer {
public:
    explicit QtPrinter(QtHost& host) : host_(host) {}

    bool print(const PrintJob& job) override;

    // Sets a printer up for a job before its dialog shows: the job's name in the queue, and margins
    // of kPrintMarginMillimetres, which the user may change in the dialog's page setup.
    static void prepare(QPrinter& printer, const PrintJob& job);

    // Draws the job onto a printer the dialog has set up, within its margins, decoding the lines
    // with `codec`. Raises EPrinter when the printer or its file cannot take the job.
    static void printOn(QPrinter& printer, const PrintJob& job, const CodePageCodec& codec);

private:
    QtHost& host_;
};

}  // namespace zozuz
