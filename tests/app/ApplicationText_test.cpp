#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/ApplicationTitle.h"
#include "app/FatalErrorText.h"

namespace zozuz {
namespace {

TEST(ApplicationTitle, TakesFileNameCutAtFirstDotLowerCasedAfterFirstCharacter) {
    EXPECT_EQ(titleFromExecutablePath("/opt/tools/MyEditor.exe"), "Myeditor");
    EXPECT_EQ(titleFromExecutablePath("/a/MY.TOOL.EXE"), "My");
    EXPECT_EQ(titleFromExecutablePath("/usr/bin/zozuz"), "zozuz");
    EXPECT_EQ(titleFromExecutablePath("crypt"), "crypt");
    EXPECT_EQ(titleFromExecutablePath("/x.y/ZOZUZ"), "Zozuz") << "a dot in a folder name does not count";
    // Windows paths, as the Windows host gives them.
    EXPECT_EQ(titleFromExecutablePath("C:\\Tools\\MyEditor.exe"), "Myeditor");
    EXPECT_EQ(titleFromExecutablePath("D:\\A\\MY.TOOL.EXE"), "My");
    EXPECT_EQ(titleFromExecutablePath("Z:\\x.y\\zozuz.exe"), "zozuz");
}

TEST(ApplicationTitle, DegenerateNamesGiveShortOrEmptyTitles) {
    EXPECT_EQ(titleFromExecutablePath(""), "");
    EXPECT_EQ(titleFromExecutablePath("/usr/bin/"), "");
    EXPECT_EQ(titleFromExecutablePath("/usr/bin/.Hidden"), "");
    EXPECT_EQ(titleFromExecutablePath("/usr/bin/Q"), "Q");
}

TEST(ApplicationTitle, NonAsciiCharactersAreNeverAltered) {
    // A multi-byte first character stays whole; lower-casing touches ASCII letters only.
    EXPECT_EQ(titleFromExecutablePath("/opt/加密ABC.bin"), "加密abc");
    EXPECT_EQ(titleFromExecutablePath("/opt/ÄBC"), "Äbc");
    EXPECT_EQ(titleFromExecutablePath("/opt/AÄB"), "AÄb");
}

TEST(ApplicationTitle, IsCutTo255BytesWithoutSplittingACharacter) {
    EXPECT_EQ(titleFromExecutablePath("/" + std::string(300, 'A')), "A" + std::string(254, 'a'));
    // 85 three-byte characters take 255 bytes exactly; one more does not fit and is dropped whole.
    std::string name;
    for (int i = 0; i < 86; ++i) name += "字";
    const std::string title = titleFromExecutablePath("/bin/" + name);
    EXPECT_EQ(title.size(), 255u);
    EXPECT_EQ(title, name.substr(0, 255));
    // With a leading ASCII byte the limit falls inside a character, which then goes whole.
    EXPECT_EQ(titleFromExecutablePath("/bin/Z" + name).size(), 253u);
}

TEST(ModuleName, IsTheFileNameWithoutFolder) {
    EXPECT_EQ(moduleNameFromPath("/usr/local/bin/zozuz"), "zozuz");
    EXPECT_EQ(moduleNameFromPath("zozuz.bin"), "zozuz.bin");
    EXPECT_EQ(moduleNameFromPath("C:\\Program Files\\zozuz\\zozuz.exe"), "zozuz.exe");
}

TEST(FatalErrorText, FollowsTheFixedFormatWithItsOwnPeriodRule) {
    EXPECT_EQ(fatalErrorText("EInvalidOperation", "zozuz", 0x0041A2B0, "Broken"),
              "Exception EInvalidOperation in module zozuz at 0041A2B0.\nBroken.");
    EXPECT_EQ(fatalErrorText("E", "m", 0xABCDEF, "Done."), "Exception E in module m at 00ABCDEF.\nDone.");
    // Unlike the ordinary error box, a closing bracket or a space still gets a period here.
    EXPECT_EQ(fatalErrorText("E", "m", 0, "x)"), "Exception E in module m at 00000000.\nx).");
    EXPECT_EQ(fatalErrorText("E", "m", 0, "x "), "Exception E in module m at 00000000.\nx .");
    EXPECT_EQ(fatalErrorText("E", "m", 0, ""), "Exception E in module m at 00000000.\n");
}

TEST(FatalErrorText, IsCutTo1023Bytes) {
    const std::string text = fatalErrorText("E", "m", 0, std::string(2000, 'x'));
    EXPECT_EQ(text.size(), kMaxFatalTextBytes);
    EXPECT_EQ(text.back(), 'x');
}

TEST(FatalErrorText, AddressIsStablePerClassAndEightDigits) {
    EXPECT_EQ(errorAddress("EAbort"), errorAddress("EAbort"));
    EXPECT_NE(errorAddress("EAbort"), errorAddress("EReadError"));
    // Each stand-in lies where an executable image is loaded and is written as eight upper-case
    // hexadecimal digits.
    for (const char* name : {"", "E", "EAbort", "EReadError", "std::runtime_error"}) {
        const std::uint32_t address = errorAddress(name);
        EXPECT_GE(address, 0x00400000u) << name;
        EXPECT_LT(address, 0x00500000u) << name;
        const std::string text = fatalErrorText("E", "m", address, "");
        const std::string digits = text.substr(text.find(" at ") + 4);
        ASSERT_EQ(digits.size(), 10u) << text;  // eight digits, the period and the line feed
        EXPECT_EQ(digits.find_first_not_of("0123456789ABCDEF"), 8u) << text;
        EXPECT_EQ(std::stoul(digits.substr(0, 8), nullptr, 16), address) << text;
    }
}

}  // namespace
}  // namespace zozuz
