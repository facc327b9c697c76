#pragma once

#include <cstdint>
#include <string>

namespace zozuz {

class NativeWindow;

// A message box: the platform's modal question or notice with a caption, a text, an icon and a set
// of buttons. The box runs its own nested event loop and returns the button the user chose.
enum class MessageBoxIcon : std::uint8_t { None, Stop, Question, Warning, Information };

enum class MessageBoxButtons : std::uint8_t { Ok, OkCancel, YesNo, YesNoCancel };

// The answers, numbered as the program's rules number them.
enum class MessageBoxResult : int { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

struct MessageBoxRequest {
    // The window the box is shown over and belongs to; null for a box without owner.
    NativeWindow* owner = nullptr;
    std::string caption;  // UTF-8
    std::string text;     // UTF-8; "\n" breaks a line
    MessageBoxIcon icon = MessageBoxIcon::None;
    MessageBoxButtons buttons = MessageBoxButtons::Ok;
    // Modal for the whole program, not only for the owner: used for the fatal error box, which has
    // no owner.
    bool taskModal = false;
};

}  // namespace zozuz
