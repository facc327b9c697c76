#include "editor/PrintLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/files/SystemCodePageCodec.h"

namespace zozuz {
namespace {

// A unit a byte: a double-byte character is two units wide.
class ByteMeasure final : public PrintLayout::Measure {
public:
    int advance(std::string_view character) override {
        ++asked;
        return static_cast<int>(character.size());
    }
    int asked = 0;
};

// A row as its runs: text as `x"text"`, a tab as `x>width`, a box as `x[XX]`.
std::string describe(const PrintLayout::Row& row, const CodePageCodec& codec) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (const PrintLayout::Run& run : row.runs) {
        if (!text.empty()) text += ' ';
        text += std::to_string(run.x);
        const std::string_view bytes = std::string_view(row.bytes).substr(run.start, run.end - run.start);
        switch (run.kind) {
            case PrintLayout::Run::Kind::Text: text += '"' + codec.decodeText(bytes) + '"'; break;
            case PrintLayout::Run::Kind::Tab: text += '>' + std::to_string(run.width); break;
            case PrintLayout::Run::Kind::Box: {
                const auto byte = static_cast<std::uint8_t>(bytes[0]);
                text += {'[', kHex[byte >> 4], kHex[byte & 15], ']'};
                break;
            }
        }
    }
    return text;
}

struct Rig {
    SystemCodePageCodec codec;
    CharacterKinds kinds{LeadByteSet::codePage936(), codec};
    ByteMeasure measure;
    std::vector<std::string> lines;
    std::vector<std::size_t> asked;

    // Pages of rows 10 units wide, tab stops 4 apart, boxes 2 wide.
    std::vector<PrintLayout::Page> print(int rowsPerPage) {
        PrintLayout::Geometry geometry{10, rowsPerPage + 2, 1, 4, 2};
        PrintLayout layout(kinds, measure, geometry, lines.size(), [this](std::size_t i) {
            asked.push_back(i);
            return lines[i];
        });
        std::vector<PrintLayout::Page> pages;
        for (PrintLayout::Page page; layout.nextPage(page);) pages.push_back(page);
        return pages;
    }
};

TEST(PrintLayout, LongLinesBreakBetweenCharactersAndKeepEveryByteInOrder) {
    const std::string sentence = "\xD5\xE2\xCA\xC7\xD2\xBB\xD0\xD0\xBA\xDC\xB3\xA4\xB5\xC4\xCE\xC4\xD7\xD6\xA3\xAC";
    struct Case {
        const char* what;
        std::string line;
        std::vector<std::string> rows;
    } cases[] = {
        {"a long Chinese line, five characters a row", sentence + sentence,
         {R"(0"这是一行很")", R"(0"长的文字，")", R"(0"这是一行很")", R"(0"长的文字，")"}},
        {"a lead byte where the row is full goes over with its trail byte", "abcdefghi\xD6\xD0x",
         {R"(0"abcdefghi")", R"(0"中x")"}},
        {"a lead byte with a trail byte below 0x80", "abcdefghi\x81\x62", {R"(0"abcdefghi")", R"(0"乥")"}},
        {"bytes that are no character print as boxes", "a\xFF\x81 b\x81", {R"(0"a" 1[FF] 3[81] 5" b" 7[81])"}},
        {"a box that does not fit goes to the next row", "abcdefghi\xFF", {R"(0"abcdefghi")", "0[FF]"}},
        {"a tab reaches the next stop, counted from the row's start", "a\tbc\tdefghijkl\tm",
         {R"(0"a" 1>3 4"bc" 6>2 8"de")", R"(0"fghijkl" 7>1 8"m")"}},
        {"a row ends after its last space", "ab cd efghij", {R"(0"ab cd ")", R"(0"efghij")"}},
        {"a word wider than the row is cut", "abcdefghijklm n", {R"(0"abcdefghij")", R"(0"klm n")"}},
        {"an empty line takes its row", "", {""}},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.lines = {c.line};
        std::vector<std::string> rows;
        std::string bytes;
        for (const PrintLayout::Page& page : rig.print(60)) {
            for (const PrintLayout::Row& row : page.rows) {
                rows.push_back(describe(row, rig.codec));
                bytes += row.bytes;
            }
        }
        EXPECT_EQ(rows, c.rows) << c.what;
        EXPECT_EQ(bytes, c.line) << c.what;
    }
}

TEST(PrintLayout, PagesFillRowByRowAndEachShowsItsNumberAtItsFoot) {
    Rig rig;
    rig.lines = {"one", "", "abcdefghijklmnopqrstuvwxy", "two"};
    const std::vector<PrintLayout::Page> pages = rig.print(2);
    std::vector<std::vector<std::string>> texts;
    for (const PrintLayout::Page& page : pages) {
        std::vector<std::string>& rows = texts.emplace_back();
        for (const PrintLayout::Row& row : page.rows) rows.push_back(describe(row, rig.codec) + "@" + std::to_string(row.y));
        EXPECT_EQ(describe(page.footer, rig.codec), "4\"" + std::to_string(page.number) + "\"");
        EXPECT_EQ(page.footer.y, 3);
    }
    EXPECT_EQ(texts, (std::vector<std::vector<std::string>>{{R"(0"one"@0)", "@1"},
                                                            {R"(0"abcdefghij"@0)", R"(0"klmnopqrst"@1)"},
                                                            {R"(0"uvwxy"@0)", R"(0"two"@1)"}}));
    EXPECT_EQ(pages.back().number, 3);
    // Each line read once, in order; each character measured once.
    EXPECT_EQ(rig.asked, (std::vector<std::size_t>{0, 1, 2, 3}));
    EXPECT_EQ(rig.measure.asked, 25 + 3);  // the letters a to y, and the digits of the page numbers

    // A text that fills its last page exactly makes no empty page after it; an empty text prints one.
    rig.lines = {"a", "b"};
    EXPECT_EQ(rig.print(2).size(), 1u);
    rig.lines.clear();
    ASSERT_EQ(rig.print(2).size(), 1u);
    EXPECT_TRUE(rig.print(2)[0].rows.empty());
}

}  // namespace
}  // namespace zozuz
