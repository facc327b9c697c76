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
    using RequestFlush = std::function<void()>;

    // Listens to the view's control from now on. Changes are gathered as they come and told to
    // `notify` at flush(), which the owner runs soon after `requestFlush` asks (from the event loop),
    // so that a run rewriting every line costs one notice, not one a line. The view, the codec and
    // what the functions reach must outlive the object.
    EditorAccessibleText(EditView& view, const CodePageCodec& codec, Notify notify, RequestFlush requestFlush);
    ~EditorAccessibleText() override;
    EditorAccessibleText(const EditorAccessibleText&) = delete;
    EditorAccessibleText& operator=(const EditorAccessibleText&) = delete;

    // The view moved the caret or changed the selection.
    void caretMoved();
    // Tells `notify` what changed since the last flush: the text (exactly for a single change, else
    // from the first change on, with both counts -1), the selection, the caret.
    void flush();

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
    RequestFlush requestFlush_;
    CharacterKinds kinds_;
    CharacterOffsets offsets_;
    EditControl::ListenerId listener_ = 0;
    // What screen readers were last told of the selection, to tell them only of a change.
    Range lastSelection_;
    // What waits for the next flush.
    struct Pending {
        int changes = 0;
        // The first change, or for several the earliest position any of them touched.
        EditControl::Pos position = 0;
        EditControl::Pos removed = 0;
        EditControl::Pos inserted = 0;
        // The count of characters before the first change, when it was known.
        bool countKnown = false;
        Offset countBefore = 0;
        bool caret = false;
    };
    Pending pending_;
};

}  // namespace zozuz
