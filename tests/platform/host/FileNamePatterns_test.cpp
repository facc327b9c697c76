#include <gtest/gtest.h>

#include "platform/host/FileNamePatterns.h"

namespace zozuz {
namespace {

TEST(FileNamePatterns, AllFilesMatchesNamesWithoutADotToo) {
    for (const char* name : {"notes", "notes.txt", ".profile", "a.b.c", "说明"}) {
        EXPECT_TRUE(fileNameMatches("*.*", name)) << name;
        EXPECT_TRUE(fileNameMatches("*", name)) << name;
    }
}

TEST(FileNamePatterns, ExtensionPatternsMatchWithoutCaseAndOnlyTheirExtension) {
    EXPECT_TRUE(fileNameMatches("*.txt", "a.txt"));
    EXPECT_TRUE(fileNameMatches("*.txt", "A.TXT"));
    EXPECT_TRUE(fileNameMatches("*.txt", "密文.txt"));
    EXPECT_TRUE(fileNameMatches("*.txt", "x.y.txt"));
    EXPECT_FALSE(fileNameMatches("*.txt", "a.txt.bak"));
    EXPECT_FALSE(fileNameMatches("*.txt", "txt"));
    EXPECT_FALSE(fileNameMatches("*.txt", "a.text"));
    EXPECT_TRUE(fileNameMatches("*.log; *.txt", "b.txt"));
    EXPECT_TRUE(fileNameMatches("data?.csv", "data1.csv"));
    EXPECT_FALSE(fileNameMatches("data?.csv", "data12.csv"));
    EXPECT_FALSE(fileNameMatches("", "a"));
    EXPECT_FALSE(fileNameMatches(";", "a"));
}

TEST(FileNamePatterns, ManyStarsAgainstALongNameFinishQuickly) {
    const std::string name(4000, 'a');
    EXPECT_FALSE(fileNameMatches("*a*a*a*a*a*b", name));
    EXPECT_TRUE(fileNameMatches("*a*a*a*a*a*", name));
}

TEST(FileNamePatterns, DefaultExtensionIsAddedOnlyToANameWithoutOne) {
    EXPECT_EQ(withDefaultExtension("/home/u/密文", "txt"), "/home/u/密文.txt");
    EXPECT_EQ(withDefaultExtension("/home/u/a.log", "txt"), "/home/u/a.log");
    EXPECT_EQ(withDefaultExtension("/home/u.v/a", "txt"), "/home/u.v/a.txt");
    EXPECT_EQ(withDefaultExtension("/home/u/.hidden", "txt"), "/home/u/.hidden.txt");
    EXPECT_EQ(withDefaultExtension("plain", ""), "plain");
    EXPECT_EQ(withDefaultExtension("plain", "txt"), "plain.txt");
}

}  // namespace
}  // namespace zozuz
