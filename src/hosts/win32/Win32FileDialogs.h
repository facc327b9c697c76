#pragma once

#include <string>

#include "platform/host/FileDialogs.h"

namespace zozuz {

// The system's common dialogs for opening and saving (GetOpenFileNameW, GetSaveFileNameW), with
// paths converted between UTF-8 and the system's UTF-16 at the edge.
class Win32FileDialogs final : public FileDialogs {
public:
    FileDialogResult openFile(const FileDialogRequest& request) override;
    FileDialogResult saveFile(const FileDialogRequest& request) override;
    std::string documentsFolder() const override;
};

}  // namespace zozuz
