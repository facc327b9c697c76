// The Qt host's code-page services on Qt's offscreen platform: the codec against the C library's
// CP936 table for every code, the clipboard's two formats, and the fonts the editor's faces map to.
#include <iconv.h>

#include <optional>
#include <string>

#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <gtest/gtest.h>

#include "base/LeadByteSet.h"
#include "base/Utf8Append.h"
#include "editor/CharacterKinds.h"
#include "editor/ClipboardText.h"
#include "platform/files/SystemCodePageCodec.h"
#include "hosts/qt/QtClipboard.h"
#include "hosts/qt/QtCodePageCodec.h"
#include "hosts/qt/QtCodePageText.h"
#include "hosts/qt/QtFontMapper.h"

namespace zozuz {
namespace {

// The C library's CP936, one conversion at a time.
class GlibcCp936 {
public:
    GlibcCp936() : toUnicode_(iconv_open("UTF-32LE", "CP936")), fromUnicode_(iconv_open("CP936", "UTF-32LE")) {}
    ~GlibcCp936() {
        iconv_close(toUnicode_);
        iconv_close(fromUnicode_);
    }

    std::optional<char32_t> decode(const std::string& bytes) {
        std::string out = convert(toUnicode_, bytes);
        if (out.size() != 4) return std::nullopt;
        const auto* b = reinterpret_cast<const unsigned char*>(out.data());
        return static_cast<char32_t>(b[0] | b[1] << 8 | b[2] << 16 | static_cast<char32_t>(b[3]) << 24);
    }
    std::optional<std::string> encode(char32_t c) {
        const char in[4] = {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8 & 0xFF), static_cast<char>(c >> 16 & 0xFF), 0};
        std::string out = convert(fromUnicode_, std::string(in, 4));
        if (out.empty()) return std::nullopt;
        return out;
    }

private:
    static std::string convert(iconv_t d, const std::string& in) {
        iconv(d, nullptr, nullptr, nullptr, nullptr);
        char buffer[16];
        char* inPtr = const_cast<char*>(in.data());
        char* outPtr = buffer;
        std::size_t inLeft = in.size();
        std::size_t outLeft = sizeof buffer;
        if (iconv(d, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) return {};
        return std::string(buffer, sizeof buffer - outLeft);
    }

    iconv_t toUnicode_;
    iconv_t fromUnicode_;
};

// Where two long strings part, with a few bytes of each from there, in hex; empty when they are equal.
std::string firstDifference(const std::string& actual, const std::string& expected) {
    if (actual == expected) return {};
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    const auto hex = [&](const std::string& s) {
        std::string out;
        for (std::size_t i = at; i < s.size() && i < at + 8; ++i) {
            static constexpr char kDigits[] = "0123456789ABCDEF";
            const auto b = static_cast<unsigned char>(s[i]);
            out += {kDigits[b >> 4], kDigits[b & 15], ' '};
        }
        return out;
    };
    return "at byte " + std::to_string(at) + ": " + hex(actual) + "instead of " + hex(expected);
}

class QtCodePageServices : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "QtCodePageServices_test";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance()) app_ = new QApplication(argc, argv);
    }
    static inline QApplication* app_ = nullptr;
};

TEST_F(QtCodePageServices, CodecAgreesWithTheCLibraryOnEveryCodeBothWays) {
    QtCodePageCodec codec;
    GlibcCp936 glibc;
    int checked = 0;
    const auto compare = [&](const std::string& bytes) {
        const std::optional<char32_t> expected = glibc.decode(bytes);
        const std::optional<char32_t> actual = codec.decode(bytes);
        ASSERT_EQ(actual, expected) << "bytes " << std::hex << (static_cast<unsigned>(static_cast<unsigned char>(bytes[0])) << 8 |
                                                               static_cast<unsigned char>(bytes.back()));
        if (!expected) return;
        std::string utf8;
        appendUtf8(utf8, *expected);
        ASSERT_EQ(codec.encode(utf8), glibc.encode(*expected).value_or("?")) << "U+" << std::hex << static_cast<unsigned>(*expected);
        ++checked;
    };
    for (int b = 0; b < 256; ++b) compare(std::string(1, static_cast<char>(b)));
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            compare(std::string{static_cast<char>(lead), static_cast<char>(trail)});
            if (HasFatalFailure()) return;
        }
    }
    EXPECT_GT(checked, 21000);  // every GBK character
    EXPECT_EQ(codec.encode("😀中"), "?\xD6\xD0");
    EXPECT_EQ(codec.encode("\xEE\x80\x80"), "?");  // the private use area is no character here
}

// Long texts are converted a run at a time; every character must come out as it does alone, the
// invalid ones included, wherever they fall in a run.
TEST_F(QtCodePageServices, LongTextsConvertAsTheirCharactersDoOneAtATime) {
    QtCodePageCodec codec;
    // Every code of the code page, lone lead bytes, lead bytes before bytes that form nothing, the
    // user-defined areas, 0x80 and 0xFF, among runs of ordinary text.
    std::string bytes;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFF; ++trail) bytes += {static_cast<char>(lead), static_cast<char>(trail)};
        bytes += "ab\xD6\xD0\r\n";
        bytes.push_back(static_cast<char>(lead));  // carries the next byte along: "z" or the next lead
        if (lead % 3 == 0) bytes += "z";
    }
    for (int b = 0; b < 256; ++b) bytes += {static_cast<char>(b), 'x'};
    bytes += "\xD6";  // a lead byte that ends the text
    // The base class converts one character at a time.
    EXPECT_EQ(firstDifference(codec.decodeText(bytes), codec.CodePageCodec::decodeText(bytes)), "");
    EXPECT_EQ(codec.decodeText(""), "");
    // Copy converts runs of characters, tabs and line breaks at once, and gives the same text as the C
    // library's conversion of each character alone (line breaks, boxes and control bytes included).
    const std::string copied = std::string("\xD6\xD0\t\xD6\r\n\r\r\n\n\x81 z\x01") + '\0' + "\x80\xFF" + bytes + "\xD6\r";
    const SystemCodePageCodec system;
    EXPECT_EQ(firstDifference(clipboard_text::fromBytes(copied, CharacterKinds(LeadByteSet::codePage936(), codec), codec),
                              clipboard_text::fromBytes(copied, CharacterKinds(LeadByteSet::codePage936(), system), system)),
              "");
    EXPECT_EQ(codec.decodeText("\xD6\xD0" "a\x81\x7F" "\xFF\x80"), "中a\uFFFD\uFFFD€");
    EXPECT_EQ(codec.encode("€"), "\x80");

    // Every character of the Basic Multilingual Plane, those that convert one way only and those the
    // code page cannot hold among them, then characters beyond it and malformed UTF-8.
    std::string utf8;
    std::string expected;
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        std::string one;
        appendUtf8(one, c);
        utf8 += one;
        // Alone, a byte order mark starts its text and is no character of it; inside a text it is one.
        expected += c == 0xFEFF ? "?" : codec.encode(one);
    }
    utf8 += "\xF0\x9F\x98\x80" "a" "\xC3" "b" "\xED\xA0\x80" "c";
    expected += "?a?b???c";
    EXPECT_EQ(firstDifference(codec.encode(utf8), expected), "");
    EXPECT_EQ(codec.encode(""), "");
}

TEST_F(QtCodePageServices, ClipboardCarriesTextAndTheExactBytesBesideIt) {
    QtClipboard clipboard;
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    clipboard.put("中\nx", all);
    EXPECT_TRUE(clipboard.hasText());
    EXPECT_EQ(clipboard.bytes(), all);
    EXPECT_EQ(clipboard.text(), "中\nx");
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), QString::fromUtf8("中\nx"));
    EXPECT_TRUE(data->hasFormat(QString::fromLatin1(QtClipboard::bytesFormat())));

    // Another program's text comes without the program's own format.
    QGuiApplication::clipboard()->setText(QStringLiteral("other"));
    EXPECT_TRUE(clipboard.hasText());
    EXPECT_EQ(clipboard.bytes(), std::nullopt);
    EXPECT_EQ(clipboard.text(), "other");
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(clipboard.hasText());
    EXPECT_EQ(clipboard.text(), std::nullopt);
}

TEST_F(QtCodePageServices, SongFacesMapToASerifChineseFace) {
    for (const char* family : {"宋体", "仿宋_GB2312"}) {
        Font font;
        font.family = family;
        font.pixelHeight = 16;
        const QString chosen = QFontInfo(QtFontMapper::toQFont(font)).family();
        EXPECT_TRUE(chosen.contains(QStringLiteral("Serif")) || chosen.contains(QStringLiteral("Ming")) ||
                    chosen.contains(QStringLiteral("Sung")))
            << family << " became " << chosen.toStdString();
    }
}

TEST_F(QtCodePageServices, MeasuresDecodedCharactersInTheMappedFont) {
    QtCodePageCodec codec;
    QtCodePageText text(codec);
    Font font;
    font.pixelHeight = 16;
    const int wide = text.advance(font, "\xD6\xD0");
    const int narrow = text.advance(font, "a");
    EXPECT_GE(wide, 14);
    EXPECT_LT(narrow, wide);
    EXPECT_GE(text.lineHeight(font), 16);
    EXPECT_GT(text.averageCharWidth(font), 0);
    EXPECT_EQ(text.decode("\xD6\xD0" "a\x81"), QString::fromUtf8("中a\uFFFD"));
}

}  // namespace
}  // namespace zozuz
