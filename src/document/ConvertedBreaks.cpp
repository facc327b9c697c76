#include "document/ConvertedBreaks.h"

#include <cstring>

namespace zozuz {

void ConvertedBreaks::feed(std::string_view piece) {
    if (sawPair_ || piece.empty()) return;
    if (lastWasCR_ && piece.front() == '\n') {
        sawPair_ = true;
        return;
    }
    // A text without bare breaks is passed over by the C library's search, a line at a time.
    const char* data = piece.data();
    const char* const end = data + piece.size();
    while (data < end) {
        const char* cr = static_cast<const char*>(std::memchr(data, '\r', static_cast<std::size_t>(end - data)));
        if (!sawBreak_ && std::memchr(data, '\n', static_cast<std::size_t>((cr ? cr : end) - data)) != nullptr)
            sawBreak_ = true;
        if (!cr) break;
        sawBreak_ = true;
        if (cr + 1 < end && cr[1] == '\n') {
            sawPair_ = true;
            return;
        }
        data = cr + 1;
    }
    lastWasCR_ = piece.back() == '\r';
}

}  // namespace zozuz
