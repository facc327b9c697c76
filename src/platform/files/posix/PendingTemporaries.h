#pragma once

#include <cstddef>

namespace zozuz {

// The names of temporary files that exist and have not yet been put in place, kept where a signal
// handler can read them without allocating: a few fixed slots, each published only once filled.
class PendingTemporaries {
public:
    // Returns the slot that holds `path`, or -1 when none is free or the name is too long; the file
    // is then only removed by its writer.
    static int add(const char* path);
    static void remove(int slot);
    // Removes every pending file; safe to call from a signal handler.
    static void unlinkAll();
};

}  // namespace zozuz
