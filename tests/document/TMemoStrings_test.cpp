#include "document/TMemoStrings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "RecordingHost.h"
#include "base/Exception.h"

namespace zozuz {
namespace {

using namespace std::string_literals;
using Calls = std::vector<std::string>;

class TMemoStringsTest : public ::testing::Test {
protected:
    EditControl editor;
    RecordingHost host;
    TMemoStrings lines{editor, LeadByteSet::codePage936(), &host};

    void load(std::string_view text) { ASSERT_TRUE(editor.setText(text)); }
};

TEST_F(TMemoStringsTest, ALastEmptyLineIsNotCounted) {
    const std::pair<std::string, int> cases[] = {
        {"", 0}, {"A", 1}, {"A\r\n", 1}, {"\r\n", 1}, {"A\r\n\r\n", 2}, {"A\r\nB", 2}, {"A\r\nB\r\n", 2},
        {"A\rB\n", 1},  // lone CR and LF are bytes of the line
    };
    for (const auto& [text, count] : cases) {
        load(text);
        EXPECT_EQ(lines.count(), count) << text;
    }
}

TEST_F(TMemoStringsTest, GetLineReturnsAtMost4096BytesAndEmptyForAMissingLine) {
    load(std::string(5000, 'x') + "\r\nA\rB");
    EXPECT_EQ(lines.get(0), std::string(4096, 'x'));
    EXPECT_EQ(lines.get(1), "A\rB");
    EXPECT_EQ(lines.get(2), "");
    EXPECT_EQ(lines.get(-1), "");
    load("");
    EXPECT_EQ(lines.get(0), "");
}

TEST_F(TMemoStringsTest, PutLineReplacesTheWholeOldLine) {
    load(std::string(5000, 'x') + "\r\nY");
    lines.put(0, "A");
    EXPECT_EQ(editor.text(), "A\r\nY");
}

TEST_F(TMemoStringsTest, PutLineWithACrLfSplitsTheLine) {
    load("X\r\nY");
    lines.put(0, "A\r\nB");
    EXPECT_EQ(editor.text(), "A\r\nB\r\nY");
    EXPECT_EQ(lines.count(), 3);
    EXPECT_EQ(lines.get(2), "Y");
}

TEST_F(TMemoStringsTest, PutLineStopsAtAZeroByteAndKeepsLoneBreaks) {
    load("X");
    lines.put(0, "A\0B"s);
    EXPECT_EQ(editor.text(), "A");
    lines.put(0, "A\nB");
    EXPECT_EQ(lines.count(), 1);
    EXPECT_EQ(lines.get(0), "A\nB");
}

TEST_F(TMemoStringsTest, PutLineOnAMissingLineChangesNothingExceptTheEmptyLastOne) {
    load("");
    lines.put(0, "A");
    EXPECT_EQ(editor.text(), "A");

    load("A\r\nB");
    lines.put(2, "C");
    lines.put(5, "C");
    lines.put(-1, "C");
    EXPECT_EQ(editor.text(), "A\r\nB");

    load("A\r\nB\r\n");
    lines.put(2, "C");
    EXPECT_EQ(editor.text(), "A\r\nB\r\nC");
}

TEST_F(TMemoStringsTest, PutLineIsNotUndoable) {
    load("X");
    editor.setSelection(1, 1);
    ASSERT_TRUE(editor.userInsert("y"));
    lines.put(0, "Z");
    EXPECT_FALSE(editor.canUndo());
}

TEST_F(TMemoStringsTest, ClearEmptiesTextAndUndo) {
    load("A\r\nB");
    editor.setSelection(3, 3);
    ASSERT_TRUE(editor.userInsert("x"));
    lines.clear();
    EXPECT_EQ(lines.count(), 0);
    EXPECT_EQ(editor.caret(), 0);
    EXPECT_FALSE(editor.canUndo());
}

TEST_F(TMemoStringsTest, SetTextNormalisesAndStopsAtAZeroByte) {
    lines.setText("A\nB");
    EXPECT_EQ(lines.text(), "A\r\nB");
    lines.setText("A\0B"s);
    EXPECT_EQ(lines.text(), "A");
    lines.setText("\x81\r\n");
    EXPECT_EQ(lines.text(), "\x81\r\r\n");
    EXPECT_EQ(lines.count(), 1);
    EXPECT_EQ(lines.get(0), "\x81\r");
}

TEST_F(TMemoStringsTest, SetTextWithTheSameTextLeavesCaretAndUndoAlone) {
    load("A\r\nB");
    editor.setSelection(4, 4);
    ASSERT_TRUE(editor.userInsert("C"));
    editor.setSelection(1, 2);
    host.calls.clear();
    lines.setText("A\nBC");  // normalises to the editor's text
    EXPECT_TRUE(editor.canUndo());
    EXPECT_EQ(editor.selectionStart(), 1);
    EXPECT_EQ(editor.selectionEnd(), 2);
    EXPECT_TRUE(host.calls.empty());

    lines.setText("A\r\nBD");
    EXPECT_FALSE(editor.canUndo());
    EXPECT_EQ(editor.caret(), 0);
    EXPECT_EQ(host.calls, Calls{"changed"});
}

TEST_F(TMemoStringsTest, ATextThatDiffersOnlyAfterAZeroByteIsStillANewText) {
    load("A\r\nB");
    editor.setSelection(4, 4);
    ASSERT_TRUE(editor.userInsert("C"));
    host.calls.clear();
    lines.setText("A\r\nBC\0junk"s);  // up to the zero byte, the editor's own text
    EXPECT_EQ(lines.text(), "A\r\nBC");
    EXPECT_EQ(editor.caret(), 0);
    EXPECT_FALSE(editor.canUndo());
    EXPECT_EQ(host.calls, Calls{"changed"});

    // Loaded from a block, the same.
    editor.setSelection(2, 3);
    ASSERT_TRUE(editor.userInsert("\r\n"));
    ASSERT_TRUE(editor.undo());
    host.calls.clear();
    const std::string file = "A\r\nBC\0\n"s;
    auto block = std::make_unique<char[]>(file.size());
    std::copy(file.begin(), file.end(), block.get());
    lines.adoptText(std::move(block), file.size(), file.size(), true);
    EXPECT_EQ(lines.text(), "A\r\nBC");
    EXPECT_FALSE(editor.canUndo());
    EXPECT_EQ(host.calls, Calls{"changed"});

    // A text whose zero bytes the editor holds too is the same text.
    load("A\0B"s);
    editor.setSelection(1, 2);
    host.calls.clear();
    lines.setText("A\0B"s);
    EXPECT_EQ(editor.selectionEnd(), 2);
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(TMemoStringsTest, TheSameTextIsRecognisedAcrossThePiecesItIsComparedIn) {
    // A lone CR at the end of the first 64 KiB piece gets its LF only with the next piece.
    const std::string text = std::string(65535, 'x') + "\ry\n" + std::string(70000, 'z') + "\r";
    const std::string normalised = std::string(65535, 'x') + "\r\ny\r\n" + std::string(70000, 'z') + "\r\n";
    load(normalised);
    editor.setSelection(5, 9);
    host.calls.clear();
    lines.setText(text);
    EXPECT_EQ(editor.selectionEnd(), 9);
    EXPECT_TRUE(host.calls.empty());
    lines.setText(text + "\r");  // one break more
    EXPECT_EQ(lines.text(), normalised + "\r\n");
    EXPECT_EQ(editor.caret(), 0);
}

// A plain text read into a block is normalised in the block when the block has room for what that
// adds; otherwise into a block of its own, next to the first one while the text grows by half at
// most and, when it grows more, after the first one is let go, with the text read again into it.
TEST_F(TMemoStringsTest, APlainTextFromABlockIsNormalisedInItsRoomOrInANewBlock) {
    struct Case {
        const char* what;
        std::string file;
        std::size_t room;      // the block's bytes after the text
        std::string again;     // what reading again gives, when it is asked
        bool readsAgain;
        std::string expected;  // the editor's text, or "(read error)"
    };
    const std::string lines50 = [] {
        std::string text;
        for (int i = 0; i < 50; ++i) text += "line\n";
        return text;
    }();
    const std::string crlf50 = [] {
        std::string text;
        for (int i = 0; i < 50; ++i) text += "line\r\n";
        return text;
    }();
    const std::string empty50(50, '\n');
    const std::string emptyCrlf50 = [] {
        std::string text;
        for (int i = 0; i < 50; ++i) text += "\r\n";
        return text;
    }();
    const Case cases[] = {
        {"room enough", lines50, 8192, "", false, crlf50},
        {"growing by a fifth, with no room", lines50, 0, lines50, false, crlf50},
        {"doubling, with no room", empty50, 0, empty50, true, emptyCrlf50},
        {"doubling, cut at a zero byte", empty50 + "\0\n"s, 0, empty50 + "\0\n"s, true, emptyCrlf50},
        {"read again shorter", empty50, 0, empty50.substr(0, 40), true, emptyCrlf50.substr(0, 80)},
        {"read again with a zero byte", empty50, 0, "\n\n\0\n"s, true, "\r\n\r\n"},
        {"read again with more breaks to add", "a\r\n" + empty50, 0, empty50 + "\n", true, "(read error)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        load("keep");
        auto block = std::make_unique<char[]>(c.file.size() + c.room);
        std::copy(c.file.begin(), c.file.end(), block.get());
        LoneBreakCount count;
        count.feed(c.file.data(), c.file.size());
        count.finish();
        int readsAgain = 0;
        const auto readAgain = [&](char* into, std::size_t size) {
            ++readsAgain;
            const std::size_t n = std::min(size, c.again.size());
            std::copy(c.again.begin(), c.again.begin() + static_cast<std::ptrdiff_t>(n), into);
            return n;
        };
        try {
            lines.adoptPlainText(std::move(block), c.file.size(), c.file.size() + c.room, count, readAgain);
            EXPECT_EQ(lines.text(), c.expected);
        } catch (const EReadError& error) {
            EXPECT_EQ(error.message(), "Stream read error");
            EXPECT_EQ("(read error)", c.expected);
            EXPECT_EQ(lines.text(), "keep");
        }
        EXPECT_EQ(readsAgain, c.readsAgain ? 1 : 0);
        editor.checkInvariants();
    }
}

TEST(TMemoStringsCapacity, ATextBeyondTheCapacityIsRefusedAndTheEditorKept) {
    EditControl editor(LeadByteSet::codePage936(), 8);
    TMemoStrings lines(editor);
    lines.setText("12345678");
    try {
        lines.setText("123456789");
        FAIL() << "no error";
    } catch (const EInvalidOperation& error) {
        EXPECT_EQ(error.message(), "Text exceeds memo capacity");
    }
    // Eight bytes whose lone LFs grow them past the capacity are refused as well.
    EXPECT_THROW(lines.setText("1\n2\n3\n4\n"), EInvalidOperation);
    EXPECT_THROW(lines.setRawText("123456789"), EInvalidOperation);
    EXPECT_EQ(lines.text(), "12345678");
    // Bytes after a zero byte are not loaded, so they do not count.
    lines.setText("1234\0 56789"s);
    EXPECT_EQ(lines.text(), "1234");
}

TEST_F(TMemoStringsTest, RawTextKeepsEveryByte) {
    lines.setRawText("A\nB\0C\rD\xFF"s);
    EXPECT_EQ(lines.text(), "A\nB\0C\rD\xFF"s);
}

TEST_F(TMemoStringsTest, OnlyTheOutermostUpdatePairSwitchesRedraw) {
    lines.beginUpdate();
    lines.beginUpdate();
    EXPECT_EQ(host.calls, Calls{"redraw off"});
    lines.endUpdate();
    EXPECT_EQ(host.calls, Calls{"redraw off"});
    EXPECT_EQ(lines.updateDepth(), 1);
    lines.endUpdate();
    EXPECT_EQ(host.calls, (Calls{"redraw off", "redraw on", "refresh"}));
    EXPECT_EQ(lines.updateDepth(), 0);
    // An unpaired end changes nothing.
    lines.endUpdate();
    EXPECT_EQ(lines.updateDepth(), 0);
    EXPECT_EQ(host.calls.size(), 3u);
}

TEST_F(TMemoStringsTest, WithoutAWindowTheDepthIsCountedButNothingSwitched) {
    host.windowExists = false;
    lines.beginUpdate();
    EXPECT_EQ(lines.updateDepth(), 1);
    lines.endUpdate();
    EXPECT_TRUE(host.calls.empty());

    TMemoStrings hostless(editor);
    hostless.beginUpdate();
    hostless.endUpdate();
    EXPECT_EQ(hostless.updateDepth(), 0);
}

TEST_F(TMemoStringsTest, ByteRangesAreWholeAndHoldEveryByte) {
    load(std::string(5000, 'x') + "\r\nA\0B"s);
    std::string bytes;
    lines.editorText(0, 5000, bytes);
    EXPECT_EQ(bytes, std::string(5000, 'x'));
    lines.editorText(5002, 99999, bytes);  // clamped to the text
    EXPECT_EQ(bytes, "A\0B"s);
    lines.editorText(7, 3, bytes);
    EXPECT_EQ(bytes, "");
    ASSERT_TRUE(lines.replaceEditorText(5002, 5005, "\0\xFF"s));
    EXPECT_EQ(editor.text(), std::string(5000, 'x') + "\r\n\0\xFF"s);
    EXPECT_FALSE(editor.canUndo());
}

TEST_F(TMemoStringsTest, WordWrapCountsDisplayLinesAndSwitchingKeepsTextAndReadOnly) {
    load("abcdefghij\r\nk");
    lines.setReadOnly(true);
    editor.setSelection(3, 3);
    editor.setReadOnly(false);
    ASSERT_TRUE(editor.userInsert("Z"));
    editor.setReadOnly(true);
    lines.setWordWrap(true, [](std::string_view) { return 10; }, 40);
    EXPECT_TRUE(lines.wordWrap());
    EXPECT_GT(lines.count(), 2);
    EXPECT_EQ(editor.editorLineCount(), 2);
    EXPECT_EQ(lines.text(), "abcZdefghij\r\nk");
    EXPECT_TRUE(lines.readOnly());
    EXPECT_FALSE(editor.canUndo());
    EXPECT_EQ(editor.caret(), 0);
    lines.setWordWrap(false);
    EXPECT_EQ(lines.count(), 2);
    EXPECT_EQ(lines.text(), "abcZdefghij\r\nk");
}

}  // namespace
}  // namespace zozuz
