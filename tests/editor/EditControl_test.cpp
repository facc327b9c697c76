#include "editor/EditControl.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace zozuz {
namespace {

using Pos = EditControl::Pos;
using namespace std::string_literals;

std::string editorLine(const EditControl& edit, Pos line) {
    const Pos start = edit.editorLineStart(line);
    return edit.range(start, start + edit.editorLineLength(line));
}

std::vector<std::string> editorLines(const EditControl& edit) {
    std::vector<std::string> lines;
    for (Pos i = 0; i < edit.editorLineCount(); ++i) lines.push_back(editorLine(edit, i));
    return lines;
}

std::vector<std::string> displayLines(const EditControl& edit) {
    std::vector<std::string> lines;
    for (Pos i = 0; i < edit.lineCount(); ++i) {
        const Pos start = edit.lineIndex(i);
        lines.push_back(edit.range(start, start + edit.lineLength(start)));
    }
    return lines;
}

// Replaces an editor line, not its break, without undo.
bool replaceEditorLine(EditControl& edit, Pos line, std::string_view bytes) {
    const Pos start = edit.editorLineStart(line);
    edit.setSelection(start, start + edit.editorLineLength(line));
    return edit.replaceSelection(bytes, false);
}

using Lines = std::vector<std::string>;

TEST(EditControlLines, EmptyTextIsOneEmptyLine) {
    EditControl edit;
    EXPECT_EQ(edit.lineCount(), 1);
    EXPECT_EQ(edit.lineIndex(0), 0);
    EXPECT_EQ(edit.lineIndex(1), -1);
    EXPECT_EQ(edit.lineIndex(-1), -1);
    EXPECT_EQ(edit.lineLength(0), 0);
    char buffer[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(edit.getLine(0, buffer, sizeof buffer), 0u);
    EXPECT_EQ(edit.getLine(1, buffer, sizeof buffer), 0u);
    EXPECT_EQ(edit.text(), "");
}

TEST(EditControlLines, OnlyCrLfSeparatesLines) {
    EditControl edit;
    ASSERT_TRUE(edit.setText("A\r\n"));
    EXPECT_EQ(edit.lineCount(), 2);
    EXPECT_EQ(edit.lineIndex(1), 3);
    EXPECT_EQ(edit.lineLength(3), 0);
    EXPECT_EQ(editorLines(edit), (Lines{"A", ""}));

    // Lone CR and LF stay in their line and count in its length.
    ASSERT_TRUE(edit.setText("a\rb\nc\r\nd\n\r"));
    EXPECT_EQ(editorLines(edit), (Lines{"a\rb\nc", "d\n\r"}));
    EXPECT_EQ(edit.lineLength(0), 5);
    EXPECT_EQ(edit.lineLength(8), 3);

    // CR CR LF is a CR inside the line followed by a break; LF CR is no break at all.
    ASSERT_TRUE(edit.setText("x\r\r\ny\n\rz"));
    EXPECT_EQ(editorLines(edit), (Lines{"x\r", "y\n\rz"}));
    EXPECT_EQ(edit.lineIndex(1), 4);
    EXPECT_EQ(edit.lineIndex(2), -1);

    ASSERT_TRUE(edit.setText("\r\n\r\n"));
    EXPECT_EQ(editorLines(edit), (Lines{"", "", ""}));
}

TEST(EditControlLines, PositionsBelongToTheLineThatHoldsThem) {
    EditControl edit;
    ASSERT_TRUE(edit.setText("ab\r\ncde\r\n"));
    EXPECT_EQ(edit.lineFromPosition(0), 0);
    EXPECT_EQ(edit.lineFromPosition(2), 0);  // the CR of the break
    EXPECT_EQ(edit.lineFromPosition(3), 0);  // the LF of the break
    EXPECT_EQ(edit.lineFromPosition(4), 1);
    EXPECT_EQ(edit.lineFromPosition(9), 2);
    EXPECT_EQ(edit.lineFromPosition(1000), 2);
    EXPECT_EQ(edit.lineLength(3), 2);
    EXPECT_EQ(edit.lineLength(6), 3);
    EXPECT_EQ(edit.lineLength(-5), 2);
    EXPECT_EQ(edit.editorLineLength(7), 0);
    EXPECT_EQ(edit.editorLineStart(3), -1);
}

TEST(EditControlLines, GetLineCopiesAtMostTheBufferAndWholeLinesStayReachable) {
    EditControl edit;
    const std::string longLine(5000, 'q');
    ASSERT_TRUE(edit.setText(longLine + "\r\nz"));
    std::vector<char> buffer(4096 + 8, '#');
    EXPECT_EQ(edit.getLine(0, buffer.data(), 4096), 4096u);
    EXPECT_EQ(buffer[4095], 'q');
    EXPECT_EQ(buffer[4096], '#');  // nothing written past the limit
    EXPECT_EQ(edit.getLine(1, buffer.data(), 4096), 1u);
    EXPECT_EQ(buffer[0], 'z');
    EXPECT_EQ(displayLines(edit)[0], longLine);
    EXPECT_EQ(edit.getLine(0, buffer.data(), 0), 0u);
}

TEST(EditControlBytes, EveryByteValueIsKeptAsGiven) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    all += "\0\0\r\n\0"s;
    EditControl edit;
    ASSERT_TRUE(edit.setText(all));
    EXPECT_EQ(edit.text(), all);
    EXPECT_EQ(edit.textLength(), static_cast<Pos>(all.size()));
    EXPECT_EQ(edit.byteAt(0), '\0');
    EXPECT_EQ(edit.byteAt(255), '\xff');
    EXPECT_EQ(edit.editorLineCount(), 2);
    EXPECT_EQ(editorLine(edit, 1), "\0"s);

    edit.setSelection(1, 1);
    ASSERT_TRUE(edit.replaceSelection("\0x\0"s, false));
    EXPECT_EQ(edit.range(0, 5), "\0\0x\0\x01"s);
    ASSERT_TRUE(replaceEditorLine(edit, 1, "\0\0"s));
    EXPECT_EQ(editorLine(edit, 1), "\0\0"s);
}

TEST(EditControlBytes, RangesAreClampedToTheText) {
    EditControl edit;
    ASSERT_TRUE(edit.setText("hello"));
    EXPECT_EQ(edit.range(-3, 2), "he");
    EXPECT_EQ(edit.range(3, 99), "lo");
    EXPECT_EQ(edit.range(4, 2), "");
    EXPECT_EQ(edit.byteAt(5), '\0');
    EXPECT_EQ(edit.byteAt(-1), '\0');
    char out[8] = {};
    edit.copyRange(1, 4, out);
    EXPECT_EQ(std::string(out, 3), "ell");
}

TEST(EditControlBytes, VisitingARangeGivesItsBytesInOrderAcrossTheGap) {
    EditControl edit;
    ASSERT_TRUE(edit.setText("hello world"));
    edit.setSelection(5, 5);
    ASSERT_TRUE(edit.replaceSelection(","s, false));  // the gap now sits inside the text
    std::vector<std::string> pieces;
    edit.visitRange(-2, 99, [&](std::string_view bytes) { pieces.emplace_back(bytes); });
    std::string joined;
    for (const auto& piece : pieces) joined += piece;
    EXPECT_EQ(joined, "hello, world");
    EXPECT_LE(pieces.size(), 2u);
    pieces.clear();
    edit.visitRange(4, 4, [&](std::string_view bytes) { pieces.emplace_back(bytes); });
    EXPECT_TRUE(pieces.empty());
}

// Edits that form or break a CR LF pair across their borders.
TEST(EditControlEdits, PairsFormedAndBrokenAtTheBordersOfAnEdit) {
    EditControl edit;
    ASSERT_TRUE(edit.setText("a\rXY\nb"));
    edit.setSelection(2, 4);
    ASSERT_TRUE(edit.replaceSelection("", false));  // the CR and LF meet
    EXPECT_EQ(editorLines(edit), (Lines{"a", "b"}));

    edit.setSelection(2, 2);
    ASSERT_TRUE(edit.replaceSelection("Z", false));  // and are parted again
    EXPECT_EQ(editorLines(edit), (Lines{"a\rZ\nb"}));

    ASSERT_TRUE(edit.setText("a\nb"));
    edit.setSelection(1, 1);
    ASSERT_TRUE(edit.replaceSelection("\r", false));  // a CR put before a lone LF
    EXPECT_EQ(editorLines(edit), (Lines{"a", "b"}));

    ASSERT_TRUE(edit.setText("a\rb"));
    edit.setSelection(2, 2);
    ASSERT_TRUE(edit.replaceSelection("\n", false));  // an LF put after a lone CR
    EXPECT_EQ(editorLines(edit), (Lines{"a", "b"}));

    ASSERT_TRUE(edit.setText("1\r\n2\r\n3\r\n4"));
    edit.setSelection(2, 5);  // from the LF of the first break to the CR of the second
    ASSERT_TRUE(edit.replaceSelection("\n\r", false));
    EXPECT_EQ(editorLines(edit), (Lines{"1", "", "3", "4"}));
    edit.setSelection(2, 3);
    ASSERT_TRUE(edit.replaceSelection("", false));
    EXPECT_EQ(editorLines(edit), (Lines{"1\r", "3", "4"}));
    EXPECT_EQ(edit.editorLineStart(2), 7);
}

TEST(EditControlEdits, LinesAfterAnEditMoveWithIt) {
    EditControl edit;
    ASSERT_TRUE(edit.setText("one\r\ntwo\r\nthree\r\nfour"));
    edit.setSelection(0, 0);
    ASSERT_TRUE(edit.replaceSelection("zero\r\n", false));
    EXPECT_EQ(editorLines(edit), (Lines{"zero", "one", "two", "three", "four"}));
    edit.setSelection(edit.editorLineStart(2), edit.editorLineStart(4));
    ASSERT_TRUE(edit.replaceSelection("", false));
    EXPECT_EQ(editorLines(edit), (Lines{"zero", "one", "four"}));
    EXPECT_EQ(edit.editorLineStart(2), 11);
    edit.setSelection(0, 0);
    ASSERT_TRUE(edit.replaceSelection("++", false));
    EXPECT_EQ(edit.editorLineStart(2), 13);
    EXPECT_EQ(editorLine(edit, 2), "four");
}

TEST(EditControlListeners, EveryListenerHearsEveryChangeUntilRemoved) {
    EditControl edit;
    ASSERT_TRUE(edit.setText("X\r\nY"));
    using Change = std::tuple<Pos, Pos, Pos>;
    std::vector<Change> first;
    std::vector<Change> second;
    const auto firstId = edit.addChangeListener([&](Pos p, Pos r, Pos i) { first.emplace_back(p, r, i); });
    const auto secondId = edit.addChangeListener([&](Pos p, Pos r, Pos i) { second.emplace_back(p, r, i); });
    EXPECT_NE(firstId, secondId);
    EXPECT_NE(firstId, 0u);

    edit.setSelection(0, 1);
    ASSERT_TRUE(edit.replaceSelection("A\r\nB", false));
    ASSERT_TRUE(edit.userInsert("c"));
    ASSERT_TRUE(edit.undo());
    ASSERT_TRUE(edit.redo());
    ASSERT_TRUE(edit.setText("new"));
    const std::vector<Change> all{{0, 1, 4}, {4, 0, 1}, {4, 1, 0}, {4, 0, 1}, {0, 8, 3}};
    EXPECT_EQ(first, all);
    EXPECT_EQ(second, all);

    // Nothing is told of a change that did not happen.
    edit.setSelection(0, 0);
    EXPECT_TRUE(edit.replaceSelection("", true));
    EXPECT_FALSE(edit.undo());
    EXPECT_EQ(first.size(), all.size());

    edit.removeChangeListener(firstId);
    edit.removeChangeListener(firstId);  // a second time does nothing
    edit.removeChangeListener(0);
    ASSERT_TRUE(edit.userInsert("x"));
    EXPECT_EQ(first.size(), all.size());
    EXPECT_EQ(second.back(), (Change{0, 0, 1}));
}

TEST(EditControlListeners, ListenersMayAddAndRemoveListenersWhileTheyAreTold) {
    EditControl edit;
    std::vector<std::string> heard;
    EditControl::ListenerId self = 0;
    EditControl::ListenerId later = 0;
    EditControl::ListenerId added = 0;
    self = edit.addChangeListener([&](Pos, Pos, Pos) {
        heard.push_back("self");
        edit.removeChangeListener(self);   // removes itself while it runs
        edit.removeChangeListener(later);  // and one not yet told of this change
        added = edit.addChangeListener([&](Pos, Pos, Pos) { heard.push_back("added"); });
    });
    later = edit.addChangeListener([&](Pos, Pos, Pos) { heard.push_back("later"); });
    ASSERT_TRUE(edit.userInsert("a"));
    EXPECT_EQ(heard, (std::vector<std::string>{"self"}));
    ASSERT_TRUE(edit.userInsert("b"));
    EXPECT_EQ(heard, (std::vector<std::string>{"self", "added"}));
    edit.removeChangeListener(added);
    ASSERT_TRUE(edit.userInsert("c"));
    EXPECT_EQ(heard.size(), 2u);
}

TEST(EditControlEdits, SetTextResetsCaretSelectionAndUndo) {
    EditControl edit;
    ASSERT_TRUE(edit.userInsert("abc"));
    edit.setSelection(1, 2);
    ASSERT_TRUE(edit.setText("new"));
    EXPECT_EQ(edit.caret(), 0);
    EXPECT_FALSE(edit.hasSelection());
    EXPECT_FALSE(edit.canUndo());
    edit.setSelection(-4, 99);
    EXPECT_EQ(edit.selectionStart(), 0);
    EXPECT_EQ(edit.selectionEnd(), 3);
    edit.setSelection(3, 1);
    EXPECT_EQ(edit.caret(), 1);
    EXPECT_EQ(edit.selectionStart(), 1);
}

TEST(EditControlCapacity, TextsBeyondTheCapacityAreRefusedAndChangeNothing) {
    EXPECT_TRUE(EditControl::canHold(2147483646u));
    EXPECT_FALSE(EditControl::canHold(2147483647u));
    EXPECT_FALSE(EditControl::canHold(~std::uint64_t{0}));
    EXPECT_EQ(EditControl().capacity(), EditControl::kCapacity);

    EditControl edit(LeadByteSet::codePage936(), 8);
    ASSERT_TRUE(edit.setText("12345678"));
    EXPECT_FALSE(edit.setText("123456789"));
    EXPECT_EQ(edit.text(), "12345678");

    ASSERT_TRUE(edit.setText("ab\r\ncd"));
    edit.setSelection(0, 1);
    ASSERT_TRUE(edit.replaceSelection("x", true));
    int changes = 0;
    edit.addChangeListener([&](Pos, Pos, Pos) { ++changes; });
    edit.setSelection(0, 1);
    EXPECT_FALSE(edit.replaceSelection("wxyz", false));
    EXPECT_FALSE(edit.replaceSelection("wxyz", true));
    EXPECT_FALSE(edit.userInsert("wxyz"));
    EXPECT_EQ(edit.text(), "xb\r\ncd");
    EXPECT_EQ(edit.selectionEnd(), 1);
    EXPECT_TRUE(edit.canUndo());  // a refused replacement keeps the history
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(replaceEditorLine(edit, 1, "cdefg"));
    EXPECT_TRUE(replaceEditorLine(edit, 1, "cde"));
}

TEST(EditControlCapacity, AnAdoptedBlockBecomesTheTextUnlessItCannot) {
    const auto block = [](std::string_view bytes, std::size_t allocated) {
        auto result = std::make_unique<char[]>(allocated);
        std::memcpy(result.get(), bytes.data(), bytes.size());
        return result;
    };
    EditControl edit(LeadByteSet::codePage936(), 10);
    edit.setWordWrap(true, {}, 2);
    ASSERT_TRUE(edit.adoptText(block("ab\r\ncde", 8), 7, 8));
    EXPECT_EQ(edit.text(), "ab\r\ncde");
    EXPECT_EQ(displayLines(edit), (Lines{"ab", "cd", "e"}));
    edit.setSelection(7, 7);
    ASSERT_TRUE(edit.replaceSelection("fgh", false));  // grows past the block's spare room
    EXPECT_EQ(editorLine(edit, 1), "cdefgh");

    EXPECT_FALSE(edit.adoptText(block("0123456789x", 11), 11, 11));
    EXPECT_FALSE(edit.adoptText(block("abc", 3), 3, 2));
    EXPECT_FALSE(edit.adoptText(nullptr, 0, 0));
    EXPECT_FALSE(edit.adoptText(block("abc", 3), -1, 3));
    EXPECT_EQ(edit.text(), "ab\r\ncdefgh");
}

TEST(EditControlCapacity, ALengthThatWouldOverflowIsRefused) {
    // A view whose length is far beyond anything storable must be refused by arithmetic alone,
    // before anything reads or copies it.
    EditControl edit;
    ASSERT_TRUE(edit.setText("abc\r\n"));
    const char* const one = "x";
    // Two bytes kept plus kCapacity - 1 new ones is one too many.
    const std::string_view tooLong(one, static_cast<std::size_t>(EditControl::kCapacity - 1));
    EXPECT_FALSE(replaceEditorLine(edit, 0, tooLong));
    const std::string_view beyond(one, ~std::size_t{0} / 2);
    EXPECT_FALSE(edit.setText(beyond));
    EXPECT_FALSE(edit.replaceSelection(beyond, true));
    EXPECT_FALSE(edit.userInsert(beyond));
    EXPECT_EQ(edit.text(), "abc\r\n");
}

TEST(EditControlUser, ReadOnlyRefusesTheUserButNotTheProgram) {
    EditControl edit;
    ASSERT_TRUE(edit.setText("abc"));
    edit.setReadOnly(true);
    edit.setSelection(1, 1);
    EXPECT_FALSE(edit.userInsert("x"));
    EXPECT_FALSE(edit.userDeleteForward());
    EXPECT_FALSE(edit.userDeleteBackward());
    edit.setSelection(0, 3);
    EXPECT_FALSE(edit.userDeleteForward());
    EXPECT_EQ(edit.text(), "abc");
    EXPECT_TRUE(edit.replaceSelection("X", false));
    EXPECT_TRUE(replaceEditorLine(edit, 0, "Y"));
    EXPECT_TRUE(edit.setText("Z"));
    EXPECT_TRUE(edit.readOnly());
    edit.setReadOnly(false);
    EXPECT_TRUE(edit.userInsert("x"));
}

TEST(EditControlUser, TypingLimitBoundsOnlyTheUsersTyping) {
    EditControl edit;
    EXPECT_EQ(edit.typingLimit(), 0);
    edit.setTypingLimit(4);
    ASSERT_TRUE(edit.userInsert("abc"));
    EXPECT_TRUE(edit.userInsert("d"));
    EXPECT_FALSE(edit.userInsert("e"));
    edit.setSelection(0, 2);
    EXPECT_FALSE(edit.userInsert("xyz"));
    EXPECT_TRUE(edit.userInsert("xy"));  // the text does not grow
    EXPECT_EQ(edit.text(), "xycd");

    // Text that a program put in is not cut to the limit, and the user may still shrink it.
    ASSERT_TRUE(edit.setText("0123456789"));
    ASSERT_TRUE(replaceEditorLine(edit, 0, "0123456789ab"));
    edit.setSelection(12, 12);
    EXPECT_FALSE(edit.userInsert("c"));
    EXPECT_TRUE(edit.userDeleteBackward());
    edit.setSelection(0, 3);
    EXPECT_TRUE(edit.userInsert("AB"));
    EXPECT_EQ(edit.text(), "AB3456789a");

    // 0 is the largest limit there is.
    edit.setTypingLimit(0);
    EXPECT_TRUE(edit.userInsert(std::string(100, 'z')));
    edit.setTypingLimit(-7);
    EXPECT_EQ(edit.typingLimit(), 0);
}

TEST(EditControlUser, DeletingTakesWholeCharactersAndBreaks) {
    EditControl edit;  // lead bytes 0x81..0xFE
    // "A", one double-byte character whose trail byte is itself in the lead range, "B".
    ASSERT_TRUE(edit.setText("A\xB0\xA1" "B\r\nC"));
    edit.setSelection(4, 4);
    ASSERT_TRUE(edit.userDeleteBackward());
    EXPECT_EQ(edit.text(), "A\xB0\xA1\r\nC");
    ASSERT_TRUE(edit.userDeleteBackward());
    EXPECT_EQ(edit.text(), "A\r\nC");
    ASSERT_TRUE(edit.setText("A\xB0\xA1" "B"));
    edit.setSelection(1, 1);
    ASSERT_TRUE(edit.userDeleteForward());
    EXPECT_EQ(edit.text(), "AB");
    ASSERT_TRUE(edit.setText("A\r\nC"));
    edit.setSelection(1, 1);
    ASSERT_TRUE(edit.userDeleteForward());  // the break as a whole
    EXPECT_EQ(edit.text(), "AC");
    edit.setSelection(2, 2);
    EXPECT_FALSE(edit.userDeleteForward());
    ASSERT_TRUE(edit.setText("A\r\nC"));
    edit.setSelection(3, 3);
    ASSERT_TRUE(edit.userDeleteBackward());
    EXPECT_EQ(edit.text(), "AC");
    edit.setSelection(0, 0);
    EXPECT_FALSE(edit.userDeleteBackward());

    // A lead byte right before a break stands alone; a run of lead bytes pairs up from its start.
    ASSERT_TRUE(edit.setText("\xB0\r\nx"));
    edit.setSelection(0, 0);
    ASSERT_TRUE(edit.userDeleteForward());
    EXPECT_EQ(edit.text(), "\r\nx");
    ASSERT_TRUE(edit.setText("a\x81\x82\x83\x84"));
    edit.setSelection(5, 5);
    ASSERT_TRUE(edit.userDeleteBackward());
    EXPECT_EQ(edit.text(), "a\x81\x82");
    ASSERT_TRUE(edit.setText("\x81\x82\x83"));
    edit.setSelection(3, 3);
    ASSERT_TRUE(edit.userDeleteBackward());
    EXPECT_EQ(edit.text(), "\x81\x82");

    // Without double-byte support every byte is a character.
    EditControl plain{LeadByteSet{}};
    ASSERT_TRUE(plain.setText("\xB0\xA1"));
    plain.setSelection(2, 2);
    ASSERT_TRUE(plain.userDeleteBackward());
    EXPECT_EQ(plain.text(), "\xB0");
}

TEST(EditControlUndo, TypingJoinsIntoOneStepAndUndoRestoresTheSelection) {
    EditControl edit;
    ASSERT_TRUE(edit.setText("hello world"));
    edit.setSelection(6, 11);
    ASSERT_TRUE(edit.userInsert("t"));
    ASSERT_TRUE(edit.userInsert("h"));
    ASSERT_TRUE(edit.userInsert("\xC4\xE3"));  // one double-byte character
    EXPECT_EQ(edit.text(), "hello th\xC4\xE3");
    ASSERT_TRUE(edit.undo());
    EXPECT_EQ(edit.text(), "hello world");
    EXPECT_EQ(edit.selectionStart(), 6);
    EXPECT_EQ(edit.selectionEnd(), 11);
    EXPECT_EQ(edit.caret(), 11);
    EXPECT_FALSE(edit.canUndo());
    ASSERT_TRUE(edit.redo());
    EXPECT_EQ(edit.text(), "hello th\xC4\xE3");
    EXPECT_EQ(edit.caret(), 10);
    EXPECT_FALSE(edit.canRedo());
    EXPECT_FALSE(edit.redo());

    // Typing a byte over the same selected byte leaves the text as it was, yet starts the step that
    // the following typing joins: one undo takes back both.
    ASSERT_TRUE(edit.setText(" "));
    edit.setSelection(1, 0);
    ASSERT_TRUE(edit.userInsert(" "));
    ASSERT_TRUE(edit.userInsert("\xB0"));
    ASSERT_TRUE(edit.undo());
    EXPECT_EQ(edit.text(), " ");
    EXPECT_FALSE(edit.canUndo());
}

TEST(EditControlUndo, BreaksPastesAndEditsElsewhereAreStepsOfTheirOwn) {
    EditControl edit;
    for (const char* typed : {"a", "b", "\r\n", "c", "pasted"}) ASSERT_TRUE(edit.userInsert(typed));
    edit.setSelection(0, 0);
    ASSERT_TRUE(edit.userInsert("X"));
    EXPECT_EQ(edit.text(), "Xab\r\ncpasted");
    std::vector<std::string> seen;
    while (edit.undo()) seen.push_back(edit.text());
    EXPECT_EQ(seen, (std::vector<std::string>{"ab\r\ncpasted", "ab\r\nc", "ab\r\n", "ab", ""}));
    ASSERT_TRUE(edit.redo());
    ASSERT_TRUE(edit.redo());
    EXPECT_EQ(edit.text(), "ab\r\n");
    ASSERT_TRUE(edit.userInsert("new"));  // a new edit drops what could have been redone
    EXPECT_FALSE(edit.canRedo());
    ASSERT_TRUE(edit.undo());
    EXPECT_EQ(edit.text(), "ab\r\n");
}

TEST(EditControlUndo, TypingAfterAnUndoIsAStepOfItsOwn) {
    EditControl edit;
    ASSERT_TRUE(edit.userInsert("a"));
    ASSERT_TRUE(edit.userInsert("\r\n"));
    ASSERT_TRUE(edit.undo());
    ASSERT_TRUE(edit.userInsert("b"));  // right where the first step ended, yet not part of it
    ASSERT_TRUE(edit.undo());
    EXPECT_EQ(edit.text(), "a");
    ASSERT_TRUE(edit.undo());
    EXPECT_EQ(edit.text(), "");
}

TEST(EditControlUndo, RepeatedDeletesJoinAndComeBackTogether) {
    EditControl edit;
    ASSERT_TRUE(edit.setText("abc\r\ndef"));
    edit.setSelection(6, 6);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(edit.userDeleteBackward());
    EXPECT_EQ(edit.text(), "abef");
    edit.setSelection(0, 0);
    ASSERT_TRUE(edit.userDeleteForward());
    ASSERT_TRUE(edit.userDeleteForward());
    EXPECT_EQ(edit.text(), "ef");
    ASSERT_TRUE(edit.undo());
    EXPECT_EQ(edit.text(), "abef");
    ASSERT_TRUE(edit.undo());
    EXPECT_EQ(edit.text(), "abc\r\ndef");
    EXPECT_EQ(edit.caret(), 6);
    EXPECT_EQ(edit.editorLineCount(), 2);
}

TEST(EditControlUndo, ChangesThatCannotBeUndoneEmptyTheHistory) {
    EditControl edit;
    ASSERT_TRUE(edit.userInsert("a"));
    edit.setSelection(1, 1);
    ASSERT_TRUE(edit.replaceSelection("b", true));
    ASSERT_TRUE(edit.undo());
    EXPECT_TRUE(edit.canUndo());
    EXPECT_TRUE(edit.canRedo());
    ASSERT_TRUE(edit.replaceSelection("c", false));
    EXPECT_FALSE(edit.canUndo());
    EXPECT_FALSE(edit.canRedo());
    ASSERT_TRUE(edit.userInsert("d"));
    ASSERT_TRUE(replaceEditorLine(edit, 0, "e"));
    EXPECT_FALSE(edit.canUndo());
    ASSERT_TRUE(edit.userInsert("f"));
    edit.clearUndo();
    EXPECT_FALSE(edit.undo());
    EXPECT_EQ(edit.text(), "ef");

    // Replacing nothing by nothing is no step.
    edit.clearUndo();
    edit.setSelection(1, 1);
    EXPECT_TRUE(edit.userInsert(""));
    EXPECT_TRUE(edit.replaceSelection("", true));
    EXPECT_FALSE(edit.canUndo());

    // Undo works while read-only: it takes back the user's own edits, which read-only never blocks.
    ASSERT_TRUE(edit.userInsert("g"));
    edit.setReadOnly(true);
    EXPECT_TRUE(edit.undo());
    EXPECT_EQ(edit.text(), "ef");
}

// Word wrap, with every byte one pixel wide unless said otherwise.
TEST(EditControlWrap, LongLinesBreakAfterTheLastSpaceThatFits) {
    EditControl edit;
    ASSERT_TRUE(edit.setText("the quick brown fox\r\njumps\r\n\r\nabcdefghij"));
    edit.setWordWrap(true, {}, 10);
    EXPECT_TRUE(edit.wordWrap());
    EXPECT_EQ(displayLines(edit), (Lines{"the quick ", "brown fox", "jumps", "", "abcdefghij"}));
    EXPECT_EQ(edit.editorLineCount(), 4);
    EXPECT_EQ(edit.lineIndex(1), 10);
    EXPECT_EQ(edit.lineIndex(2), 21);
    EXPECT_EQ(edit.lineFromPosition(12), 1);
    EXPECT_EQ(edit.lineLength(12), 9);
    EXPECT_EQ(edit.lineLength(19), 9);  // in the break: the line before it

    edit.setWrapWidth(4);
    EXPECT_EQ(displayLines(edit),
              (Lines{"the ", "quic", "k ", "brow", "n ", "fox", "jump", "s", "", "abcd", "efgh", "ij"}));
    char buffer[8];
    EXPECT_EQ(edit.getLine(1, buffer, sizeof buffer), 4u);
    EXPECT_EQ(std::string(buffer, 4), "quic");

    // Too narrow for anything: still one character per line.
    edit.setWrapWidth(0);
    EXPECT_EQ(displayLines(edit).size(), 35u);

    edit.setWordWrap(false);
    EXPECT_EQ(edit.lineCount(), 4);
    EXPECT_EQ(edit.text(), "the quick brown fox\r\njumps\r\n\r\nabcdefghij");
}

TEST(EditControlWrap, DoubleByteCharactersAreNeverSplit) {
    EditControl edit;
    int calls = 0;
    const auto eightPerByte = [&calls](std::string_view character) {
        ++calls;
        return static_cast<int>(8 * character.size());
    };
    // Three double-byte characters, an "a", and a lead byte right before a break.
    ASSERT_TRUE(edit.setText("\xC4\xE3\xBA\xC3\xC2\xF0" "a\xB0\r\n"));
    edit.setWordWrap(true, eightPerByte, 24);
    EXPECT_EQ(displayLines(edit), (Lines{"\xC4\xE3", "\xBA\xC3", "\xC2\xF0" "a", "\xB0", ""}));
    EXPECT_EQ(calls, 5);  // each distinct character measured once

    // A character wider than the line still gets a line of its own.
    edit.setWrapWidth(8);
    EXPECT_EQ(displayLines(edit), (Lines{"\xC4\xE3", "\xBA\xC3", "\xC2\xF0", "a", "\xB0", ""}));
}

TEST(EditControlWrap, EditsReWrapOnlyTheirLinesAndKeepTheRestInPlace) {
    EditControl edit;
    ASSERT_TRUE(edit.setText("aaaa bbbb\r\ncccc dddd\r\neeee"));
    edit.setWordWrap(true, {}, 5);
    ASSERT_EQ(displayLines(edit), (Lines{"aaaa ", "bbbb", "cccc ", "dddd", "eeee"}));

    edit.setSelection(2, 2);
    ASSERT_TRUE(edit.userInsert("X"));
    EXPECT_EQ(displayLines(edit), (Lines{"aaXaa", " bbbb", "cccc ", "dddd", "eeee"}));
    ASSERT_TRUE(edit.undo());
    EXPECT_EQ(displayLines(edit), (Lines{"aaaa ", "bbbb", "cccc ", "dddd", "eeee"}));

    // Joining two lines re-wraps them as one; breaking a line re-wraps both halves.
    edit.setSelection(9, 11);
    ASSERT_TRUE(edit.replaceSelection(" ", false));
    EXPECT_EQ(displayLines(edit), (Lines{"aaaa ", "bbbb ", "cccc ", "dddd", "eeee"}));
    EXPECT_EQ(edit.editorLineCount(), 2);
    ASSERT_TRUE(replaceEditorLine(edit, 1, "e\r\nfffffff"));
    EXPECT_EQ(displayLines(edit), (Lines{"aaaa ", "bbbb ", "cccc ", "dddd", "e", "fffff", "ff"}));
    EXPECT_EQ(edit.lineIndex(6), 29);
    EXPECT_EQ(edit.lineLength(25), 5);
    EXPECT_EQ(edit.lineLength(31), 2);

    // Lines are display lines; editor lines stay what they are.
    EXPECT_EQ(editorLine(edit, 0), "aaaa bbbb cccc dddd");
    EXPECT_EQ(edit.editorLineStart(2), 24);
}

TEST(EditControlWrap, SwitchingWrapKeepsTextSelectionAndHistory) {
    EditControl edit;
    ASSERT_TRUE(edit.userInsert("one two three"));
    edit.setSelection(2, 5);
    edit.setReadOnly(true);
    edit.setWordWrap(true, {}, 6);
    EXPECT_EQ(edit.lineCount(), 3);
    edit.setWrapWidth(6);
    edit.setWordWrap(false);
    edit.setWrapWidth(3);  // remembered, not applied, while wrap is off
    EXPECT_EQ(edit.lineCount(), 1);
    EXPECT_EQ(edit.wrapWidth(), 3);
    EXPECT_EQ(edit.text(), "one two three");
    EXPECT_EQ(edit.selectionStart(), 2);
    EXPECT_TRUE(edit.readOnly());
    EXPECT_TRUE(edit.canUndo());

    // A new text under wrap is divided as its lines are asked for.
    edit.setWordWrap(true, {}, 3);
    ASSERT_TRUE(edit.setText("abcdefg"));
    EXPECT_EQ(displayLines(edit), (Lines{"abc", "def", "g"}));
}

TEST(EditControlWrap, LinesAreDividedLazilyAndEndAsAWholeNewDivisionWould) {
    // 40 editor lines that each divide into three at width 5, and an empty last one.
    std::string text;
    for (int i = 0; i < 40; ++i) text += "aaaa bbbb cccc\r\n";
    EditControl edit;
    ASSERT_TRUE(edit.setText(text));
    edit.setWordWrap(true, {}, 5);
    EXPECT_FALSE(edit.wrapComplete());
    EXPECT_EQ(edit.lineCountSoFar(), 41);  // nothing divided yet: one display line per editor line

    // Asking for a line divides the lines up to it, and no more.
    EXPECT_EQ(edit.lineIndex(4), 16 + 5);
    EXPECT_EQ(edit.lineFromPosition(16 + 12), 5);
    EXPECT_EQ(edit.lineCountSoFar(), 6 + 39);
    edit.checkInvariants();

    // Edits inside the divided lines, across the end of the division and beyond it.
    edit.setSelection(2, 2);
    ASSERT_TRUE(edit.userInsert("X"));
    edit.setSelection(20, 40);
    ASSERT_TRUE(edit.userInsert("yy\r\nzz zz zz"));
    edit.checkInvariants();
    edit.setSelection(300, 330);
    ASSERT_TRUE(edit.userInsert("\r\n"));
    edit.checkInvariants();
    ASSERT_TRUE(edit.undo());
    edit.checkInvariants();

    // Idle steps divide the rest in slices of whole lines.
    int slices = 0;
    while (edit.wrapSome(64)) ++slices;
    EXPECT_GE(slices, 5);
    EXPECT_TRUE(edit.wrapComplete());
    EXPECT_FALSE(edit.wrapSome(64));
    edit.checkInvariants();

    EditControl whole;
    ASSERT_TRUE(whole.setText(edit.text()));
    whole.setWordWrap(true, {}, 5);
    EXPECT_EQ(whole.lineCount(), edit.lineCountSoFar());
    EXPECT_EQ(displayLines(edit), displayLines(whole));

    // A new width starts again from the top; the count is exact whenever it is asked for.
    edit.setWrapWidth(10);
    EXPECT_FALSE(edit.wrapComplete());
    whole.setWrapWidth(10);
    EXPECT_EQ(edit.lineCount(), whole.lineCount());
    EXPECT_TRUE(edit.wrapComplete());
    edit.setWordWrap(false);
    EXPECT_TRUE(edit.wrapComplete());
    EXPECT_FALSE(edit.wrapSome(64));
}

}  // namespace
}  // namespace zozuz
