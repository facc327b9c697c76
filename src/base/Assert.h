#pragma once

// Checks of the program's own invariants.
//
// ZOZUZ_ASSERT(condition) is checked only in the builds that hunt for faults (Debug, the sanitizer
// build and the fuzzers) and costs nothing elsewhere: the condition is then compiled, so that it
// keeps up with the code, but never evaluated. It is for checks that cost O(1), placed at the end of
// the operations that change a structure.
//
// ZOZUZ_CHECK(condition) is always checked. It belongs only in the `checkInvariants()` functions that
// walk a whole structure: tests and fuzzers call them on purpose, the program never does.
//
// Either one, failing, prints the condition with its file and line to standard error and aborts.
//
// The build decides with the definition ZOZUZ_ASSERTIONS (0 or 1), which CMakeLists.txt sets for every
// target from the build type and the ZOZUZ_SANITIZE and ZOZUZ_FUZZ options; -DZOZUZ_ASSERTIONS=ON or
// OFF on the CMake command line overrides that choice.

#ifndef ZOZUZ_ASSERTIONS
#define ZOZUZ_ASSERTIONS 0
#endif

namespace zozuz {

inline constexpr bool kAssertionsOn = ZOZUZ_ASSERTIONS != 0;

[[noreturn]] void assertionFailed(const char* condition, const char* file, int line);

}  // namespace zozuz

#define ZOZUZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : ::zozuz::assertionFailed(#condition, __FILE__, __LINE__))

#if ZOZUZ_ASSERTIONS
#define ZOZUZ_ASSERT(condition) ZOZUZ_CHECK(condition)
#else
#define ZOZUZ_ASSERT(condition) static_cast<void>(sizeof((condition) ? 1 : 0))
#endif
