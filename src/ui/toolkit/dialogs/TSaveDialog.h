#pragma once

#include "ui/toolkit/dialogs/TOpenDialog.h"

namespace zozuz {

// The desktop's dialog for choosing a name to save to; settings and remembered name as the open
// dialog's. Without ofOverwritePrompt it names an existing file without asking: the command that
// shows it decides what to ask.
class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent* owner = nullptr) : TOpenDialog(owner) {}

protected:
    FileDialogResult Show(FileDialogs& dialogs, const FileDialogRequest& request) override;
};

}  // namespace zozuz
