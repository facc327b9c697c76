#pragma once

#include <string>

namespace zozuz {

// A control as the idle step's mouse tracking sees it: it is told when the pointer comes onto it
// and leaves it, and it names the long hint that the application shows while the pointer rests on
// it (its own, or that of its nearest enclosing control that has one; empty for none).
class MouseTarget {
public:
    virtual ~MouseTarget() = default;

    virtual void MouseEntered() {}
    virtual void MouseLeft() {}
    virtual std::string ApplicationHint() const { return {}; }
};

}  // namespace zozuz
