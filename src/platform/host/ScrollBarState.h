#pragma once

#include <cstdint>

namespace zozuz {

// One scroll bar, as the system's scroll bars take it: positions run from 0 to `maximum`, `page` of
// them are in view at once, and the first one in view is `position`.
struct ScrollBarState {
    bool shown = false;
    std::int64_t maximum = 0;
    std::int64_t page = 0;
    std::int64_t position = 0;

    friend bool operator==(const ScrollBarState&, const ScrollBarState&) = default;
};

}  // namespace zozuz
