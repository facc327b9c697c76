#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "editor/CharacterOffsets.h"
#include "editor/EditorAccessibleText.h"
#include "EditViewFixture.h"

namespace zozuz {
namespace {

using Pos = EditControl::Pos;

// The character offsets a screen reader counts, found by walking the whole text: the starts of the
// characters (a break is one, at its CR), and the text's length at the end.
std::vector<Pos> characterStarts(const EditControl& edit, const CharacterKinds& kinds) {
    const std::string text = edit.text();
    std::vector<Pos> starts;
    for (Pos line = 0; line < edit.editorLineCount(); ++line) {
        const Pos start = edit.editorLineStart(line);
        const Pos end = start + edit.editorLineLength(line);
        for (Pos p = start; p < end;) {
            starts.push_back(p);
            const int second = p + 1 < end ? static_cast<std::uint8_t>(text[p + 1]) : -1;
            p += kinds.at(static_cast<std::uint8_t>(text[p]), second).length;
        }
        if (line + 1 < edit.editorLineCount()) starts.push_back(end);
    }
    starts.push_back(edit.textLength());
    return starts;
}

// Edits of every kind (typing, breaks, pairs torn apart and joined, lone lead bytes, whole lines
// removed) against blocks of two lines, so that edits cross the blocks' borders, and with lines over
// four bytes long keeping marks two or three bytes apart; every offset and position then agrees with
// a walk of the whole text.
TEST(CharacterOffsets, AgreeWithAWalkOfTheWholeTextAfterEveryEdit) {
    SystemCodePageCodec codec;
    CharacterKinds kinds(LeadByteSet::codePage936(), codec);
    EditControl edit;
    CharacterOffsets offsets(edit, kinds, 2, 4, 2);
    edit.addChangeListener([&](Pos p, Pos removed, Pos inserted) { offsets.changed(p, removed, inserted); });
    const std::vector<std::string> pieces = {"a", "\xD6\xD0", "\xD6", "\xCE\xC4x", "\r\n", "\r\n\r\n", "\n", "\xFF", "b\r\nc\xD6"};
    std::mt19937 random(7);
    edit.setText("abc \xD6\xD0\xCE\xC4\r\nline\r\n\r\n\xD6\r\nlast \xD6\xD0x\xD6\xD0\xCE\xC4\xFF\xD6\xD0 long");
    for (int step = 0; step < 400; ++step) {
        const Pos length = edit.textLength();
        const Pos a = static_cast<Pos>(random() % static_cast<std::uint32_t>(length + 1));
        const Pos b = std::min<Pos>(length, a + static_cast<Pos>(random() % 4));
        edit.setSelection(a, random() % 3 == 0 ? b : a);
        edit.replaceSelection(pieces[random() % pieces.size()], true);
        if (step % 5 == 0) edit.undo();
        // Several edits between questions now and then, so that changed blocks gather.
        if (step % 4 != 3) continue;
        const std::vector<Pos> starts = characterStarts(edit, kinds);
        const Pos count = static_cast<Pos>(starts.size()) - 1;
        const Pos probe = static_cast<Pos>(random() % static_cast<std::uint32_t>(count + 1));
        ASSERT_EQ(offsets.positionOf(probe), starts[probe]) << "step " << step;
        if (step % 3 == 0) {
            ASSERT_EQ(offsets.count(), count) << "step " << step;
        }
        for (Pos o = 0; o <= count; ++o) {
            ASSERT_EQ(offsets.offsetOf(starts[o]), o) << "step " << step;
            ASSERT_EQ(offsets.positionOf(o), starts[o]) << "step " << step;
        }
        ASSERT_EQ(offsets.positionOf(count + 5), edit.textLength());
    }
}

// Typing in a large text once it has been counted walks one block of lines, not the text.
TEST(CharacterOffsets, AnEditWithinALineRecountsItsBlockOnly) {
    SystemCodePageCodec codec;
    CharacterKinds kinds(LeadByteSet::codePage936(), codec);
    EditControl edit;
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "\xD6\xD0\xCE\xC4 line of text\r\n";
    edit.setText(text);
    CharacterOffsets offsets(edit, kinds);
    edit.addChangeListener([&](Pos p, Pos removed, Pos inserted) { offsets.changed(p, removed, inserted); });
    EXPECT_EQ(offsets.count(), 20000 * 16);
    const std::uint64_t before = offsets.walkedBytes();
    edit.setSelection(100, 100);
    edit.replaceSelection("\xD6\xD0", true);
    EXPECT_EQ(offsets.count(), 20000 * 16 + 1);
    EXPECT_EQ(offsets.offsetOf(edit.textLength()), 20000 * 16 + 1);
    EXPECT_LT(offsets.walkedBytes() - before, 256u * 20 * 2);

    // Every line rewritten in turn, as a cipher run does, then one question: the text is walked about
    // once, not once a line, and the count is right.
    const std::uint64_t beforeRun = offsets.walkedBytes();
    for (Pos line = 0; line < 20000; ++line) {
        const Pos start = edit.editorLineStart(line);
        edit.setSelection(start, start + 4);
        edit.replaceSelection(line % 2 ? "ab" : "\xCE\xC4\xD6", true);
    }
    EXPECT_EQ(offsets.count(), 20000 * 16 + 1);  // two characters for two in every line
    EXPECT_LT(offsets.walkedBytes() - beforeRun, 2 * text.size());
}

struct AccessibleRig : testing::EditViewRig {
    std::vector<AccessibleTextChange> changes;
    EditorAccessibleText text{view, codec, [this](const AccessibleTextChange& c) { changes.push_back(c); }, {}};
};

TEST(EditorAccessibleText, ReadsPiecesAsUnicodeWithBreaksAsNewlines) {
    AccessibleRig rig;
    // "abc 中文", a break, a byte that is no character, a lone lead byte at a line's end, a tab.
    rig.setText("abc \xD6\xD0\xCE\xC4\r\nx\xFFy\xD6\r\n\tz");
    struct Row {
        AccessibleText::Offset start, end;
        const char* utf8;
    };
    const Row rows[] = {
        {0, 6, "abc 中文"},  {4, 5, "中"},  {0, 100, "abc 中文\nx\xEF\xBF\xBDy\xEF\xBF\xBD\n\tz"},
        {6, 7, "\n"},        {7, 11, "x\xEF\xBF\xBDy\xEF\xBF\xBD"},  {11, 14, "\n\tz"}, {5, 5, ""},
    };
    for (const Row& row : rows) EXPECT_EQ(rig.text.text(row.start, row.end), row.utf8) << row.start << ".." << row.end;
    EXPECT_EQ(rig.text.characterCount(), 14);
    EXPECT_EQ(rig.text.lineAt(5), (AccessibleText::Range{0, 6}));
    EXPECT_EQ(rig.text.lineAt(6), (AccessibleText::Range{0, 6}));
    EXPECT_EQ(rig.text.lineAt(7), (AccessibleText::Range{7, 11}));
    EXPECT_EQ(rig.text.lineAt(14), (AccessibleText::Range{12, 14}));
}

TEST(EditorAccessibleText, FollowsTheCaretAndEditsAsTheUserWould) {
    AccessibleRig rig;
    rig.setText("abc \xD6\xD0\xCE\xC4\r\nend", 4);
    EXPECT_EQ(rig.text.caret(), 4);
    rig.text.setSelection(6, 4);
    EXPECT_EQ(rig.text.selection(), (AccessibleText::Range{4, 6}));
    EXPECT_EQ(rig.text.caret(), 4);
    EXPECT_EQ(rig.view.caret(), 4);
    // The character's box on the first row, 12 pixels a character after the margin.
    const Rect box = rig.text.characterBounds(4);
    EXPECT_EQ(box.width(), testing::EditViewRig::kAdvance);
    EXPECT_EQ(rig.text.offsetAt({box.left + 2, box.top + 2}), 4);
    EXPECT_EQ(rig.text.offsetAt({-1, 0}), -1);

    rig.text.flush();
    rig.changes.clear();
    ASSERT_TRUE(rig.text.replace(4, 6, "好\n"));
    EXPECT_EQ(rig.edit.text(), "abc \xBA\xC3\r\n\r\nend");
    EXPECT_TRUE(rig.changes.empty()) << "told at the flush";
    rig.text.flush();
    ASSERT_FALSE(rig.changes.empty());
    // The count was never asked for: how many characters went is not known.
    EXPECT_EQ(rig.changes.front(), (AccessibleTextChange{AccessibleTextChange::Kind::Text, 4, -1, 2}));
    EXPECT_EQ(rig.changes.back(), (AccessibleTextChange{AccessibleTextChange::Kind::Caret, 6, 0, 0}));
    // Typing one character after the count is known tells exactly what went and came.
    rig.changes.clear();
    EXPECT_EQ(rig.text.characterCount(), 10);
    rig.press(0x2E);  // Delete: the break after the caret
    rig.type("x");
    rig.text.flush();
    ASSERT_FALSE(rig.changes.empty());
    EXPECT_EQ(rig.changes.front(), (AccessibleTextChange{AccessibleTextChange::Kind::Text, 6, -1, -1})) << "two as one";
    EXPECT_EQ(rig.text.characterCount(), 10);
    rig.changes.clear();
    rig.press(0x08);  // Backspace
    rig.text.flush();
    ASSERT_FALSE(rig.changes.empty());
    EXPECT_EQ(rig.changes.front(), (AccessibleTextChange{AccessibleTextChange::Kind::Text, 6, 1, 0}));

    rig.edit.setReadOnly(true);
    EXPECT_FALSE(rig.text.replace(0, 1, "q"));
    EXPECT_EQ(rig.edit.text(), "abc \xBA\xC3\r\nend");
}

}  // namespace
}  // namespace zozuz
