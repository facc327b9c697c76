#include "ui/toolkit/TEditCopy.h"

namespace zozuz {

void TEditCopy::UpdateTarget(TControl& target) { SetEnabled(EditorOf(target).SelLength() > 0); }

void TEditCopy::ExecuteTarget(TControl& target) { EditorOf(target).CopyToClipboard(); }

}  // namespace zozuz
