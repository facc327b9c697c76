#pragma once

#include <string>
#include <vector>

namespace zozuz {

class NativeWindow;

// One entry of a file dialog's type list: the caption the user sees and the name patterns it
// stands for, separated by ";" ("*.txt", "*.txt;*.log"). "*.*" matches every name, also names
// without a dot, as it does on the system the program was made for.
struct FileFilter {
    std::string caption;   // UTF-8
    std::string patterns;  // UTF-8
};

struct FileDialogRequest {
    // The window the dialog belongs to; null for none.
    NativeWindow* owner = nullptr;
    // UTF-8; empty for the desktop's own title ("Open", "Save As").
    std::string title;
    std::vector<FileFilter> filters;
    // The filter selected when the dialog opens, counted from 0.
    int filterIndex = 0;
    // Added, with a dot, to a typed name that has no extension; empty adds nothing.
    std::string defaultExtension;
    // Full paths, UTF-8. The initial file name may be a bare name, which then stands in the
    // initial folder; empty for none.
    std::string initialFolder;
    std::string fileName;

    // Options. Each maps onto one flag of the desktop's dialog where it has one.
    // Whether the dialog shows its "open as read-only" box.
    bool showReadOnlyBox = false;
    bool resizable = true;
    // The save dialog asks before it names an existing file.
    bool overwritePrompt = false;
    // The open dialog accepts only a file that exists.
    bool fileMustExist = false;
};

struct FileDialogResult {
    // False when the user cancelled; the other fields are then empty.
    bool confirmed = false;
    // The full path of the chosen file, UTF-8, default extension added where it applies.
    std::string path;
    // The state of the read-only box (false while the box is hidden).
    bool readOnly = false;
    // The filter selected when the dialog closed.
    int filterIndex = 0;
};

// The desktop's dialogs for choosing a file to open or a name to save to. Each call shows one
// modal dialog and returns once the user closed it; cancelling is an answer, not an error.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;

    virtual FileDialogResult openFile(const FileDialogRequest& request) = 0;
    virtual FileDialogResult saveFile(const FileDialogRequest& request) = 0;

    // The user's folder for documents, as a full path (UTF-8): the desktop's documents folder
    // when the user has one, else the home folder.
    virtual std::string documentsFolder() const = 0;
};

}  // namespace zozuz
