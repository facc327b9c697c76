#pragma once

#include <string>

namespace zozuz {

// A control as the idle step's mouse tracking sees it: it is told when the pointer comes onto it
// and leaves it, and it names the long hint that the application shows while the pointer rests on
// it (its own, or that of its nearest enclosing control that has one; empty for none). It also names
// the control whose tooltip shows while the pointer rests on it, and that control's tooltip text.
class MouseTarget {
public:
    virtual ~MouseTarget() = default;

    virtual void MouseEntered() {}
    virtual void MouseLeft() {}
    virtual std::string ApplicationHint() const { return {}; }
    // The control whose tooltip belongs to the place under the pointer: this one, or an enclosing
    // one; null when there is no tooltip here.
    virtual const MouseTarget* TooltipControl() const { return nullptr; }
    // The text this control shows as its tooltip; empty shows none.
    virtual std::string TooltipText() const { return {}; }
};

}  // namespace zozuz
