#include "ui/toolkit/dialogs/TSaveDialog.h"

namespace zozuz {

FileDialogResult TSaveDialog::Show(FileDialogs& dialogs, const FileDialogRequest& request) {
    return dialogs.saveFile(request);
}

}  // namespace zozuz
