#pragma once

#include <cstdint>
#include <string>

#include "platform/gfx/Font.h"
#include "platform/gfx/Geometry.h"
#include "platform/host/AccessibleText.h"
#include "platform/host/CodePageCanvas.h"
#include "platform/host/KeyEvent.h"
#include "platform/host/MouseEvent.h"
#include "platform/host/ScrollBarState.h"

namespace zozuz {

// What an editor window reports to the object that created it, on the user-interface thread.
// Every event has an empty default.
class EditorWindowClient {
public:
    virtual ~EditorWindowClient() = default;

    // A key for the editor, after the top-level window's key preview let it through.
    virtual void key(const KeyEvent&) {}
    // Mouse events over the text area, in its coordinates; while a button is held they follow the
    // pointer also outside it.
    virtual void mouse(const MouseEvent&) {}
    // Paint `area` of the text area; nothing is erased beforehand.
    virtual void paint(CodePageCanvas& /*canvas*/, const Rect& /*area*/) {}
    // The text area (the window without its scroll bars) has a new size.
    virtual void resized(Size /*textArea*/) {}
    virtual void focusChanged(bool /*focused*/) {}
    // The user moved a scroll bar.
    virtual void scrolled(bool /*vertical*/, std::int64_t /*position*/) {}

    // The input method: the text being composed (empty when composing ends), the composed text, and
    // the answers it asks for so that its candidate window follows the caret.
    virtual void preeditChanged(const std::string& /*utf8*/) {}
    virtual void textCommitted(const std::string& /*utf8*/) {}
    virtual Rect caretRect() { return {}; }
    // The font the text shows in, for the input method's window that shows the text being composed.
    virtual Font textFont() { return {}; }
    // The caret's line as UTF-8, and the offsets in it of the caret and of the selection's anchor, in
    // Unicode characters. An anchor on another line stands at the end of this line nearer to it.
    struct SurroundingText {
        std::string utf8;
        int caret = 0;
        int anchor = 0;
    };
    virtual SurroundingText surroundingText() { return {}; }

    // Screen readers: the editor's text, read a piece at a time; null when the client has none. Owned
    // by the client, alive as long as it is.
    virtual AccessibleText* accessibleText() { return nullptr; }
};

// The desktop's colours for an editor: its background and text, and those of selected text.
struct EditorColours {
    std::uint32_t window = 0xFFFFFF;
    std::uint32_t text = 0x000000;
    std::uint32_t highlight = 0x0078D7;
    std::uint32_t highlightedText = 0xFFFFFF;
};

// A child window that shows an editor inside a top-level window: a text area with a vertical and a
// horizontal scroll bar, the keyboard focus and the input method. A Windows host answers it with a
// child window with WS_VSCROLL and WS_HSCROLL, SetScrollInfo, SetFocus and the WM_IME_* messages.
class EditorWindow {
public:
    virtual ~EditorWindow() = default;

    // Bounds in the parent's client coordinates, scroll bars included.
    virtual void setBounds(const Rect& bounds) = 0;
    virtual Rect bounds() const = 0;
    // The text area: the bounds without the scroll bars that are shown.
    virtual Size textAreaSize() const = 0;
    virtual void setVisible(bool visible) = 0;

    virtual void setFocus() = 0;
    virtual bool hasFocus() const = 0;

    // Gives up the pointer this window holds while a button is down over it (ReleaseCapture on
    // Windows), so that the next events go to whatever lies under the pointer. Nothing happens when
    // it holds none.
    virtual void releaseMouse() = 0;

    virtual void setScrollBars(const ScrollBarState& vertical, const ScrollBarState& horizontal) = 0;

    // Deferred painting of part of the text area, and painting all of it before the call returns.
    virtual void invalidate(const Rect& area) = 0;
    virtual void repaintNow() = 0;
    // The caret moved: the input method asks for its rectangle again.
    virtual void caretMoved() = 0;

    // The desktop's colours (GetSysColor on Windows: COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_HIGHLIGHT,
    // COLOR_HIGHLIGHTTEXT).
    virtual EditorColours colours() const = 0;

    // Tells screen readers that the text, the caret or the selection changed
    // (EditorWindowClient::accessibleText). The editor tells only once a screen reader has asked for
    // the text.
    virtual void accessibleTextChanged(const AccessibleTextChange& change) = 0;
};

}  // namespace zozuz
