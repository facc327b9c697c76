#include "ui/toolkit/dialogs/TPrintDialog.h"

#include <utility>

#include "app/AppWindow.h"
#include "app/TApplication.h"
#include "base/Assert.h"
#include "platform/host/Host.h"

namespace zozuz {

bool TPrintDialog::Execute(PrintJob job) {
    // The window the dialog belongs to: the first among its owners.
    AppWindow* form = nullptr;
    for (TComponent* owner = Owner(); owner && !form; owner = owner->Owner()) form = dynamic_cast<AppWindow*>(owner);
    ZOZUZ_ASSERT(form != nullptr);
    if (!form) return false;
    job.owner = form->Native();
    return form->Application().GetHost().printer().print(job);
}

}  // namespace zozuz
