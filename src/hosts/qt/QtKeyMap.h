#pragma once

#include <cstdint>

#include <Qt>

#include "platform/host/KeyEvent.h"

class QKeyEvent;

namespace zozuz {

// The virtual key code of a Qt key, 0 for a key the program has no name for. Keys on the numeric
// keypad (`modifiers` holds Qt::KeypadModifier) get the keypad's own codes, as the program's
// shortcuts tell them apart from the main keyboard's.
std::uint8_t virtualKeyFromQt(int key, Qt::KeyboardModifiers modifiers);

// A Qt key press or release in the program's terms.
KeyEvent keyEventFromQt(const QKeyEvent& event);

}  // namespace zozuz
