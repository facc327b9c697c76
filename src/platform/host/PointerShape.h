#pragma once

#include <cstdint>

namespace zozuz {

// The shapes the mouse pointer takes over the program's windows. Each one is a stock shape of the
// desktop, so it follows the user's pointer theme; a Windows host loads it with LoadCursor (Arrow is
// IDC_ARROW, Hand is IDC_HAND) and sets it with SetCursor.
enum class PointerShape : std::uint8_t {
    // The desktop's ordinary arrow.
    Arrow,
    // The pointing hand shown over a link.
    Hand,
};

}  // namespace zozuz
