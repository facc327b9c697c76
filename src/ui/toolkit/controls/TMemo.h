#pragma once

#include <memory>

#include "document/EditorHost.h"
#include "document/TMemoStrings.h"
#include "editor/EditControl.h"
#include "editor/EditorPane.h"
#include "platform/host/Clipboard.h"
#include "platform/host/KeyEvent.h"
#include "platform/host/MouseEvent.h"
#include "ui/toolkit/controls/EditActionTarget.h"
#include "ui/toolkit/controls/TWinControl.h"

namespace zozuz {

// The multi-line editor control. It owns the edit control that holds the document and the line list
// through which the document reaches it; on a form whose host window exists it shows in an editor
// window of the host, which takes the keyboard focus and the input method itself. The control's
// focus bookkeeping and the editor window's focus follow each other. While it holds the focus it is
// the target of the edit commands (cut, copy, paste, undo).
class TMemo : public TWinControl, public EditorHost, public EditActionTarget {
public:
    using Pos = EditControl::Pos;

    explicit TMemo(TComponent* owner = nullptr);
    ~TMemo() override;

    EditControl& Editor() { return editor_; }
    TMemoStrings& Lines() { return lines_; }

    bool ReadOnly() const override { return editor_.readOnly(); }
    void SetReadOnly(bool readOnly) { editor_.setReadOnly(readOnly); }
    // Switching keeps the text and the read-only flag and empties the undo history, as re-creating
    // the system's edit control does.
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wrap);

    // --- What the edit commands ask of the editor ---
    Pos SelLength() const override { return editor_.selectionEnd() - editor_.selectionStart(); }
    bool CanUndo() const override { return editor_.canUndo(); }
    // Asks the desktop's clipboard without reading it; false before the editor window exists.
    bool ClipboardHasText() const override { return clipboard_ && clipboard_->hasText(); }
    void CutToClipboard() override;
    void CopyToClipboard() override;
    void PasteFromClipboard() override;
    void Undo() override;

    // Creates the editor window on the form's host window, when the form's window exists and the
    // memo has none yet; the form calls it once it has made its own.
    void HandleNeeded();
    // The view, while the editor window exists; null before.
    EditView* View() { return pane_ ? &pane_->view() : nullptr; }
    EditorPane* Pane() { return pane_.get(); }
    // The editor window steps aside (hidden while the control stays visible) so that what lies
    // beneath it on the window shows, and comes back.
    void SetWindowShown(bool shown);
    // TWinControl: the editor window covers its place while it shows.
    bool CoversItsPlace() const override { return pane_ && Visible() && windowShown_; }

    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool visible) override;
    // The editor's place on its window's own surface, beneath the editor window. While the editor's
    // redraw is off nothing is painted there, so a control that shares the place (the main window's
    // gauge) shows through once the editor window steps aside.
    void PaintWindow(Surface& surface, const Rect& area) override;
    void KeyDown(const KeyEvent& key) override;
    void MouseInput(const MouseEvent& event) override;
    // A drag selection in progress ends where it stands.
    void CancelMode() override;

    // --- EditorHost ---
    bool editorWindowExists() const override { return pane_ != nullptr; }
    void setEditorRedraw(bool on) override;
    void refreshEditor() override;

protected:
    bool WantsTab() const override { return true; }
    void FocusChanged(bool focused) override;
    void FontChanged() override;

private:
    void placeWindow();

    EditControl editor_;
    TMemoStrings lines_;
    std::unique_ptr<EditorPane> pane_;
    // The host's clipboard, known once the editor window exists; the host outlives the control.
    Clipboard* clipboard_ = nullptr;
    bool wordWrap_ = false;
    bool redraw_ = true;
    // Off while the editor window has stepped aside.
    bool windowShown_ = true;
};

}  // namespace zozuz
