#include "hosts/win32/Win32FileDialogs.h"

#include <algorithm>
#include <string>
#include <vector>

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include "base/Exception.h"
#include "hosts/win32/WideText.h"
#include "hosts/win32/Win32Window.h"

namespace zozuz {

namespace {

// The filter list the dialog takes: caption and patterns, each ending in a zero, the list in two.
std::wstring filterList(const std::vector<FileFilter>& filters) {
    std::wstring list;
    for (const FileFilter& filter : filters) {
        list += toWide(filter.caption);
        list.push_back(L'\0');
        list += toWide(filter.patterns);
        list.push_back(L'\0');
    }
    list.push_back(L'\0');
    return list;
}

FileDialogResult run(const FileDialogRequest& request, bool save) {
    // Long paths fit: the system's limit on a path given to these dialogs.
    std::vector<wchar_t> name(32768, L'\0');
    const std::wstring initialName = toWide(request.fileName);
    if (initialName.size() < name.size()) std::copy(initialName.begin(), initialName.end(), name.begin());
    const std::wstring filters = filterList(request.filters);
    const std::wstring title = toWide(request.title);
    const std::wstring folder = toWide(request.initialFolder);
    std::wstring extension = toWide(request.defaultExtension);
    if (!extension.empty() && extension.front() == L'.') extension.erase(0, 1);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    auto* owner = dynamic_cast<Win32Window*>(request.owner);
    dialog.hwndOwner = owner ? owner->handle() : nullptr;
    dialog.lpstrFilter = request.filters.empty() ? nullptr : filters.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(request.filterIndex + 1);
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    // A name in a folder that does not exist is the program's to refuse, when it fails to create
    // the file; the dialog takes it. The program's working folder stays where it is.
    dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (!request.showReadOnlyBox) dialog.Flags |= OFN_HIDEREADONLY;
    if (request.resizable) dialog.Flags |= OFN_ENABLESIZING;
    if (request.overwritePrompt) dialog.Flags |= OFN_OVERWRITEPROMPT;
    if (request.fileMustExist) dialog.Flags |= OFN_FILEMUSTEXIST;

    const BOOL confirmed = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    FileDialogResult result;
    if (!confirmed) {
        // Cancelling is an answer; a dialog the system could not show is an error.
        if (const DWORD error = CommDlgExtendedError(); error != 0)
            throw EInvalidOperation("The file dialog failed (error " + std::to_string(error) + ")");
        return result;
    }
    result.confirmed = true;
    result.path = fromWide(name.data());
    result.readOnly = request.showReadOnlyBox && (dialog.Flags & OFN_READONLY) != 0;
    result.filterIndex = dialog.nFilterIndex > 0 ? static_cast<int>(dialog.nFilterIndex) - 1 : 0;
    return result;
}

}  // namespace

FileDialogResult Win32FileDialogs::openFile(const FileDialogRequest& request) { return run(request, false); }

FileDialogResult Win32FileDialogs::saveFile(const FileDialogRequest& request) { return run(request, true); }

std::string Win32FileDialogs::documentsFolder() const {
    wchar_t path[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path)) && path[0] != L'\0')
        return fromWide(path);
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, path))) return fromWide(path);
    return {};
}

}  // namespace zozuz
