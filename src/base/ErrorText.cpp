#include "base/ErrorText.h"

#include <cstddef>

namespace zozuz {

namespace {

bool isContinuationByte(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

std::string withFinalPeriod(std::string_view message) {
    std::string text(message);
    if (message.empty()) return text;
    // Walk back over at most three continuation bytes to the start of the last UTF-8 character.
    std::size_t start = message.size() - 1;
    for (int steps = 0; steps < 3 && start > 0 && isContinuationByte(static_cast<unsigned char>(message[start])); ++steps) {
        --start;
    }
    if (static_cast<unsigned char>(message[start]) > 0x2E) text.push_back('.');
    return text;
}

}  // namespace zozuz
