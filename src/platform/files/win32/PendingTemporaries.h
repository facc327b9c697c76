#pragma once

#include <cstdint>

namespace zozuz {

// The temporary files that exist and have not yet been put in place, kept where the console's
// interrupt handler (which runs on a thread of its own) can reach them: a few fixed slots of open
// descriptors, each published only once filled.
class PendingTemporaries {
public:
    // Returns the slot that holds `fd`, or -1 when none is free; the file is then only removed by
    // its writer.
    static int add(std::intptr_t fd);
    static void remove(int slot);
    // Marks every pending file for removal; the system removes them as the process ends.
    static void removeAll();
};

}  // namespace zozuz
