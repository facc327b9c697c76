#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "EditViewFixture.h"

namespace zozuz {
namespace {

using testing::EditViewRig;
using Kind = EditView::Run::Kind;
using Pos = EditControl::Pos;

// "a", a double-byte character, a lead byte whose trail byte (a space) forms nothing, zero, 0x80,
// 0xFF, a lone LF, a tab, then a line break and a lone lead byte at the end of the text.
const std::string kMixed = std::string("a\xD6\xD0\x81 ") + '\0' + "\x80\xFF\n\tz\r\n\xB0";

std::vector<Pos> stopsToTheRight(EditViewRig& rig) {
    std::vector<Pos> stops{rig.view.caret()};
    for (int i = 0; i < 40 && rig.view.caret() < rig.edit.textLength(); ++i) {
        rig.press(vk::Right);
        stops.push_back(rig.view.caret());
    }
    return stops;
}

TEST(EditViewCaret, StepsOverWholeCharactersBoxesAndBreaks) {
    EditViewRig rig;
    rig.setText(kMixed);
    const std::vector<Pos> expected{0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14};
    EXPECT_EQ(stopsToTheRight(rig), expected);
    std::vector<Pos> back{rig.view.caret()};
    while (rig.view.caret() > 0) {
        rig.press(vk::Left);
        back.push_back(rig.view.caret());
    }
    EXPECT_EQ(back, std::vector<Pos>(expected.rbegin(), expected.rend()));
}

TEST(EditViewCaret, PositionsInsideACharacterOrABreakFallBackToItsStart) {
    EditViewRig rig;
    rig.setText(kMixed);
    EXPECT_EQ(rig.view.stopAtOrBefore(2), 1);   // inside the double-byte character
    EXPECT_EQ(rig.view.stopAtOrBefore(12), 11);  // between CR and LF
    rig.view.select(2, 12);
    EXPECT_EQ(rig.edit.selectionStart(), 1);
    EXPECT_EQ(rig.edit.selectionEnd(), 11);
    // A run of lead bytes pairs up from its start.
    rig.setText("\xB0\xA1\xB0\xA1\xB0\xA1");
    EXPECT_EQ(rig.view.stopAtOrBefore(5), 4);
    EXPECT_EQ(rig.view.previousStop(6), 4);
}

// The view keeps the lines it read last: a change the program makes on the control itself, one that
// keeps the line's length included, and a wrap width set on the control must be seen at once.
TEST(EditViewCaret, SeesChangesMadeOnTheControlItselfAtOnce) {
    EditViewRig rig;
    rig.setText("abcd");
    EXPECT_EQ(rig.view.nextStop(0), 1);
    rig.edit.setSelection(0, 2);
    rig.edit.replaceSelection("\xB0\xA1", false);
    EXPECT_EQ(rig.view.nextStop(0), 2);
    EXPECT_EQ(rig.view.stopAtOrBefore(1), 0);
    rig.setText("aaaa bbbb cccc");
    rig.view.setWordWrap(true);
    EXPECT_EQ(rig.view.xOfPosition(10), 10 * EditViewRig::kAdvance);
    rig.edit.setWrapWidth(5 * EditViewRig::kAdvance);
    EXPECT_EQ(rig.view.xOfPosition(10), 0);  // "cccc" is a display line of its own now
}

TEST(EditViewLayout, RunsCarryTheirKindsAndPositions) {
    EditViewRig rig;
    rig.setText(kMixed);
    const EditView::LineLayout line = rig.view.layoutLine(0, 10000);
    struct Expect {
        Pos start, end;
        int x, width;
        Kind kind;
    };
    const int a = EditViewRig::kAdvance;
    const int box = EditViewRig::kBoxWidth;
    const int boxes = a * 3 + box * 4;
    const std::vector<Expect> expected{
        {0, 3, 0, 2 * a, Kind::Text},       // "a" and the double-byte character in one run
        {3, 4, 2 * a, box, Kind::Box},      // the lead byte without a character
        {4, 5, 2 * a + box, a, Kind::Text}, // its trail byte, a space, on its own
        {5, 6, 3 * a + box, box, Kind::Box},
        {6, 7, 3 * a + 2 * box, a, Kind::Text},   // 0x80, the euro sign
        {7, 8, 4 * a + 2 * box, box, Kind::Box},
        {8, 9, 4 * a + 3 * box, box, Kind::Box},  // the lone LF
        {9, 10, boxes + a, 96 - (boxes + a) % 96, Kind::Tab},
        {10, 11, 96 * ((boxes + a) / 96 + 1), a, Kind::Text},
    };
    ASSERT_EQ(line.runs.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(line.runs[i].start, expected[i].start);
        EXPECT_EQ(line.runs[i].end, expected[i].end);
        EXPECT_EQ(line.runs[i].x, expected[i].x);
        EXPECT_EQ(line.runs[i].width, expected[i].width);
        EXPECT_EQ(line.runs[i].kind, expected[i].kind);
    }
    const EditView::LineLayout last = rig.view.layoutLine(1, 10000);
    ASSERT_EQ(last.runs.size(), 1u);
    EXPECT_EQ(last.runs[0].kind, Kind::Box);  // a lead byte that ends the text stands alone
}

TEST(EditViewLayout, OnlyTheLinesInViewAreLaidOut) {
    EditViewRig rig({240, 64});
    std::string text;
    for (int i = 0; i < 1000; ++i) text += "line\r\n";
    rig.setText(text);
    rig.view.scrollToLine(500);
    const auto lines = rig.view.visibleLines();
    ASSERT_EQ(lines.size(), 5u);  // four whole rows and the one partly shown below them
    EXPECT_EQ(lines.front().line, 500);
    EXPECT_EQ(lines.front().start, 500 * 6);
}

TEST(EditViewPaint, DrawsSelectionBoxesAndNothingWhileRedrawIsOff) {
    EditViewRig rig({120, 32});
    EditPalette palette;
    palette.highlight = 0x0000FF;
    palette.box = 0x00FF00;
    rig.view.setPalette(palette);
    rig.setText(std::string("ab") + '\0');
    rig.view.select(1, 2);
    Image image(120, 32);
    ImageCodePageCanvas canvas(image, image.bounds(), rig.text);
    rig.view.paint(canvas, image.bounds());
    const int m = EditView::kMargin;
    EXPECT_EQ(image.pixel(m + 12 + 11, 0), 0x0000FFu);  // beside the glyph of the selected "b"
    EXPECT_EQ(image.pixel(m + 11, 0), 0xFFFFFFu);       // "a" not selected
    EXPECT_EQ(image.pixel(m + 24 + 1, 8), 0x00FF00u);  // the left side of the zero byte's box

    Image untouched(120, 32);
    ImageCodePageCanvas other(untouched, untouched.bounds(), rig.text);
    rig.view.setRedraw(false);
    rig.view.paint(other, untouched.bounds());
    EXPECT_EQ(untouched.pixel(0, 0), 0u);
}

struct RecordingListener : EditViewListener {
    int invalidations = 0;
    int focusRequests = 0;
    std::vector<Rect> areas;
    void invalidate(const Rect& area) override {
        ++invalidations;
        areas.push_back(area);
    }
    void focusWanted() override { ++focusRequests; }
    void caretMoved() override { ++caretMoves; }
    int caretMoves = 0;
};

TEST(EditViewRedraw, ChangesWhileOffInvalidateNothingAndSwitchingOnInvalidatesOnce) {
    EditViewRig rig;
    RecordingListener listener;
    rig.view.setListener(&listener);
    rig.view.setRedraw(false);
    rig.edit.setText("one\r\ntwo");
    rig.edit.setSelection(5, 8);
    rig.edit.replaceSelection("three", false);
    rig.type("x");
    EXPECT_EQ(listener.invalidations, 0);
    rig.view.setRedraw(true);
    EXPECT_EQ(listener.invalidations, 1);
    rig.type("y");
    EXPECT_GT(listener.invalidations, 1);
}

TEST(EditViewRedraw, TypingRepaintsItsLineAndABreakEverythingBelow) {
    EditViewRig rig({240, 160});
    rig.setText("one\r\ntwo\r\nthree", 6);
    RecordingListener listener;
    rig.view.setListener(&listener);
    Image image(240, 160);
    ImageCodePageCanvas canvas(image, image.bounds(), rig.text);
    rig.view.paint(canvas, image.bounds());
    rig.type("x");
    for (const Rect& area : listener.areas) EXPECT_EQ(area, (Rect{0, 16, 240, 32}));
    listener.areas.clear();
    rig.press(vk::Return);
    ASSERT_FALSE(listener.areas.empty());
    EXPECT_EQ(listener.areas.front(), (Rect{0, 16, 240, 160}));
}

TEST(EditViewKeys, BackspaceAndDeleteRemoveWholeCharacters) {
    EditViewRig rig;
    rig.setText("a\xD6\xD0\r\nb", 5);
    rig.press(vk::Back);
    EXPECT_EQ(rig.edit.text(), "a\xD6\xD0" "b");
    rig.press(vk::Back);
    EXPECT_EQ(rig.edit.text(), "ab");
    rig.setText("\x81 x\xD6\xD0", 0);
    rig.press(vk::Delete);  // only the lead byte: its trail byte forms no character with it
    EXPECT_EQ(rig.edit.text(), " x\xD6\xD0");
    rig.view.select(2, 2);
    rig.press(vk::Delete);
    EXPECT_EQ(rig.edit.text(), " x");
    // The control would pair these lead bytes by their count and take only the last byte; the
    // view's character is the whole of the last pair, because the first two bytes form nothing.
    rig.setText("\xA1\x81\xB0\xD6\xD0", 5);
    rig.press(vk::Back);
    EXPECT_EQ(rig.edit.text(), "\xA1\x81\xB0");
    // A run of deletions is taken back together, as the control groups them.
    rig.setText("abc", 3);
    rig.press(vk::Back);
    rig.press(vk::Back);
    rig.press(vk::Back, false, false, true);  // Alt+Backspace undoes
    EXPECT_EQ(rig.edit.text(), "abc");
    // Both redo keys take the step again, and Ctrl+Z alone takes it back.
    struct Row {
        std::uint8_t key;
        bool shift;
        const char* after;
    };
    for (const Row row : {Row{'Y', false, "a"}, Row{'Z', false, "abc"}, Row{'Z', true, "a"}, Row{'Z', false, "abc"}}) {
        rig.press(row.key, row.shift, true);
        EXPECT_EQ(rig.edit.text(), row.after) << "Ctrl+" << (row.shift ? "Shift+" : "") << static_cast<char>(row.key);
    }
}

TEST(EditViewKeys, TypingConvertsToTheCodePageAndMarksWhatItCannotHold) {
    EditViewRig rig;
    rig.type("中");
    rig.type("a");
    rig.type("😀");
    rig.press(vk::Return);
    // Tab and Ctrl+Tab type nothing, and their character neither.
    rig.press(vk::Tab);
    rig.press(vk::Tab, false, true);
    rig.type("\t");
    EXPECT_EQ(rig.edit.text(), "\xD6\xD0" "a?\r\n");
    // Ctrl with a letter is a command, and control characters type nothing.
    KeyEvent ctrlQ;
    ctrlQ.virtualKey = 'Q';
    ctrlQ.ctrl = true;
    ctrlQ.text = "\x11";
    EXPECT_FALSE(rig.view.key(ctrlQ));
    EXPECT_EQ(rig.edit.textLength(), 6);
}

TEST(EditViewKeys, ShiftExtendsEveryMotion) {
    EditViewRig rig;
    rig.setText("one two\r\nthree four\r\nfive", 0);
    rig.press(vk::Right, true, true);  // Ctrl+Shift+Right: to the next word
    EXPECT_EQ(rig.view.anchor(), 0);
    EXPECT_EQ(rig.view.caret(), 4);
    rig.press(vk::End, true);
    EXPECT_EQ(rig.view.caret(), 7);
    rig.press(vk::Down, true);
    EXPECT_EQ(rig.view.caret(), 16);  // same x on the next line
    rig.press(vk::End, true, true);
    EXPECT_EQ(rig.view.caret(), rig.edit.textLength());
    EXPECT_EQ(rig.view.anchor(), 0);
    rig.press(vk::Home, false, true);
    EXPECT_EQ(rig.view.caret(), 0);
    EXPECT_FALSE(rig.edit.hasSelection());
    // Word motion over a line break and back.
    rig.view.select(7, 7);
    rig.press(vk::Right, false, true);
    EXPECT_EQ(rig.view.caret(), 9);
    rig.press(vk::Left, false, true);
    EXPECT_EQ(rig.view.caret(), 7);
    rig.press(vk::Left, false, true);
    EXPECT_EQ(rig.view.caret(), 4);
}

TEST(EditViewKeys, UpAndDownKeepTheirColumnAcrossShortLines) {
    EditViewRig rig;
    rig.setText("abcdef\r\nab\r\nabcdef", 5);
    rig.press(vk::Down);
    EXPECT_EQ(rig.view.caret(), 10);  // end of the short line
    rig.press(vk::Down);
    EXPECT_EQ(rig.view.caret(), 17);  // back at column 5
}

TEST(EditViewKeys, PageDownMovesAPageAndScrolls) {
    EditViewRig rig({240, 64});  // four rows
    std::string text;
    for (int i = 0; i < 20; ++i) text += "x\r\n";
    rig.setText(text);
    rig.press(vk::Next);
    EXPECT_EQ(rig.edit.lineFromPosition(rig.view.caret()), 4);
    EXPECT_EQ(rig.view.topLine(), 4);
    rig.press(vk::Prior, true);
    EXPECT_EQ(rig.view.caret(), 0);
    EXPECT_EQ(rig.view.anchor(), 12);
}

TEST(EditViewMouse, ClickDragShiftClickDoubleClickAndWheel) {
    EditViewRig rig({240, 48});
    std::string text = "hello \xD6\xD0\xCE\xC4 world\r\n";
    for (int i = 0; i < 10; ++i) text += "line\r\n";
    rig.setText(text);
    RecordingListener listener;
    rig.view.setListener(&listener);
    rig.click(EditViewRig::cell(12 * 7, 0));  // on the second half of the first Chinese character's cell
    EXPECT_EQ(listener.focusRequests, 1);
    EXPECT_EQ(rig.view.caret(), 8);  // the caret lands after it, never inside it
    rig.click(EditViewRig::cell(12 * 1, 0), MouseEvent::Kind::Move);
    rig.click(EditViewRig::cell(12 * 1, 0), MouseEvent::Kind::Up);
    EXPECT_EQ(rig.view.anchor(), 8);
    EXPECT_EQ(rig.view.caret(), 1);
    rig.click(EditViewRig::cell(12 * 3, 1), MouseEvent::Kind::Down, true);
    EXPECT_EQ(rig.view.anchor(), 8);
    EXPECT_EQ(rig.view.caret(), 21);
    rig.click(EditViewRig::cell(12 * 6, 0), MouseEvent::Kind::DoubleClick);
    EXPECT_EQ(rig.edit.selectionStart(), 6);
    EXPECT_EQ(rig.edit.selectionEnd(), 10);  // the two Chinese characters
    // Dragging below the view scrolls it.
    rig.click(EditViewRig::cell(0, 0));
    rig.click({10, 100}, MouseEvent::Kind::Move);
    rig.click({10, 100}, MouseEvent::Kind::Move);
    EXPECT_EQ(rig.view.topLine(), 2);
    EXPECT_EQ(rig.view.anchor(), 0);
    rig.click({10, 100}, MouseEvent::Kind::Up);
    MouseEvent wheel;
    wheel.kind = MouseEvent::Kind::Wheel;
    wheel.wheelDelta = -120;
    rig.view.mouse(wheel);
    EXPECT_EQ(rig.view.topLine(), 5);
}

TEST(EditViewMouse, WheelTurnsSmallerThanANotchAddUpToWholeLines) {
    EditViewRig rig({240, 48});
    std::string text;
    for (int i = 0; i < 40; ++i) text += "line\r\n";
    rig.setText(text);
    const auto turn = [&](int delta) {
        MouseEvent wheel;
        wheel.kind = MouseEvent::Kind::Wheel;
        wheel.wheelDelta = delta;
        rig.view.mouse(wheel);
        return rig.view.topLine();
    };
    // A touchpad's steps of 15: a line for every 40 units, a notch's worth makes a notch's lines.
    EXPECT_EQ(turn(-15), 0);
    EXPECT_EQ(turn(-15), 0);
    EXPECT_EQ(turn(-15), 1);
    for (int i = 0; i < 5; ++i) turn(-15);
    EXPECT_EQ(rig.view.topLine(), 3);
    EXPECT_EQ(turn(-240), 9);
    // What is left over counts towards the next line in the same direction...
    EXPECT_EQ(turn(-30), 9);
    EXPECT_EQ(turn(-10), 10);
    // ...and is dropped when the wheel turns back.
    EXPECT_EQ(turn(-30), 10);
    EXPECT_EQ(turn(30), 10);
    EXPECT_EQ(turn(10), 9);
    EXPECT_EQ(turn(-39), 9);
    EXPECT_EQ(turn(1), 9);
    EXPECT_EQ(turn(-39), 9);
    // At the top the lines are spent, not saved up for the way back.
    rig.view.scrollToLine(0);
    EXPECT_EQ(turn(600), 0);
    EXPECT_EQ(turn(-40), 1);
}

TEST(EditViewScroll, CaretIsKeptInViewBothWays) {
    EditViewRig rig({100, 48});
    std::string text = std::string(100, 'x');
    for (int i = 0; i < 30; ++i) text += "\r\n";
    rig.setText(text);
    rig.press(vk::End);
    EXPECT_GT(rig.view.horizontalOffset(), 100 * 12 - 100);
    const Rect caret = rig.view.caretRect();
    EXPECT_GE(caret.left, 0);
    EXPECT_LT(caret.left, 100);
    EXPECT_TRUE(rig.view.horizontalScrollBar().shown);
    EXPECT_GE(rig.view.horizontalScrollBar().maximum, 1200);
    rig.press(vk::End, false, true);
    EXPECT_EQ(rig.view.topLine(), rig.edit.lineCount() - 3);
    EXPECT_EQ(rig.view.horizontalOffset(), 0);
    EXPECT_EQ(rig.view.verticalScrollBar().maximum, rig.edit.lineCount() - 1);
}

// A measure whose hex digits, in the smaller font of the boxes, are a mebipixel wide, so that a
// line of a few thousand boxes is wider than an int counts.
struct WideBoxes : CodePageTextMeasure {
    int advance(const Font& font, std::string_view) override { return font.pixelHeight < 16 ? 1 << 20 : 12; }
    int lineHeight(const Font&) override { return 16; }
    int averageCharWidth(const Font&) override { return 12; }
};

TEST(EditViewLongLines, XPositionsPastTheRangeOfAnIntStayExact) {
    SystemCodePageCodec codec;
    WideBoxes measure;
    MemoryClipboard clipboard;
    EditControl edit;
    EditView view(edit, codec, measure, clipboard);
    view.setViewSize({240, 160});
    // 5000 boxes of 2^21 + 4 pixels, a tab that stops at a multiple of 96 pixels, ten "a".
    edit.setText(std::string(5000, '\x01') + "\t" + std::string(10, 'a'));
    const std::int64_t boxes = 5000 * ((std::int64_t{1} << 21) + 4);
    const std::int64_t afterTab = boxes + 96 - boxes % 96;
    view.perform(EditCommand::LineEnd, false);
    EXPECT_EQ(view.xOfCaret(), afterTab + 10 * 12);
    EXPECT_GT(view.horizontalOffset(), std::int64_t{INT32_MAX});
    const Rect caret = view.caretRect();
    EXPECT_GE(caret.left, 0);
    EXPECT_LT(caret.left, 240);
    // The host's scroll bar counts in int: it gets steps of several pixels.
    const ScrollBarState bar = view.horizontalScrollBar();
    const std::int64_t unit = view.horizontalScrollUnit();
    EXPECT_LE(bar.maximum, EditView::kMaxScrollPositions);
    EXPECT_EQ(bar.position, view.horizontalOffset() / unit);
    EXPECT_GE(bar.maximum * unit, afterTab + 10 * 12);

    // A click on the fourth "a" puts the caret before it; Home and End go there and back.
    MouseEvent click;
    click.kind = MouseEvent::Kind::Down;
    click.button = MouseEvent::Button::Left;
    click.position = {caret.left - 6 * 12 + 1, 8};
    view.mouse(click);
    EXPECT_EQ(view.caret(), 5001 + 4);
    view.perform(EditCommand::LineStart, false);
    EXPECT_EQ(view.horizontalOffset(), 0);
    view.perform(EditCommand::LineEnd, false);
    EXPECT_EQ(view.caretRect().left, caret.left);
}

// Once a long line has been walked to its end, a key, a click, a repaint and the caret's blink each
// read about a screen's worth of its bytes, and the input method a few thousand.
TEST(EditViewLongLines, CostsFollowTheScreenNotTheLine) {
    EditViewRig rig({240, 160});
    RecordingListener listener;
    rig.view.setListener(&listener);
    rig.view.setFocused(true);
    std::string line;
    while (line.size() < (1u << 20)) line += "\xD6\xD0\xCE\xC4 text\t";
    rig.setText(line);
    rig.press(vk::End);
    const Pos length = rig.edit.textLength();
    ASSERT_EQ(rig.view.caret(), length);
    Image image(240, 160);
    ImageCodePageCanvas canvas(image, image.bounds(), rig.text);
    const auto walkedBy = [&](const auto& step) {
        const std::uint64_t before = rig.view.walkedBytes();
        step();
        return rig.view.walkedBytes() - before;
    };
    // Two walks from a checkpoint at most, and the screen's own characters.
    const std::uint64_t screen = 3 * LineXIndex::kDefaultSpacing;
    EXPECT_EQ(walkedBy([&] {
                  rig.view.setCaretShown(false);
                  rig.view.setCaretShown(true);
              }),
              0u);
    EXPECT_LE(walkedBy([&] { rig.view.paint(canvas, listener.areas.back()); }), screen);
    EXPECT_LE(walkedBy([&] { rig.view.paint(canvas, image.bounds()); }), screen);
    EXPECT_LE(walkedBy([&] {
                  rig.press(vk::Home);
                  rig.press(vk::End);
              }),
              screen);
    EXPECT_LE(walkedBy([&] { rig.click(EditViewRig::cell(24, 0)); }), screen);
    EXPECT_LE(walkedBy([&] { rig.type("x"); }), screen);
    EXPECT_LE(walkedBy([&] { rig.press(vk::Left, false, true); }), screen);
    EXPECT_LE(rig.view.surroundingText().text.size(), static_cast<std::size_t>(2 * EditView::kSurroundingBytes));
}

// The program's own replacements (the document's lines put back by the cipher) move the caret without
// the view's help; the view follows the caret as the system's edit control does at each replacement.
TEST(EditViewScroll, TheProgramsReplacementsBringTheCaretIntoView) {
    EditViewRig rig({100, 48});  // three rows, eight characters wide
    std::string text;
    for (int i = 0; i < 30; ++i) text += "line " + std::to_string(10 + i) + "\r\n";
    rig.setText(text);
    RecordingListener listener;
    rig.view.setListener(&listener);
    const auto putLine = [&](Pos line, std::string_view bytes) {
        const Pos start = rig.edit.lineIndex(line);
        rig.edit.setSelection(start, start + rig.edit.lineLength(start));
        rig.edit.replaceSelection(bytes, false);
    };

    // With redraw on, each replacement scrolls at once, down and sideways alike.
    putLine(20, "LINE 30");
    EXPECT_EQ(rig.view.topLine(), 18);
    EXPECT_EQ(rig.view.caretLine(), 20);
    EXPECT_EQ(listener.caretMoves, 1);
    putLine(5, std::string(40, 'x'));
    EXPECT_EQ(rig.view.topLine(), 5);
    EXPECT_GT(rig.view.horizontalOffset(), 40 * 12 - 100);
    const Rect caret = rig.view.caretRect();
    EXPECT_GE(caret.left, 0);
    EXPECT_LT(caret.left, 100);

    // With redraw off, a run of replacements from the top down moves nothing yet; switching redraw
    // on shows the caret on the view's last row, where following it line by line would have ended.
    putLine(5, "line 15");
    rig.view.scrollToLine(0);
    rig.view.scrollHorizontally(0);
    rig.view.setRedraw(false);
    for (Pos line = 0; line < 30; ++line) putLine(line, "LINE " + std::to_string(10 + line));
    EXPECT_EQ(rig.view.topLine(), 0);
    const int moves = listener.caretMoves;
    rig.view.setRedraw(true);
    EXPECT_EQ(rig.view.caretLine(), 29);
    EXPECT_EQ(rig.view.topLine(), 27);
    EXPECT_EQ(rig.view.horizontalOffset(), 0);
    EXPECT_EQ(listener.caretMoves, moves + 1);

    // Switching redraw off and on with no replacement between leaves where the user scrolled alone.
    rig.view.scrollToLine(3);
    rig.view.setRedraw(false);
    rig.view.setRedraw(true);
    EXPECT_EQ(rig.view.topLine(), 3);
    // So does a new whole text, which starts at the top with the caret.
    rig.view.setRedraw(false);
    rig.edit.setText(text);
    rig.view.setRedraw(true);
    EXPECT_EQ(rig.view.topLine(), 0);
    EXPECT_EQ(rig.view.caret(), 0);
}

TEST(EditViewWordWrap, WrapsAtTheViewWidthAndKeepsTextAndCaret) {
    EditViewRig rig({12 * 10 + 2 * EditView::kMargin, 160});
    const std::string text = "aaaa bbbb cccc dddd\r\n\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0";
    rig.setText(text, 16);
    rig.view.setWordWrap(true);
    EXPECT_EQ(rig.edit.text(), text);
    EXPECT_EQ(rig.view.caret(), 16);
    EXPECT_EQ(rig.edit.lineCount(), 3);
    EXPECT_FALSE(rig.view.horizontalScrollBar().shown);
    rig.view.setViewSize({12 * 5 + 2 * EditView::kMargin, 160});
    EXPECT_EQ(rig.edit.lineCount(), 6);  // four words, and the Chinese line in two
    // Down from the first display line goes to the second display line of the same editor line.
    rig.view.select(0, 0);
    rig.press(vk::Down);
    EXPECT_EQ(rig.view.caret(), 5);
    rig.view.setWordWrap(false);
    EXPECT_EQ(rig.edit.text(), text);
    EXPECT_EQ(rig.view.caret(), 5);
    EXPECT_EQ(rig.edit.lineCount(), 2);
}

TEST(EditViewWordWrap, EndAndClicksPastALinesEndKeepTheCaretAtTheEndOfThatLine) {
    // Ten characters to a display line: "aaaa bbbb " and "cccc dddd", then a line of twelve Chinese
    // characters in two, ten and two.
    EditViewRig rig({12 * 10 + 2 * EditView::kMargin, 160});
    std::string chinese;
    for (int i = 0; i < 12; ++i) chinese += "\xD6\xD0";
    rig.setText("aaaa bbbb cccc dddd\r\n" + chinese, 2);
    rig.view.setWordWrap(true);
    ASSERT_EQ(rig.edit.lineIndex(1), 10);
    ASSERT_EQ(rig.edit.lineIndex(3), 41);
    const auto caretAt = [&](Pos position, Pos line, int x) {
        EXPECT_EQ(rig.view.caret(), position);
        EXPECT_EQ(rig.view.caretLine(), line);
        const Rect caret = rig.view.caretRect();
        EXPECT_EQ(caret.top, line * EditViewRig::kLineHeight);
        EXPECT_EQ(caret.left, EditView::kMargin + x);
    };

    // End shows the caret after the first line's last character, where the second line also starts;
    // End again stays there, and Home goes back to the start of that line.
    rig.press(vk::End);
    caretAt(10, 0, 120);
    rig.press(vk::End);
    caretAt(10, 0, 120);
    EXPECT_EQ(rig.view.surroundingText().text, U"aaaa bbbb ");
    EXPECT_EQ(rig.view.surroundingText().caret, 10);
    rig.press(vk::Home);
    caretAt(0, 0, 0);

    // Down and Up from there keep to the ends of the lines.
    rig.press(vk::End);
    rig.press(vk::Down);
    caretAt(19, 1, 108);
    rig.press(vk::Up);
    caretAt(10, 0, 120);
    rig.press(vk::Down);
    rig.press(vk::Down);
    caretAt(41, 2, 120);  // the end of the Chinese line's first part, never inside a character
    rig.press(vk::Home);
    caretAt(21, 2, 0);

    // Shift+End selects to the end of the line it stands on.
    rig.press(vk::End, true);
    EXPECT_EQ(rig.view.anchor(), 21);
    caretAt(41, 2, 120);

    // A click past the end of a line puts the caret there too; any other move lets it go to the start
    // of the next line.
    rig.click({300, EditViewRig::kLineHeight / 2});
    rig.click({300, EditViewRig::kLineHeight / 2}, MouseEvent::Kind::Up);
    caretAt(10, 0, 120);
    rig.press(vk::Left);
    caretAt(9, 0, 108);
    rig.press(vk::Right);
    caretAt(10, 1, 0);

    // The input method composes at the end of the line, and typed text goes where the caret shows.
    rig.press(vk::Up);
    rig.press(vk::End);
    rig.view.setPreedit("zh");
    EXPECT_EQ(rig.view.caretLine(), 0);
    EXPECT_EQ(rig.view.caretRect().top, 0);
    EXPECT_EQ(rig.view.caretRect().left, EditView::kMargin + 120 + 2 * EditViewRig::kAdvance);
    EXPECT_EQ(rig.view.layoutLine(0, 1000).runs.back().kind, Kind::Preedit);
    EXPECT_NE(rig.view.layoutLine(1, 1000).runs.front().kind, Kind::Preedit);
    rig.view.setPreedit("");
    rig.type("x");
    EXPECT_EQ(rig.edit.range(0, 20), "aaaa bbbb xcccc dddd");
    EXPECT_EQ(rig.view.caret(), 11);
    EXPECT_EQ(rig.view.caretLine(), rig.edit.lineFromPosition(11));

    // Without word wrap a line's end is never another line's start.
    rig.view.setWordWrap(false);
    rig.view.select(3, 3);
    rig.press(vk::End);
    EXPECT_EQ(rig.view.caret(), 20);
    EXPECT_EQ(rig.view.caretLine(), 0);
}

TEST(EditViewWordWrap, DisplayLinesNeverDivideACharacterBesideALeadByteThatFormsNone) {
    // 0xA1 0x81 forms no character and 0x81 0x80 does: the line is a box, one character and "aa".
    // Wrapping by blind pairs of lead bytes ended the first display line between 0x81 and 0x80, and
    // a caret at the second line's start stayed inside that character once word wrap was off.
    EditViewRig rig({EditViewRig::kBoxWidth + EditViewRig::kAdvance + 4 + 2 * EditView::kMargin, 160});
    const std::string text = "\xA1\x81\x80" "aa\r\n\xA1\x81\x80";
    rig.setText(text, 0);
    rig.view.setWordWrap(true);
    ASSERT_EQ(rig.edit.lineCount(), 3);
    EXPECT_EQ(rig.edit.lineIndex(1), 3);
    EXPECT_EQ(rig.edit.lineIndex(2), 7);
    for (const EditControl::Pos start : {0, 3, 7}) {
        rig.view.setWordWrap(true);
        rig.view.select(start, start);
        rig.view.setWordWrap(false);
        EXPECT_EQ(rig.view.caret(), start);
        EXPECT_EQ(rig.view.stopAtOrBefore(start), start) << "display line start " << start;
    }
    EXPECT_EQ(rig.edit.text(), text);
    rig.edit.checkInvariants();
}

TEST(EditViewWordWrap, OnlyWhatIsShownIsDividedAtOnceAndTheRestInSlices) {
    using Pos = EditControl::Pos;
    // 400 lines that each divide into two at ten characters; ten rows in view.
    EditViewRig rig({12 * 10 + 2 * EditView::kMargin, 160});
    std::string text;
    for (int i = 0; i < 400; ++i) text += "aaaa bbbb cccc dddd\r\n";
    rig.setText(text, 0);
    rig.view.select(3, 7);
    rig.view.setWordWrap(true);
    EXPECT_TRUE(rig.view.wrapPending());
    EXPECT_LT(rig.edit.lineCountSoFar(), 500);
    EXPECT_EQ(rig.view.anchor(), 3);
    EXPECT_EQ(rig.view.caret(), 7);
    const std::vector<EditView::LineLayout> lines = rig.view.visibleLines();
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[1].start, 10);
    EXPECT_EQ(lines[2].start, 21);

    // A drag to the end of the bar as it stands shows divided lines there, and the range grows.
    const Pos firstMaximum = rig.view.verticalScrollBar().maximum;
    rig.view.scrollToLine(firstMaximum);
    for (const EditView::LineLayout& line : rig.view.visibleLines()) EXPECT_LE(line.end - line.start, 10);
    EXPECT_GT(rig.view.verticalScrollBar().maximum, firstMaximum);

    // Typing while lines remain undivided; the second line now divides into three.
    rig.view.select(21, 21);
    rig.type("x");
    EXPECT_EQ(rig.edit.range(21, 22), "x");

    // One slice divides far more than this text.
    EXPECT_FALSE(rig.view.continueWrapping());
    EXPECT_FALSE(rig.view.wrapPending());
    EXPECT_EQ(rig.view.verticalScrollBar().maximum, 801);
    rig.edit.checkInvariants();

    // Ctrl+End before the division is complete reaches the true end.
    rig.view.setWordWrap(false);
    rig.view.setWordWrap(true);
    EXPECT_TRUE(rig.view.wrapPending());
    rig.press(vk::End, false, true);
    EXPECT_EQ(rig.view.caret(), rig.edit.textLength());
    EXPECT_EQ(rig.view.topLine(), 802 - 10);
    EXPECT_EQ(rig.view.verticalScrollBar().maximum, 801);
}

TEST(EditViewReadOnly, MovesSelectsAndCopiesButChangesNothing) {
    EditViewRig rig;
    rig.setText("abc", 0);
    rig.type("x");
    rig.edit.setReadOnly(true);
    rig.clipboard.offerText("pasted");
    const std::string before = rig.edit.text();
    rig.press(vk::Right, true);
    EXPECT_TRUE(rig.view.copy());
    EXPECT_EQ(*rig.clipboard.bytes(), "a");
    EXPECT_FALSE(rig.view.cut());
    EXPECT_FALSE(rig.view.paste());
    EXPECT_FALSE(rig.view.undo());
    EXPECT_FALSE(rig.view.typeText("y"));
    rig.type("y");
    rig.press(vk::Delete);
    rig.press(vk::Back);
    rig.press(vk::Return);
    EXPECT_FALSE(rig.view.commitText("中"));
    EXPECT_EQ(rig.edit.text(), before);
}

TEST(EditViewClipboard, EveryByteValueSurvivesCopyAndPaste) {
    EditViewRig rig;
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    rig.setText(all);
    rig.view.selectAll();
    ASSERT_TRUE(rig.view.copy());
    EXPECT_EQ(*rig.clipboard.bytes(), all);
    rig.setText("[]", 1);
    ASSERT_TRUE(rig.view.paste());
    EXPECT_EQ(rig.edit.text(), "[" + all + "]");
    EXPECT_TRUE(rig.view.undo());  // the paste is one step
    EXPECT_EQ(rig.edit.text(), "[]");
}

// The exact bytes are pasted only when they can be read and are what a copy puts (never empty, no
// zero byte); otherwise the text beside them is, and when that cannot be read either, the paste does
// nothing and the selection stays.
TEST(EditViewClipboard, AnOwnerThatFailsToDeliverTheBytesCostsOnlyThePaste) {
    struct Row {
        const char* what;
        std::optional<std::string> text;
        std::optional<std::string> bytes;
        const char* expected;  // nullptr: nothing pasted
    };
    const Row rows[] = {
        {"bytes pasted", "x", "\x81\r\n\xFF", "[\x81\r\n\xFF]"},
        {"bytes refused or late", "文\n", std::nullopt, "[\xCE\xC4\r\n]"},
        {"bytes empty", "x", "", "[x]"},
        {"bytes with a zero", "x", std::string("a\0b", 3), "[x]"},
        {"neither readable", std::nullopt, std::nullopt, nullptr},
        {"neither usable", std::nullopt, std::string(1, '\0'), nullptr},
        {"empty text read", "", std::nullopt, "[]"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EditViewRig rig;
        rig.setText("[sel]");
        rig.view.select(1, 4);
        rig.clipboard.offerFromOwner(row.text, row.bytes);
        EXPECT_EQ(rig.view.paste(), row.expected != nullptr);
        EXPECT_EQ(rig.edit.text(), row.expected ? row.expected : "[sel]");
        if (!row.expected) {
            EXPECT_EQ(rig.edit.selectionStart(), 1);
            EXPECT_EQ(rig.edit.selectionEnd(), 4);
        }
    }
}

TEST(EditViewClipboard, CopiedTextIsUnicodeWithTheDesktopsBreaks) {
    EditViewRig rig;
    rig.setText(std::string("\xD6\xD0\r\nA\tB") + '\0' + "\x80\x81");
    rig.view.selectAll();
    rig.view.copy();
    EXPECT_EQ(*rig.clipboard.text(), "中\nA\tB\uFFFD€\uFFFD");
}

TEST(EditViewClipboard, TextFromOtherProgramsGetsCrLfAndQuestionMarks) {
    EditViewRig rig;
    rig.clipboard.offerText("一\nb\rc\r\nd😀€");
    ASSERT_TRUE(rig.view.paste());
    EXPECT_EQ(rig.edit.text(), "\xD2\xBB\r\nb\r\nc\r\nd?\x80");
    EXPECT_EQ(rig.edit.lineCount(), 4);
    // A zero ends the pasted text, as it ends the system's text clipboard.
    rig.setText("");
    rig.clipboard.offerText(std::string("ab") + '\0' + "cd");
    ASSERT_TRUE(rig.view.paste());
    EXPECT_EQ(rig.edit.text(), "ab");
    rig.clipboard.clear();
    EXPECT_FALSE(rig.view.paste());
}

TEST(EditViewClipboard, CutMovesTheSelectionAndShiftKeysReachTheClipboard) {
    EditViewRig rig;
    rig.setText("abcd", 1);
    rig.press(vk::Right, true);
    rig.press(vk::Right, true);
    rig.press(vk::Delete, true);  // Shift+Del
    EXPECT_EQ(rig.edit.text(), "ad");
    EXPECT_EQ(*rig.clipboard.bytes(), "bc");
    rig.press(vk::Insert, true);  // Shift+Ins
    EXPECT_EQ(rig.edit.text(), "abcd");
    rig.press(vk::Home, true);
    rig.press(vk::Insert, false, true);  // Ctrl+Ins
    EXPECT_EQ(*rig.clipboard.bytes(), "abc");
}

TEST(EditViewInputMethod, PreeditIsShownButNeverStoredAndCommitIsOneStep) {
    EditViewRig rig;
    rig.setText("ab", 1);
    rig.type("x");
    rig.view.setPreedit("zhong");
    EXPECT_EQ(rig.edit.text(), "axb");
    const auto line = rig.view.layoutLine(0, 1000);
    ASSERT_EQ(line.runs.size(), 3u);
    EXPECT_EQ(line.runs[1].kind, Kind::Preedit);
    EXPECT_EQ(line.runs[1].x, 24);
    EXPECT_EQ(line.runs[2].x, 24 + 5 * 12);  // the text after the caret makes room
    EXPECT_EQ(rig.view.caretRect().left, EditView::kMargin + 24 + 5 * 12);
    ASSERT_TRUE(rig.view.commitText("中文"));
    EXPECT_TRUE(rig.view.preedit().empty());
    EXPECT_EQ(rig.edit.text(), "ax\xD6\xD0\xCE\xC4" "b");
    const auto around = rig.view.surroundingText();
    EXPECT_EQ(around.text, U"ax中文b");
    EXPECT_EQ(around.caret, 4);
    EXPECT_EQ(around.anchor, 4);
    rig.view.undo();
    EXPECT_EQ(rig.edit.text(), "axb");  // the commit alone, not the typed x
}

TEST(EditViewInputMethod, SurroundingTextGivesTheSelectionsAnchorBesideTheCaret) {
    EditViewRig rig;
    rig.setText("ab\xD6\xD0" "c\r\nxy\r\nz");
    rig.view.select(4, 1);  // from after the Chinese character back to after "a"
    auto around = rig.view.surroundingText();
    EXPECT_EQ(around.text, U"ab中c");
    EXPECT_EQ(around.caret, 1);
    EXPECT_EQ(around.anchor, 3);
    rig.view.select(1, 4);
    around = rig.view.surroundingText();
    EXPECT_EQ(around.caret, 3);
    EXPECT_EQ(around.anchor, 1);
    // An anchor on another line stands at the end of the caret's line nearer to it.
    rig.view.select(1, 8);
    around = rig.view.surroundingText();
    EXPECT_EQ(around.text, U"xy");
    EXPECT_EQ(around.caret, 1);
    EXPECT_EQ(around.anchor, 0);
    rig.view.select(12, 8);
    around = rig.view.surroundingText();
    EXPECT_EQ(around.caret, 1);
    EXPECT_EQ(around.anchor, 2);
}

}  // namespace
}  // namespace zozuz
