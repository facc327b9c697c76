#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/KeyCode.h"

namespace zozuz {

// The name the keyboard layout gives a virtual key that has no fixed name here, or empty.
using KeyNameLookup = std::function<std::string(std::uint8_t virtualKey)>;

// The text a menu shows for a shortcut: "Shift+", "Ctrl+" and "Alt+" in that order for the
// modifiers held, then the key's name (BkSp, Tab, Enter, Esc, Space, PgUp ... Down, Ins, Del, the
// letter or digit, the keypad digit, F1 to F24). Any other key takes the layout's name from
// `layoutName`. A key without a name yields an empty text, modifiers and all.
std::string ShortCutToText(KeyCode code, const KeyNameLookup& layoutName = {});

}  // namespace zozuz
