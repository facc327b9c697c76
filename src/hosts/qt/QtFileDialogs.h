#pragma once

#include <string>
#include <string_view>

#include <QStringList>

#include "platform/host/FileDialogs.h"

namespace zozuz {

class QtHost;

// The open and save dialogs on Qt: QFileDialog, which is the desktop's own dialog where the platform
// theme offers one and Qt's otherwise.
class QtFileDialogs final : public FileDialogs {
public:
    explicit QtFileDialogs(QtHost& host) : host_(host) {}

    FileDialogResult openFile(const FileDialogRequest& request) override;
    FileDialogResult saveFile(const FileDialogRequest& request) override;
    std::string documentsFolder() const override;

    // The name filters Qt is given for the request's filters: the caption, then the patterns in
    // parentheses, which the dialog does not show. "*.*" becomes "*", so that names without a dot
    // are listed too.
    static QStringList nameFilters(const FileDialogRequest& request);
    // The file an open dialog's answer names: a typed name that names no file is tried with the
    // default extension, as the desktop the program was made for does. A link that leads nowhere
    // is still what the user chose, and the error that follows names it.
    static std::string openedPath(std::string path, std::string_view defaultExtension);

private:
    FileDialogResult run(const FileDialogRequest& request, bool save);

    QtHost& host_;
};

}  // namespace zozuz
