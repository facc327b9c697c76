#pragma once

#include <cerrno>
#include <string>

namespace zozuz {

// The system's reason for a failure, as the command-line tool prints it: "out.txt: No space left on
// device".
std::string systemReason(const std::string& name, int error);

// Calls `call` again for as long as a signal interrupts it.
template <typename Call>
auto retryInterrupted(Call call) {
    for (;;) {
        const auto result = call();
        if (result >= 0 || errno != EINTR) return result;
    }
}

}  // namespace zozuz
