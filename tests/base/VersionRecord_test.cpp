#include "base/VersionRecord.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>

namespace zozuz {
namespace {

TEST(VersionRecordTest, TheLineNamesTheProgramAndBothVersions) {
    EXPECT_EQ(VersionRecord::line("zozuz"), "zozuz 1.0.0.1 (product version 1.0.0.0)\n");
}

TEST(VersionRecordTest, OnlyALoneVersionOptionIsAnswered) {
    const char* none[] = {"zozuz"};
    const char* other[] = {"zozuz", "--help"};
    const char* twice[] = {"zozuz", "--version", "--version"};
    const char* prefix[] = {"zozuz", "--versions"};
    testing::internal::CaptureStdout();
    EXPECT_EQ(VersionRecord::answer(1, none, "zozuz"), std::nullopt);
    EXPECT_EQ(VersionRecord::answer(2, other, "zozuz"), std::nullopt);
    EXPECT_EQ(VersionRecord::answer(3, twice, "zozuz"), std::nullopt);
    EXPECT_EQ(VersionRecord::answer(2, prefix, "zozuz"), std::nullopt);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    const char* version[] = {"zozuz", "--version"};
    testing::internal::CaptureStdout();
    EXPECT_EQ(VersionRecord::answer(2, version, "zozuz"), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "zozuz 1.0.0.1 (product version 1.0.0.0)\n");
}

TEST(VersionRecordTest, AnOutputThatCannotBeWrittenFails) {
#ifdef _WIN32
    GTEST_SKIP() << "no device here refuses every write";
#else
    // The full device takes nothing, so the flush fails.
    std::FILE* full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    const char* version[] = {"zozuz", "--version"};
    EXPECT_EQ(VersionRecord::answer(2, version, "zozuz", full), 1);
    std::fclose(full);
#endif
}

}  // namespace
}  // namespace zozuz
