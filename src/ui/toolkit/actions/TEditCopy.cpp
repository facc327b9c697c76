#include "ui/toolkit/actions/TEditCopy.h"

namespace zozuz {

void TEditCopy::UpdateTarget(CommandTarget& target) { SetEnabled(EditorOf(target).SelLength() > 0); }

void TEditCopy::ExecuteTarget(CommandTarget& target) { EditorOf(target).CopyToClipboard(); }

}  // namespace zozuz
