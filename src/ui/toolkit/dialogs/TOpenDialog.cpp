#include "ui/toolkit/dialogs/TOpenDialog.h"

#include "app/AppWindow.h"
#include "app/TApplication.h"
#include "base/Assert.h"
#include "platform/host/Host.h"

namespace zozuz {

TOpenDialog::TOpenDialog(TComponent* owner) : TComponent(owner) {
    options_.Include(TOpenOption::ofHideReadOnly);
    options_.Include(TOpenOption::ofEnableSizing);
}

std::vector<FileFilter> TOpenDialog::FilterEntries() const {
    std::vector<FileFilter> entries;
    std::size_t start = 0;
    while (start < filter_.size()) {
        const std::size_t bar = filter_.find('|', start);
        if (bar == std::string::npos) break;
        const std::size_t next = filter_.find('|', bar + 1);
        const std::size_t end = next == std::string::npos ? filter_.size() : next;
        entries.push_back(FileFilter{filter_.substr(start, bar - start), filter_.substr(bar + 1, end - bar - 1)});
        if (next == std::string::npos) break;
        start = next + 1;
    }
    return entries;
}

AppWindow* TOpenDialog::ownerWindow() const {
    for (TComponent* owner = Owner(); owner; owner = owner->Owner())
        if (auto* window = dynamic_cast<AppWindow*>(owner)) return window;
    return nullptr;
}

bool TOpenDialog::Execute() {
    AppWindow* form = ownerWindow();
    ZOZUZ_ASSERT(form != nullptr);
    if (!form) return false;
    FileDialogs& dialogs = form->Application().GetHost().fileDialogs();

    FileDialogRequest request;
    request.owner = form->Native();
    request.title = title_;
    request.filters = FilterEntries();
    const int count = static_cast<int>(request.filters.size());
    request.filterIndex = filterIndex_ >= 1 && filterIndex_ <= count ? filterIndex_ - 1 : 0;
    request.defaultExtension = defaultExt_;
    request.initialFolder = initialDir_ == kDesignedDocumentsFolder ? dialogs.documentsFolder() : initialDir_;
    request.fileName = fileName_;
    request.showReadOnlyBox = !options_.Contains(TOpenOption::ofHideReadOnly);
    request.resizable = options_.Contains(TOpenOption::ofEnableSizing);
    request.overwritePrompt = options_.Contains(TOpenOption::ofOverwritePrompt);
    request.fileMustExist = options_.Contains(TOpenOption::ofFileMustExist);

    const FileDialogResult result = Show(dialogs, request);
    if (!result.confirmed) return false;
    fileName_ = result.path;
    filterIndex_ = result.filterIndex + 1;
    if (result.readOnly)
        options_.Include(TOpenOption::ofReadOnly);
    else
        options_.Exclude(TOpenOption::ofReadOnly);
    return true;
}

FileDialogResult TOpenDialog::Show(FileDialogs& dialogs, const FileDialogRequest& request) {
    return dialogs.openFile(request);
}

bool TOpenDialog::readStoredValue(const StoredValue& value) {
    const std::string& property = value.property;
    const std::string* text = value.as<std::string>();
    const int* number = value.as<int>();
    if (property == "Filter" && text) {
        SetFilter(*text);
    } else if (property == "FilterIndex" && number) {
        SetFilterIndex(*number);
    } else if (property == "DefaultExt" && text) {
        SetDefaultExt(*text);
    } else if (property == "InitialDir" && text) {
        SetInitialDir(*text);
    } else if (property == "Title" && text) {
        SetTitle(*text);
    } else if (property == "FileName" && text) {
        SetFileName(*text);
    } else if (property == "Options" && text) {
        const std::optional<TOpenOptions> options = TOpenOptions::Parse(*text);
        if (!options) throw EStoredLayout("has options " + *text + " that are no dialog options");
        SetOptions(*options);
    } else {
        return TComponent::readStoredValue(value);
    }
    return true;
}

}  // namespace zozuz
