#pragma once

#include <functional>

namespace zozuz {

// A control as the command layer's target search sees it: something a command may act on (an
// editor that holds the focus, a status line that shows hints). The application and its windows
// only hand targets from a window's search to the command that tests them; the command decides
// what kind of control it takes.
class CommandTarget {
public:
    virtual ~CommandTarget() = default;
};

// The test of the target search: true when the command took the target (and acted on it).
using TargetTest = std::function<bool(CommandTarget& target)>;

}  // namespace zozuz
