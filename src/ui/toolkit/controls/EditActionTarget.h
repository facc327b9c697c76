#pragma once

#include <cstdint>

namespace zozuz {

// What an editor control offers the edit commands (cut, copy, paste, undo). A control that
// implements it can become the target of those commands while it holds the keyboard focus; the
// commands ask it about its state when they refresh and send it the command when they run.
class EditActionTarget {
public:
    virtual ~EditActionTarget() = default;

    // The end minus the start of the current selection; greater than 0 when text is selected.
    virtual std::int64_t SelLength() const = 0;
    // Whether the last change can be undone.
    virtual bool CanUndo() const = 0;
    // Whether the clipboard offers plain text that a paste would insert.
    virtual bool ClipboardHasText() const = 0;
    // Whether the user may change the text. The commands do not ask it: what cut and paste do on a
    // read-only editor is the editor's concern.
    virtual bool ReadOnly() const = 0;

    // The selection moves to the clipboard.
    virtual void CutToClipboard() = 0;
    // The selection is copied to the clipboard.
    virtual void CopyToClipboard() = 0;
    // The clipboard's text replaces the selection.
    virtual void PasteFromClipboard() = 0;
    // The last change is undone.
    virtual void Undo() = 0;
};

}  // namespace zozuz
