#include "hosts/headless/HeadlessFileDialogs.h"

#include <utility>

#include "platform/host/FileNamePatterns.h"

namespace zozuz {

FileDialogResult HeadlessFileDialogs::openFile(const FileDialogRequest& request) {
    return show(Record::Kind::Open, request);
}

FileDialogResult HeadlessFileDialogs::saveFile(const FileDialogRequest& request) {
    return show(Record::Kind::Save, request);
}

FileDialogResult HeadlessFileDialogs::show(Record::Kind kind, const FileDialogRequest& request) {
    Answer answer;
    if (!answers_.empty()) {
        answer = std::move(answers_.front());
        answers_.pop_front();
    }
    FileDialogResult result;
    if (answer.confirmed && !answer.typedName.empty()) {
        std::string path = answer.typedName;
        if (path.front() != '/') {
            std::string folder = request.initialFolder.empty() ? documentsFolder_ : request.initialFolder;
            if (!folder.empty() && folder.back() != '/') folder += '/';
            path = folder + path;
        }
        result.confirmed = true;
        result.path = withDefaultExtension(std::move(path), request.defaultExtension);
        // A hidden box cannot be ticked.
        result.readOnly = request.showReadOnlyBox && answer.readOnly;
        result.filterIndex = answer.filterIndex >= 0 ? answer.filterIndex : request.filterIndex;
    }
    dialogs_.push_back(Record{kind, request, result});
    return result;
}

}  // namespace zozuz
