#pragma once

#include <cstdint>

namespace zozuz {

// What the host tells the application as a whole, as opposed to one window.
class HostListener {
public:
    virtual ~HostListener() = default;

    // The kinds of input that end a tooltip's showing: key presses and releases, mouse button
    // presses, releases and wheel turns, menu commands, the pointer over a window's frame or title
    // bar, and a window of the program being activated or deactivated.
    enum class InputKind : std::uint8_t { Key, MouseButton, MouseWheel, MenuCommand, FrameMouse, Activation };

    // Called before such an input is delivered to its window. Defaults do nothing.
    virtual void inputArriving(InputKind) {}

    // The desktop session is about to end (log off, shutdown) and asks whether the program may end.
    // Only a question: the user or another program may still cancel the log-off. The answer is
    // given without asking the user; true lets the session end.
    virtual bool sessionEndQuery() { return true; }
    // The desktop session ends now: the program should end without asking.
    virtual void sessionEnding() {}
};

}  // namespace zozuz
