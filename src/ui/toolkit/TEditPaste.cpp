#include "ui/toolkit/TEditPaste.h"

namespace zozuz {

void TEditPaste::UpdateTarget(TControl& target) { SetEnabled(EditorOf(target).ClipboardHasText()); }

void TEditPaste::ExecuteTarget(TControl& target) { EditorOf(target).PasteFromClipboard(); }

}  // namespace zozuz
