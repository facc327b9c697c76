#pragma once

#include <cstdint>
#include <string>

#include "base/KeyCode.h"

namespace zozuz {

// One key press or release as the host reports it, already in the program's terms.
struct KeyEvent {
    enum class Kind : std::uint8_t { Down, Up };

    Kind kind = Kind::Down;
    // The virtual key code (base/KeyCode.h), without modifier bits.
    std::uint8_t virtualKey = 0;
    // The modifier keys held when the key arrived. `alt` is what the key message itself reports;
    // shift and ctrl are the keyboard's state at that moment.
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    // The text the key types, UTF-8, when it types any (empty for keys such as F12 or arrows).
    std::string text;

    // The shortcut value of this key: the virtual key plus the modifier bits.
    KeyCode keyCode() const { return makeKeyCode(virtualKey, shift, ctrl, alt); }
};

}  // namespace zozuz
