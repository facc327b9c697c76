#include "document/LineCipher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RecordingHost.h"
#include "document/TMemoStrings.h"

namespace zozuz {
namespace {

using namespace std::string_literals;

const LineCipher kEncrypt(CipherDirection::Encrypt);
const LineCipher kDecrypt(CipherDirection::Decrypt);

std::string shifted(const LineCipher& cipher, std::string line) {
    cipher.shiftLine(line.data(), line.size());
    return line;
}

TEST(LineCipherShift, RaisesOrLowersEveryByteOfAShortLineWithWrapAround) {
    EXPECT_EQ(shifted(kEncrypt, "abc"), "bcd");
    EXPECT_EQ(shifted(kDecrypt, "bcd"), "abc");
    EXPECT_EQ(shifted(kEncrypt, "\xBC\xD3\xC3\xDC"), "\xBD\xD4\xC4\xDD");  // 加密
    EXPECT_EQ(shifted(kEncrypt, "\xFE\xFF"), "\xFF\0"s);
    EXPECT_EQ(shifted(kDecrypt, "\x01\0"s), "\0\xFF"s);
    EXPECT_EQ(shifted(kEncrypt, ""), "");
}

TEST(LineCipherShift, OnlyTheFirstLengthMod256BytesMove) {
    EXPECT_EQ(shifted(kEncrypt, std::string(255, 'a')), std::string(255, 'b'));
    EXPECT_EQ(shifted(kEncrypt, std::string(256, 'a')), std::string(256, 'a'));
    EXPECT_EQ(shifted(kEncrypt, std::string(257, 'a')), "b" + std::string(256, 'a'));
    EXPECT_EQ(shifted(kEncrypt, std::string(300, 'a')), std::string(44, 'b') + std::string(256, 'a'));
    EXPECT_EQ(shifted(kEncrypt, std::string(4096, 'a')), std::string(4096, 'a'));
    EXPECT_EQ(shifted(kEncrypt, std::string(4097, 'a')), "b" + std::string(4096, 'a'));
}

class LineCipherRun : public ::testing::Test {
protected:
    EditControl editor;
    RecordingHost host;
    TMemoStrings lines{editor, LeadByteSet::codePage936(), &host};
    std::vector<int> progress;

    void run(const LineCipher& cipher) {
        cipher.run(lines, [this](int value) { progress.push_back(value); });
    }
};

TEST_F(LineCipherRun, ShiftsEachLineAndLeavesBreaksAlone) {
    lines.setText("abc\r\n\r\n\xBC\xD3\xC3\xDC\r\n");
    host.calls.clear();
    run(kEncrypt);
    EXPECT_EQ(lines.text(), "bcd\r\n\r\n\xBD\xD4\xC4\xDD\r\n");
    EXPECT_EQ(progress, (std::vector<int>{2, 4, 6}));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"redraw off", "redraw on", "refresh"}));
    run(kDecrypt);
    EXPECT_EQ(lines.text(), "abc\r\n\r\n\xBC\xD3\xC3\xDC\r\n");
}

TEST_F(LineCipherRun, TheCaretEndsAfterTheBytesOfTheLastLine) {
    lines.setText("abc\r\nde\r\n");
    editor.setSelection(1, 2);
    run(kEncrypt);
    EXPECT_EQ(editor.caret(), 7);  // before the break that ends the text
    EXPECT_FALSE(editor.hasSelection());
    lines.setText("abc\r\ndef");
    run(kDecrypt);
    EXPECT_EQ(editor.caret(), 8);  // at the end of a text without a last break
    lines.setText("\r\n");  // one empty line
    editor.setSelection(2, 2);
    run(kEncrypt);
    EXPECT_EQ(editor.caret(), 0);
}

TEST_F(LineCipherRun, AnEmptyDocumentReportsNoProgress) {
    run(kEncrypt);
    EXPECT_EQ(lines.text(), "");
    EXPECT_TRUE(progress.empty());
}

TEST_F(LineCipherRun, ProgressCountsTwoPerLine) {
    std::string text;
    for (int i = 0; i < 60; ++i) text += "line\r\n";
    lines.setText(text);
    run(kEncrypt);
    ASSERT_EQ(progress.size(), 60u);
    EXPECT_EQ(progress[9], 20);
    EXPECT_EQ(progress.back(), 120);
}

TEST_F(LineCipherRun, LinesLongerThan4096BytesAreShiftedWholeAndKeepTheirLength) {
    const std::string lengths[] = {std::string(4097, 'a'), std::string(1 << 20, 'a') + "aaa", std::string(8192 + 5, 'a')};
    std::string text;
    for (const std::string& line : lengths) text += line + "\r\n";
    lines.setText(text);
    run(kEncrypt);
    std::string expected;
    for (const std::string& line : lengths) expected += shifted(kEncrypt, line) + "\r\n";
    EXPECT_EQ(lines.text(), expected);
    run(kDecrypt);
    EXPECT_EQ(lines.text(), text);
}

TEST_F(LineCipherRun, ManyLinesAcrossBlocksAreEachShiftedOnce) {
    // Several megabytes of lines of every length up to 600, some of which shift into extra breaks.
    std::string text;
    std::string expected;
    int count = 0;
    for (std::size_t i = 0; text.size() < (3u << 20); ++i, ++count) {
        std::string line(i * 7919 % 601, static_cast<char>('a' + i % 26));
        if (i % 5 == 0 && line.size() > 3) line.replace(1, 2, "\x0C\x09");
        text += line + "\r\n";
        expected += shifted(kEncrypt, line) + "\r\n";
    }
    lines.setText(text);
    run(kEncrypt);
    EXPECT_TRUE(lines.text() == expected);
    ASSERT_EQ(progress.size(), static_cast<std::size_t>(count));
    EXPECT_EQ(progress.back(), 2 * count);
}

TEST_F(LineCipherRun, ALineSplitByItsOwnShiftIsShiftedOnce) {
    // Form feed and tab become CR LF: the first line is split in two on the way back, and the line
    // after it must still be the next one shifted.
    lines.setText("a\x0C\x09z\r\nbc");
    run(kEncrypt);
    EXPECT_EQ(lines.text(), "b\r\n{\r\ncd");
    EXPECT_EQ(progress, (std::vector<int>{2, 4}));
    EXPECT_EQ(lines.editor().editorLineCount(), 3);
}

TEST_F(LineCipherRun, ZeroBytesFromTheShiftStayInTheLine) {
    lines.setText("\xFF\xFF\r\nab");
    run(kEncrypt);
    EXPECT_EQ(lines.text(), "\0\0\r\nbc"s);
    run(kDecrypt);
    EXPECT_EQ(lines.text(), "\xFF\xFF\r\nab");
}

TEST_F(LineCipherRun, TheResultDoesNotDependOnWordWrap) {
    const std::string text = std::string(300, 'q') + "\r\nshort\r\n" + std::string(40, '\xB0');
    lines.setText(text);
    run(kEncrypt);
    const std::string unwrapped = lines.text();

    lines.setText(text);
    lines.setWordWrap(true, [](std::string_view character) { return static_cast<int>(character.size()) * 7; }, 50);
    ASSERT_GT(lines.count(), 3);
    run(kEncrypt);
    EXPECT_EQ(lines.text(), unwrapped);
}

TEST_F(LineCipherRun, RoundTripRestoresAnyBytesLoadedAsTheyAre) {
    // Tabs, form feeds, 0xFF and lone breaks: all of them survive Encrypt then Decrypt when the text
    // is taken byte for byte.
    const std::string text = "\t\x0C\xFF\r\n\n\r\0a\x0C\r\n\x0B\x0E\x01"s + std::string(257, '\x0C') + "\x09";
    lines.setRawText(text);
    run(kEncrypt);
    run(kDecrypt);
    EXPECT_EQ(lines.text(), text);
}

}  // namespace
}  // namespace zozuz
