#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/host/FileDialogs.h"

namespace zozuz {

// The headless host's file dialogs: each shown dialog is recorded and takes the next scripted
// answer. An answer names what the user typed or picked; the dialog makes the full path of it as a
// desktop's does (a relative name stands in the dialog's initial folder, and a name without
// extension takes the default extension).
class HeadlessFileDialogs final : public FileDialogs {
public:
    struct Answer {
        bool confirmed = false;
        std::string typedName;
        bool readOnly = false;
        // -1 keeps the filter the dialog opened with.
        int filterIndex = -1;
    };

    struct Record {
        enum class Kind { Open, Save };
        Kind kind = Kind::Open;
        FileDialogRequest request;
        FileDialogResult result;
    };

    // --- FileDialogs ---
    FileDialogResult openFile(const FileDialogRequest& request) override;
    FileDialogResult saveFile(const FileDialogRequest& request) override;
    std::string documentsFolder() const override { return documentsFolder_; }

    // --- Script ---
    // The user confirms `typedName`; unscripted dialogs are cancelled, as by Esc.
    void scriptChoice(std::string typedName, bool readOnly = false) {
        answers_.push_back(Answer{true, std::move(typedName), readOnly, -1});
    }
    void scriptCancel() { answers_.push_back(Answer{}); }
    void scriptAnswer(Answer answer) { answers_.push_back(std::move(answer)); }
    void setDocumentsFolder(std::string folder) { documentsFolder_ = std::move(folder); }
    const std::vector<Record>& dialogs() const { return dialogs_; }

private:
    FileDialogResult show(Record::Kind kind, const FileDialogRequest& request);

    std::deque<Answer> answers_;
    std::vector<Record> dialogs_;
    std::string documentsFolder_ = "/home/user/Documents";
};

}  // namespace zozuz
