#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "editor/CharacterKinds.h"
#include "editor/CharacterOffsets.h"
#include "editor/EditView.h"
#include "platform/host/AccessibleText.h"
#include "platform/host/CodePageCodec.h"

namespace zozuz {

// The editor's text for screen readers: the view's bytes read out as Unicode a piece at a time, the
// caret and the selection in character offsets, and the editing a reader may ask for, done as the
// user's own. Made only once a screen reader asks, so that nobody else pays for its counting.
class EditorAccessibleText final : public AccessibleText {
public:
    using Notify = std::function<void(const AccessibleTextChange&)>;

    // Listens to the view's control from now on and tells `notify` of text changes; the view, the
    // codec and what `notify` reaches must outlive the object.
    EditorAccessibleText(EditView& view, const CodePageCodec& codec, Notify notify);
    ~EditorAccessibleText() override;
    EditorAccessibleText(const EditorAccessibleText&) = delete;
    EditorAccessibleText& operator=(const EditorAccessibleText&) = delete;

    // The view moved the caret or changed the selection: tells `notify` what screen readers follow.
    void caretMoved();

    // The most characters text() converts at one request: a reader asks for lines and words, and a
    // request for more (the whole of a large text) gets its beginning rather than stalling the window.
    static constexpr Offset kMostCharacters = 1 << 20;

    Offset characterCount() override { return offsets_.count(); }
    // At most kMostCharacters of [start, end).
    std::string text(Offset start, Offset end) override;
    Range lineAt(Offset offset) override;
    Offset caret() override { return offsets_.offsetOf(view_.caret()); }
    Range selection() override;
    void setSelection(Offset anchor, Offset caret) override;
    Rect characterBounds(Offset offset) override;
    Offset offsetAt(Point point) override;
    bool replace(Offset start, Offset end, std::string_view utf8) override;
    bool readOnly() override { return view_.edit().readOnly(); }

private:
    void textChanged(EditControl::Pos position, EditControl::Pos removed, EditControl::Pos inserted);

    EditView& view_;
    const CodePageCodec& codec_;
    Notify notify_;
    CharacterKinds kinds_;
    CharacterOffsets offsets_;
    EditControl::ListenerId listener_ = 0;
    // What screen readers were last told of the selection, to tell them only of a change.
    Range lastSelection_;
};

}  // namespace zozuz
