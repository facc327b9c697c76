#pragma once

namespace zozuz {

// One of the process's standard streams as the C runtime numbers them: 0 input, 1 output, 2 error.
// The files layer never closes a stream it is given this way. Tests hand in other numbers to catch
// what a run writes.
struct StandardStream {
    int number = 0;
};

}  // namespace zozuz
