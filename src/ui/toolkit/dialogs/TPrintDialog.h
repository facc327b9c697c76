#pragma once

#include "platform/host/Printer.h"
#include "ui/toolkit/components/TComponent.h"

namespace zozuz {

// The desktop's print dialog, as a component of a window. On this platform the dialog and the
// printing are one step: the user picks a printer (or a file, such as a PDF file) and confirms, and
// the job goes there at once.
class TPrintDialog : public TComponent {
public:
    explicit TPrintDialog(TComponent* owner = nullptr) : TComponent(owner) {}

    // Shows the dialog once over its window. When the user confirms it, prints `job` and returns
    // true; when the user cancels, prints nothing and returns false. A printer or file that cannot
    // take the job raises EPrinter.
    bool Execute(PrintJob job);
};

}  // namespace zozuz
