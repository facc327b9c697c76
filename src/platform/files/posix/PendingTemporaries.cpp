#include "platform/files/posix/PendingTemporaries.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace zozuz {

namespace {

constexpr int kSlots = 4;
constexpr std::size_t kLongest = 4096;

// A slot's name is read by the handler only while `used` is set, and written only while it is not.
char names[kSlots][kLongest];
volatile std::sig_atomic_t used[kSlots];

}  // namespace

int PendingTemporaries::add(const char* path) {
    const std::size_t length = std::strlen(path);
    if (length >= kLongest) return -1;
    for (int slot = 0; slot < kSlots; ++slot) {
        if (used[slot]) continue;
        std::memcpy(names[slot], path, length + 1);
        std::atomic_signal_fence(std::memory_order_seq_cst);
        used[slot] = 1;
        return slot;
    }
    return -1;
}

void PendingTemporaries::remove(int slot) {
    if (slot >= 0 && slot < kSlots) used[slot] = 0;
}

void PendingTemporaries::unlinkAll() {
    for (int slot = 0; slot < kSlots; ++slot) {
        if (used[slot]) ::unlink(names[slot]);
    }
}

}  // namespace zozuz
