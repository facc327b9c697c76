#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/host/FileDialogs.h"
#include "ui/toolkit/components/TComponent.h"
#include "ui/toolkit/dialogs/TOpenOptions.h"

namespace zozuz {

class AppWindow;

// The desktop's dialog for choosing a file to open, as a component of a window: it keeps its
// settings between showings and remembers the file name last chosen in it, which the next showing
// offers again. It belongs to the window that owns it, which gives it its host.
class TOpenDialog : public TComponent {
public:
    // The folder the program was designed with for the user's documents. Whatever desktop runs, it
    // stands for the user's documents folder there.
    static constexpr const char* kDesignedDocumentsFolder = "C:\\My Documents";

    explicit TOpenDialog(TComponent* owner = nullptr);

    // Captions and patterns in turn, separated by "|": "Text files|*.txt|All files|*.*".
    const std::string& Filter() const { return filter_; }
    void SetFilter(std::string filter) { filter_ = std::move(filter); }
    // The entries of Filter, in order; a caption without patterns after it is left out.
    std::vector<FileFilter> FilterEntries() const;
    // The entry selected when the dialog opens, counted from 1; the dialog sets it to the entry
    // selected when the user confirmed.
    int FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int index) { filterIndex_ = index; }

    // Added, with a dot, to a typed name that has none; empty adds nothing.
    const std::string& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(std::string extension) { defaultExt_ = std::move(extension); }
    // The folder the dialog opens in; kDesignedDocumentsFolder for the user's documents folder.
    const std::string& InitialDir() const { return initialDir_; }
    void SetInitialDir(std::string folder) { initialDir_ = std::move(folder); }
    // Empty for the desktop's own title.
    const std::string& Title() const { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }
    // The name the dialog offers when it opens; after a confirmed showing, the full path chosen.
    const std::string& FileName() const { return fileName_; }
    void SetFileName(std::string name) { fileName_ = std::move(name); }

    // By default the read-only box is hidden and the dialog can be sized. After a confirmed showing,
    // ofReadOnly tells whether the read-only box was ticked.
    const TOpenOptions& Options() const { return options_; }
    void SetOptions(const TOpenOptions& options) { options_ = options; }

    // Shows the dialog modally over its window. Returns true when the user confirmed a name, which
    // then stands in FileName; false when the user cancelled, which changes nothing.
    bool Execute();

protected:
    bool readStoredValue(const StoredValue& value) override;
    // Shows the host's dialog of this kind.
    virtual FileDialogResult Show(FileDialogs& dialogs, const FileDialogRequest& request);

private:
    AppWindow* ownerWindow() const;

    std::string filter_;
    // At least 1 when a showing starts; a value out of range selects the first entry.
    int filterIndex_ = 1;
    std::string defaultExt_;
    std::string initialDir_;
    std::string title_;
    std::string fileName_;
    TOpenOptions options_;
};

}  // namespace zozuz
