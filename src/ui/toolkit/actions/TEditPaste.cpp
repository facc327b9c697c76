#include "ui/toolkit/actions/TEditPaste.h"

namespace zozuz {

void TEditPaste::UpdateTarget(CommandTarget& target) { SetEnabled(EditorOf(target).ClipboardHasText()); }

void TEditPaste::ExecuteTarget(CommandTarget& target) { EditorOf(target).PasteFromClipboard(); }

}  // namespace zozuz
