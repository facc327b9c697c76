#include "document/StreamCipher.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "document/LineCipher.h"
#include "document/TMemoStrings.h"
#include "editor/EditControl.h"

namespace zozuz {
namespace {

using namespace std::string_literals;

// What the program saves after opening `input` (as a plain or an encrypted file) and running the
// cipher once.
std::string documentPath(const std::string& input, CipherDirection direction, bool plain) {
    EditControl editor;
    TMemoStrings document(editor);
    if (plain) {
        document.setText(input);
    } else {
        document.setRawText(input);
    }
    LineCipher(direction).run(document, {});
    return document.text();
}

// The same through the stream, fed in pieces of the given sizes, repeated.
std::string streamPath(std::string input, CipherDirection direction, bool plain, const std::vector<std::size_t>& pieces) {
    std::string out;
    StreamCipher cipher(direction, plain, [&out](std::string_view bytes) { out.append(bytes); });
    std::size_t at = 0;
    for (std::size_t i = 0; at < input.size(); ++i) {
        const std::size_t n = std::min(pieces[i % pieces.size()], input.size() - at);
        if (!cipher.feed(input.data() + at, n)) break;
        at += n;
    }
    cipher.finish();
    return out;
}

void expectSameAsDocument(const std::string& input, const std::string& label) {
    const std::vector<std::vector<std::size_t>> piecings = {{1}, {2}, {3}, {1, 5}, {7, 1, 255}, {4096}, {1 << 20}};
    for (const bool plain : {true, false}) {
        for (const CipherDirection direction : {CipherDirection::Encrypt, CipherDirection::Decrypt}) {
            const std::string expected = documentPath(input, direction, plain);
            for (const auto& pieces : piecings) {
                if (input.size() > 100000 && pieces[0] < 4096) continue;  // one-byte pieces of a megabyte say nothing new
                ASSERT_EQ(streamPath(input, direction, plain, pieces), expected)
                    << label << (plain ? " plain" : " encrypted") << " pieces of " << pieces[0];
            }
        }
    }
}

TEST(StreamCipher, ShiftsLinesLikeTheDocument) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "empty"},
        {"abc", "one line"},
        {"abc\r\n", "final break"},
        {"\r\n\r\n", "empty lines"},
        {"\xBC\xD3\xC3\xDC\r\nx", "GBK"},
        {"\x81\r\nA\r\n", "lead byte before CR LF"},
        {"\x81\nA", "lead byte before LF"},
        {"A\rB\nC\n\rD\r", "lone CR and LF"},
        {"\r\r\n\n", "CR CR LF LF"},
        {"A\0B\r\nC"s, "zero byte"},
        {"\0"s, "only a zero byte"},
        {"\xFF\xFF\x0C\x09\r\n\t\x0C", "bytes that shift into zero and breaks"},
        {"\x0E\x0B\x01\x01\r\n", "bytes that shift back into breaks"},
        {"\xFE", "lead byte last"},
        {"\xFF\xFE" "A\0B\0"s, "UTF-16"},
    };
    for (const auto& [input, label] : cases) expectSameAsDocument(input, label);
}

TEST(StreamCipher, LongLinesKeepTheirWindowAcrossPieces) {
    for (std::size_t length : {255u, 256u, 257u, 4096u, 4097u, (1u << 20) + 3}) {
        std::string line(length, 'q');
        line[length / 2] = '\x81';  // a lead byte carrying a q along
        const std::string input = line + "\r\n" + line + "\n" + line;
        expectSameAsDocument(input, "line of " + std::to_string(length));
    }
}

TEST(StreamCipher, StopsReadingAfterAZeroByteInPlainInput) {
    std::string out;
    StreamCipher cipher(CipherDirection::Encrypt, true, [&out](std::string_view bytes) { out.append(bytes); });
    std::string first = "ab\r";
    std::string second = "\0more"s;
    EXPECT_TRUE(cipher.feed(first.data(), first.size()));
    EXPECT_FALSE(cipher.feed(second.data(), second.size()));
    EXPECT_FALSE(cipher.feed(first.data(), first.size()));
    cipher.finish();
    EXPECT_EQ(out, "bc\r\n");
}

TEST(StreamCipher, AgreesWithTheDocumentOnRandomInput) {
    std::mt19937 random(1);
    const char alphabet[] = {'\r', '\n', '\0', 'a', '\x81', '\xB0', '\xFF', '\x0C', '\x09', '\x0E', '\x0B', '\x01'};
    for (int round = 0; round < 400; ++round) {
        std::string input(random() % 600, ' ');
        for (char& c : input) c = random() % 4 == 0 ? alphabet[random() % sizeof(alphabet)] : 'x';
        expectSameAsDocument(input, "round " + std::to_string(round));
    }
}


// An output that keeps everything in a string and writes a long line's head again where it began.
class RewritingOutput : public StreamCipher::Output {
public:
    std::string text;
    int longLines = 0;
    void write(std::string_view bytes) override { text.append(bytes); }
    void beginLongLine() override {
        EXPECT_EQ(lineStart, std::string::npos) << "a long line began inside another";
        lineStart = text.size();
        ++longLines;
    }
    void rewriteLineHead(std::string_view head) override {
        ASSERT_NE(lineStart, std::string::npos);
        ASSERT_LE(lineStart + head.size(), text.size());
        text.replace(lineStart, head.size(), head);
        lineStart = std::string::npos;
    }

private:
    std::size_t lineStart = std::string::npos;
};

TEST(StreamCipher, LinesPastTheHoldLimitComeOutAsTheDocumentSavesThem) {
    std::mt19937 random(7);
    const char alphabet[] = {'\r', '\n', '\0', '\x81', '\xB0', '\xFF', '\x01'};
    int longLines = 0;
    for (int round = 0; round < 300; ++round) {
        // Lines around the hold limit, the window's 256 and twice it, with lone CRs and LFs, a CR
        // right at a piece's end, and zero bytes.
        std::string input;
        const int lines = 1 + static_cast<int>(random() % 4);
        for (int line = 0; line < lines; ++line) {
            std::string bytes(random() % 1400, 'x');
            for (char& c : bytes) c = random() % 50 == 0 ? alphabet[random() % sizeof(alphabet)] : static_cast<char>('a' + random() % 26);
            input += bytes;
            if (random() % 4 != 0) input += "\r\n";
        }
        for (const bool plain : {true, false}) {
            const CipherDirection direction = round % 2 == 0 ? CipherDirection::Encrypt : CipherDirection::Decrypt;
            const std::size_t piece = 1 + random() % 700;
            RewritingOutput out;
            StreamCipher cipher(direction, plain, out, 300);
            std::string copy = input;
            for (std::size_t at = 0; at < copy.size(); at += piece) {
                if (!cipher.feed(copy.data() + at, std::min(piece, copy.size() - at))) break;
            }
            cipher.finish();
            ASSERT_EQ(out.text, documentPath(input, direction, plain)) << "round " << round << " pieces of " << piece;
            longLines += out.longLines;
        }
    }
    EXPECT_GT(longLines, 100);  // the long-line path did run
}

}  // namespace
}  // namespace zozuz
