#pragma once

namespace zozuz {

// What the document asks of the window that shows its editor. The host's view answers it; without a
// host (a null pointer) the document only counts its update depth and switches nothing.
class EditorHost {
public:
    virtual ~EditorHost() = default;

    // Whether the editor's window exists; before it does, nothing is switched.
    virtual bool editorWindowExists() const = 0;
    // Switches the editor's painting off while lines change, and on again afterwards.
    virtual void setEditorRedraw(bool on) = 0;
    // Re-applies the editor's own shown or hidden state without moving, sizing, reordering or
    // activating it, then repaints the whole editor before returning.
    virtual void refreshEditor() = 0;
    // Told after the whole text has been replaced.
    virtual void editorTextChanged() {}
};

}  // namespace zozuz
