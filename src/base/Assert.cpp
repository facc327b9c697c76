#include "base/Assert.h"

#include <cstdio>
#include <cstdlib>

namespace zozuz {

void assertionFailed(const char* condition, const char* file, int line) {
    // Nothing else is done on the way out: the state that broke the invariant is the one worth
    // finding in the core file or under the debugger.
    std::fprintf(stderr, "%s:%d: assertion failed: %s\n", file, line, condition);
    std::fflush(stderr);
    std::abort();
}

}  // namespace zozuz
