#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "editor/CharacterKinds.h"
#include "editor/EditControl.h"
#include "editor/EditKeyMap.h"
#include "editor/LineCache.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Geometry.h"
#include "platform/host/Clipboard.h"
#include "platform/host/CodePageCanvas.h"
#include "platform/host/CodePageCodec.h"
#include "platform/host/CodePageTextMeasure.h"
#include "platform/host/KeyEvent.h"
#include "platform/host/MouseEvent.h"
#include "platform/host/ScrollBarState.h"

namespace zozuz {

// What the view asks of the window that shows it. Every call has an empty default.
class EditViewListener {
public:
    virtual ~EditViewListener() = default;
    // Part of the view needs painting (view coordinates).
    virtual void invalidate(const Rect& /*area*/) {}
    // The scroll bars' ranges, pages or positions changed, or which of them are shown.
    virtual void scrollBarsChanged() {}
    // The caret moved: the input method's candidate window follows it.
    virtual void caretMoved() {}
    // A click asks for the keyboard focus.
    virtual void focusWanted() {}
};

// The colours the view paints with, from the desktop's palette.
struct EditPalette {
    std::uint32_t window = 0xFFFFFF;
    std::uint32_t text = 0x000000;
    std::uint32_t highlight = 0x0078D7;
    std::uint32_t highlightedText = 0xFFFFFF;
    // The frame and digits of the boxes that show bytes which are no character.
    std::uint32_t box = 0x606060;
};

// The editor's behaviour over an EditControl, the same on every host: layout of the visible lines,
// caret stops, keys, selection, mouse, scrolling, word wrap, read-only, undo, the clipboard, the
// input method's text, and the switch that stops painting while a long change runs. A host's editor
// window delivers its events here and paints with paint(); everything the view needs of the
// platform comes through the codec, the measure, the canvas and the clipboard.
//
// The caret never stands inside a double-byte character or between the CR and LF of a line break;
// each byte that is no character is a caret stop of its own. Only the lines in view are laid out.
class EditView {
public:
    using Pos = EditControl::Pos;

    // The pixels between the view's left edge and the text, as the system's edit control leaves them.
    static constexpr int kMargin = 2;
    // Lines scrolled by one notch of the wheel (120 units); finer wheels and touchpads send parts of a
    // notch, which add up to a line per kWheelUnitsPerLine units.
    static constexpr int kWheelLines = 3;
    static constexpr int kWheelUnitsPerLine = 120 / kWheelLines;
    // The bytes of text that one idle step divides under word wrap (whole lines, at least one): a few
    // milliseconds of work.
    static constexpr Pos kWrapSliceBytes = Pos{1} << 20;

    struct Run {
        enum class Kind : std::uint8_t { Text, Tab, Box, Preedit };
        Pos start = 0;  // bytes of the line; a preedit run covers none
        Pos end = 0;
        int x = 0;      // from the start of the line, before horizontal scrolling
        int width = 0;
        Kind kind = Kind::Text;
        bool selected = false;
    };

    struct LineLayout {
        Pos line = 0;   // display line
        Pos start = 0;  // its bytes, without the break
        Pos end = 0;
        int width = 0;
        std::vector<Run> runs;
    };

    // The control, codec, measure and clipboard must outlive the view. Word wrap switched on here
    // measures through the view, so a control left wrapped must not be edited once the view is gone.
    EditView(EditControl& edit, const CodePageCodec& codec, CodePageTextMeasure& measure, Clipboard& clipboard);
    ~EditView();
    EditView(const EditView&) = delete;
    EditView& operator=(const EditView&) = delete;

    void setListener(EditViewListener* listener) { listener_ = listener; }
    EditControl& edit() { return edit_; }

    // --- Appearance ---
    void setFont(const Font& font);
    const Font& font() const { return font_; }
    void setPalette(const EditPalette& palette);
    // The client area; under word wrap a new width divides the lines anew.
    void setViewSize(Size size);
    Size viewSize() const { return size_; }
    int lineHeight() const { return lineHeight_; }

    // --- Painting ---
    // Paints `area` of the view. Paints nothing while redrawing is switched off.
    void paint(CodePageCanvas& canvas, const Rect& area);
    // The lines in view, laid out from the first visible one (a partly visible last line included).
    std::vector<LineLayout> visibleLines();
    LineLayout layoutLine(Pos line, int maxX);
    // While off, nothing is painted and nothing invalidated; switching it on invalidates the view,
    // and brings the caret into view when the program's replacements moved it meanwhile.
    void setRedraw(bool on);
    bool redraw() const { return redraw_; }

    // --- Focus and caret ---
    void setFocused(bool focused);
    bool focused() const { return focused_; }
    // The blinking caret's phase, toggled by the host's timer.
    void setCaretShown(bool shown);
    // The caret's rectangle in view coordinates (also for the input method's candidate window).
    Rect caretRect();
    // The display line the caret is shown on. Under word wrap the end of one display line is the
    // start of the next; after End, or a click past a line's end, the caret shows at the end of the
    // line it was put on, and every other move or edit shows it at the start of the next.
    Pos caretLine() const;

    // --- Input ---
    // A key press (releases are ignored). Returns whether the view used it.
    bool key(const KeyEvent& key);
    // Carries out what a key asks for (see EditKeyMap); `extend` moves the caret keeping the anchor.
    // Returns false for a command that leaves the key to the window.
    bool perform(EditCommand command, bool extend);
    void mouse(const MouseEvent& mouse);
    // The pointer was taken away while the button was held (a box or a modal window came up): the
    // drag selection ends where it stands, and later moves select nothing.
    void cancelDrag() { dragging_ = false; }
    bool dragging() const { return dragging_; }

    // --- Editing commands (also reached by keys) ---
    bool cut();
    bool copy();
    bool paste();
    bool undo();
    bool redo();
    void selectAll();
    // Typed or committed Unicode text, converted to the code page ("?" for what it cannot hold).
    bool typeText(std::string_view utf8);

    // --- Input method ---
    // The text being composed, shown at the caret but never part of the document; empty ends it.
    void setPreedit(std::string_view utf8);
    const std::string& preedit() const { return preeditBytes_; }
    // The composed text: replaces the selection as one undo step.
    bool commitText(std::string_view utf8);
    // The text around the caret for the input method: the caret's display line as Unicode, and the
    // offsets in it of the caret and of the selection's anchor in Unicode characters. An anchor on
    // another line stands at the end of the caret's line nearer to it.
    struct Surrounding {
        std::u32string text;
        int caret = 0;
        int anchor = 0;
    };
    Surrounding surroundingText();

    // --- Caret and selection ---
    Pos caret() const { return edit_.caret(); }
    Pos anchor() const;
    // Selects [anchor, caret), both moved to caret stops, and brings the caret into view.
    void select(Pos anchor, Pos caret);
    // The caret stop at or before a position, and the next and previous stops.
    Pos stopAtOrBefore(Pos position);
    Pos nextStop(Pos position);
    Pos previousStop(Pos position);
    // The position nearest to a point of the view.
    Pos positionAt(Point point);
    // The x of a position in its display line, before horizontal scrolling.
    int xOfPosition(Pos position);
    // The x of the caret in the display line it is shown on.
    int xOfCaret();

    // --- Scrolling ---
    Pos topLine() const { return topLine_; }
    int horizontalOffset() const { return xOffset_; }
    void scrollToLine(Pos line);
    void scrollHorizontally(int offset);
    ScrollBarState verticalScrollBar() const;
    ScrollBarState horizontalScrollBar() const;
    // Whole lines the view shows at once (at least 1).
    Pos visibleRows() const;

    // --- Word wrap ---
    // Switching keeps the text and the selection; the caret stays in view. Only the lines the view
    // shows, and those it goes to, are divided at once; continueWrapping divides the rest.
    void setWordWrap(bool on);
    bool wordWrap() const { return edit_.wordWrap(); }
    // Whether word wrap has lines left to divide.
    bool wrapPending() const { return !edit_.wrapComplete(); }
    // Divides one slice of the lines left (the host calls it in its idle time) and reports the
    // vertical scroll bar's grown range. Returns whether lines remain.
    bool continueWrapping();

private:
    // Marks one of the view's own edits while it runs (see ownEdit_).
    class OwnEdit {
    public:
        explicit OwnEdit(bool& flag) : flag_(flag) { flag_ = true; }
        ~OwnEdit() { flag_ = false; }
        OwnEdit(const OwnEdit&) = delete;
        OwnEdit& operator=(const OwnEdit&) = delete;

    private:
        bool& flag_;
    };

    struct Stop {
        Pos start;
        Pos end;
        CharacterKinds::Kind kind;
    };

    // The display line's bytes, without its break.
    Pos lineStart(Pos line) const { return lines_.line(line).start; }
    Pos lineEnd(Pos line) const;
    // The display line a caret position is shown on.
    Pos lineOf(Pos position) const;
    CharacterKinds::Character characterAt(Pos position, Pos end) const;
    // The characters of [start, end) of one display line, each with its x, up to `maxX`.
    template <typename Visit>
    void forEachCharacter(Pos start, Pos end, Visit visit);
    int widthOf(const CharacterKinds::Character& c, Pos position, int x) const;
    int advanceOf(std::uint8_t first, int second) const;
    std::vector<Stop> stopsOfLine(Pos line);

    // Moves the caret, keeping the anchor when extending; `atRowEnd` shows it at the end of the
    // display line that ends at `position` (see caretLine()).
    void moveCaret(Pos position, bool extend, bool atRowEnd = false);
    void placeSelection(Pos anchor, Pos caret, bool atRowEnd);
    // Whether `position` is the end of a display line that word wrap divided from the next one.
    bool isWrappedRowEnd(Pos line, Pos position) const;
    // The position nearest to a point, and whether it lies past the end of a wrapped display line.
    Pos positionAt(Point point, bool& pastWrappedRowEnd);
    int xInLine(Pos line, Pos position);
    // `line` if it exists, else the nearest line that does.
    Pos existingLine(Pos line) const;
    void ensureCaretVisible();
    void clampScroll();
    // After an edit: the caret onto a stop and into view, and the repaint. With `caretLineOnly` the
    // edit touched only the caret's line, and the control's own report covers the text.
    void changed(bool caretLineOnly = false);
    void invalidateRows(Pos first, Pos last);
    void invalidateAll();
    bool deleteCharacter(bool forward);
    // How many bytes the control's own Delete (forward) or Backspace removes at the caret.
    Pos controlCharacterLength(Pos caret, bool forward) const;
    bool replaceAsOneStep(const std::string& bytes);
    Pos wordRight(Pos position);
    Pos wordLeft(Pos position);
    void selectWordAt(Pos position);
    int characterClass(Pos position);
    void verticalMove(Pos lines, bool extend);
    void drawBox(CodePageCanvas& canvas, int x, int y, int width, std::uint8_t byte, bool selected);
    int wrapWidth() const;

    EditControl& edit_;
    const CodePageCodec& codec_;
    CodePageTextMeasure& measure_;
    Clipboard& clipboard_;
    CharacterKinds kinds_;
    EditViewListener* listener_ = nullptr;
    EditControl::ListenerId listenerId_ = 0;
    // The lines the view read last, with their bytes; it drops them itself whenever the control's
    // lines change (see LineCache).
    mutable LineCache lines_;

    Font font_;
    Font boxFont_;
    EditPalette palette_;
    Size size_;
    int lineHeight_ = 16;
    int tabStop_ = 64;
    int boxWidth_ = 16;
    // Advances measured once: of single bytes and of byte pairs; -1 while unknown.
    mutable std::vector<int> byteAdvances_;
    mutable std::vector<int> pairAdvances_;

    // First display line in view; 0 <= topLine_ < the line count.
    Pos topLine_ = 0;
    // Pixels scrolled sideways; always 0 under word wrap.
    int xOffset_ = 0;
    // The widest line laid out so far: the horizontal scroll bar's range grows with it.
    int widest_ = 0;
    // The x that Up, Down, PgUp and PgDn aim for; -1 takes the caret's own.
    int goalX_ = -1;
    // The caret shows at the end of the display line before its own; this only matters while the
    // caret stands where word wrap divided two display lines (caretLine() checks that each time), and
    // every move and every edit sets it anew.
    bool caretAtRowEnd_ = false;
    bool redraw_ = true;
    // Set while the view's own edit changes the control: that edit brings the caret into view itself
    // once it is done. Every other change is a replacement by the program, which the view follows.
    bool ownEdit_ = false;
    // A replacement by the program moved the caret while redraw was off: it is brought into view
    // when redraw comes back. Cleared whenever the caret is brought into view.
    bool caretToShow_ = false;
    // The line count the view last heard of, and the caret's line at the last painting.
    Pos knownLineCount_ = 1;
    Pos paintedCaretLine_ = 0;
    bool focused_ = false;
    bool caretShown_ = true;
    bool dragging_ = false;
    // Wheel units not yet scrolled: less than a line's worth, with the sign of the last turn's
    // direction (|wheelRemainder_| < kWheelUnitsPerLine between events).
    std::int64_t wheelRemainder_ = 0;
    // The composed text in code-page bytes, shown at the caret.
    std::string preeditBytes_;
};

}  // namespace zozuz
