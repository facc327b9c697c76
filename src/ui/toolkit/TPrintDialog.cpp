#include "ui/toolkit/TPrintDialog.h"

#include <utility>

#include "base/Assert.h"
#include "platform/host/Host.h"
#include "ui/toolkit/TForm.h"

namespace zozuz {

bool TPrintDialog::Execute(PrintJob job) {
    TForm* form = nullptr;
    for (TComponent* owner = Owner(); owner && !form; owner = owner->Owner()) form = dynamic_cast<TForm*>(owner);
    ZOZUZ_ASSERT(form != nullptr);
    if (!form) return false;
    job.owner = form->Native();
    return form->Application().GetHost().printer().print(job);
}

}  // namespace zozuz
