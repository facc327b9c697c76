#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "editor/CharacterKinds.h"
#include "editor/CharacterWidths.h"
#include "editor/EditControl.h"
#include "editor/EditKeyMap.h"
#include "editor/LineCache.h"
#include "editor/LineXIndex.h"
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
// each byte that is no character is a caret stop of its own. Only the lines in view are laid out,
// and only the part of them in view: x positions are 64-bit, and long lines keep a sparse index of
// them (LineXIndex), so a key, a click, a repaint or a caret blink costs about a screen's worth of
// bytes however long the line.
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
    // The host's scroll bars count in int: a wider range is reported in steps of a power of two
    // pixels that keep it below this.
    static constexpr std::int64_t kMaxScrollPositions = std::int64_t{1} << 30;
    // The bytes either side of the caret that surroundingText() reads at most.
    static constexpr Pos kSurroundingBytes = 2048;

    struct Run {
        enum class Kind : std::uint8_t { Text, Tab, Box, Preedit };
        Pos start = 0;  // bytes of the line; a preedit run covers none
        Pos end = 0;
        std::int64_t x = 0;  // from the start of the line, before horizontal scrolling
        int width = 0;
        Kind kind = Kind::Text;
        bool selected = false;
    };

    struct LineLayout {
        Pos line = 0;   // display line
        Pos start = 0;  // its bytes, without the break
        Pos end = 0;
        std::int64_t width = 0;  // up to the end of the last run
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
    // The runs of a display line from its character at minX up to its first one past maxX.
    LineLayout layoutLine(Pos line, std::int64_t maxX, std::int64_t minX = 0);
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
    // The text around the caret for the input method: the caret's display line as Unicode (of a long
    // line, the characters within kSurroundingBytes of the caret), and the offsets in it of the caret
    // and of the selection's anchor in Unicode characters. An anchor outside it stands at its end
    // nearer to it.
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
    std::int64_t xOfPosition(Pos position);
    // The x of the caret in the display line it is shown on; remembered while the caret and the
    // layout stay, so that a caret blink measures nothing.
    std::int64_t xOfCaret();

    // --- Scrolling ---
    Pos topLine() const { return topLine_; }
    std::int64_t horizontalOffset() const { return xOffset_; }
    void scrollToLine(Pos line);
    // Scrolls to `offset` pixels.
    void scrollHorizontally(std::int64_t offset);
    ScrollBarState verticalScrollBar() const;
    // In steps of horizontalScrollUnit() pixels: a host turns a position of it into pixels by
    // multiplying.
    ScrollBarState horizontalScrollBar() const;
    std::int64_t horizontalScrollUnit() const;
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

    // --- Long lines ---
    // Lines longer than `bytes` keep checkpoints of x about `bytes` apart (LineXIndex::kDefaultSpacing
    // unless set); tests and fuzzers make it small, so that short lines take the paths of long ones.
    void setCheckpointSpacing(Pos bytes) { index_.setSpacing(bytes); }
    // The bytes the view has walked to find x positions and lay out lines since it was made.
    std::uint64_t walkedBytes() const { return walked_ + index_.walkedBytes(); }

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

    // The display line's bytes, without its break.
    Pos lineStart(Pos line) const { return lines_.line(line).start; }
    Pos lineEnd(Pos line) const;
    // The display line a caret position is shown on.
    Pos lineOf(Pos position) const;
    CharacterKinds::Character characterAt(Pos position, Pos end) const;
    // The character at `position` of a display line that ends at `end`, with its width at x.
    CharacterWidths::Character measuredAt(Pos position, Pos end, std::int64_t x);
    // The characters of a display line from the boundary `start` at x on, each with its x, until
    // `visit` returns false or the line's `end`.
    template <typename Visit>
    void forEachCharacter(Pos start, std::int64_t x, Pos end, Visit visit);
    // The width of the input method's text.
    int preeditWidth();

    // Moves the caret, keeping the anchor when extending; `atRowEnd` shows it at the end of the
    // display line that ends at `position` (see caretLine()).
    void moveCaret(Pos position, bool extend, bool atRowEnd = false);
    void placeSelection(Pos anchor, Pos caret, bool atRowEnd);
    // Whether `position` is the end of a display line that word wrap divided from the next one.
    bool isWrappedRowEnd(Pos line, Pos position) const;
    // The position nearest to a point, and whether it lies past the end of a wrapped display line.
    Pos positionAt(Point point, bool& pastWrappedRowEnd);
    // The position nearest to `x` of a display line.
    Pos positionInLine(Pos line, std::int64_t x, bool& pastWrappedRowEnd);
    std::int64_t xInLine(Pos line, Pos position);
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
    // The start of the character before `position` in display line `line`; `position` itself at the
    // line's start. The characters are read back a piece of the line at a time, from a boundary the
    // index gives, into `pieces`, which the caller keeps across steps back.
    struct StepsBack {
        std::vector<Pos> starts;  // the character starts of the piece read last, up to `to`
        Pos to = -1;
    };
    Pos characterBefore(Pos line, Pos position, StepsBack& pieces);
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
    CharacterWidths widths_;
    EditViewListener* listener_ = nullptr;
    EditControl::ListenerId listenerId_ = 0;
    // The lines the view read last, with their bytes; it drops them itself whenever the control's
    // lines change (see LineCache).
    mutable LineCache lines_;
    LineXIndex index_;
    // The bytes walked outside the index.
    std::uint64_t walked_ = 0;

    Font font_;
    Font boxFont_;
    EditPalette palette_;
    Size size_;
    int lineHeight_ = 16;
    int tabStop_ = 64;
    int boxWidth_ = 16;

    // First display line in view; 0 <= topLine_ < the line count.
    Pos topLine_ = 0;
    // Pixels scrolled sideways; always 0 under word wrap.
    std::int64_t xOffset_ = 0;
    // The widest line laid out so far: the horizontal scroll bar's range grows with it.
    std::int64_t widest_ = 0;
    // The x that Up, Down, PgUp and PgDn aim for; -1 takes the caret's own.
    std::int64_t goalX_ = -1;
    // The caret's x as xOfCaret() last found it, for the caret at `position` shown on `line` while
    // the layout version was `version`; a position of -1 holds nothing (a new font).
    struct CaretX {
        Pos position = -1;
        Pos line = -1;
        std::uint64_t version = 0;
        std::int64_t x = 0;
    };
    CaretX caretX_;
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
