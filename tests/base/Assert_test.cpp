#include "base/Assert.h"

#include <gtest/gtest.h>

namespace zozuz {
namespace {

TEST(AssertDeathTest, AFailedCheckNamesTheConditionWhereItFailedAndAborts) {
    const int lines = 3;
    EXPECT_DEATH(ZOZUZ_CHECK(lines == 4), "Assert_test\\.cpp:.*: assertion failed: lines == 4");
    ZOZUZ_CHECK(lines == 3);  // a check that holds does nothing
}

TEST(AssertDeathTest, AssertChecksOnlyInBuildsThatHuntForFaults) {
    int evaluated = 0;
    const auto broken = [&evaluated] {
        ++evaluated;
        return false;
    };
    if constexpr (kAssertionsOn) {
        EXPECT_DEATH(ZOZUZ_ASSERT(broken()), "assertion failed: broken\\(\\)");
    } else {
        // Left out, the condition is not even evaluated, so an assertion costs a release build nothing.
        ZOZUZ_ASSERT(broken());
        EXPECT_EQ(evaluated, 0);
    }
}

}  // namespace
}  // namespace zozuz
