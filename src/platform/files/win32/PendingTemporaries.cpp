#include "platform/files/win32/PendingTemporaries.h"

#include <atomic>

#include "platform/files/win32/FileSystem.h"

namespace zozuz {

namespace {

constexpr int kSlots = 4;
// A slot's descriptor is read by the handler only while it is not -1.
std::atomic<std::intptr_t> descriptors[kSlots] = {-1, -1, -1, -1};

}  // namespace

int PendingTemporaries::add(std::intptr_t fd) {
    for (int slot = 0; slot < kSlots; ++slot) {
        std::intptr_t expected = -1;
        if (descriptors[slot].compare_exchange_strong(expected, fd)) return slot;
    }
    return -1;
}

void PendingTemporaries::remove(int slot) {
    if (slot >= 0 && slot < kSlots) descriptors[slot] = -1;
}

void PendingTemporaries::removeAll() {
    for (auto& descriptor : descriptors) {
        const std::intptr_t fd = descriptor.load();
        if (fd >= 0) systemFiles().removeWhenClosed(fd);
    }
}

}  // namespace zozuz
