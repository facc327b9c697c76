#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/host/Accessible.h"
#include "platform/host/NativeWindow.h"

namespace zozuz {

class TControl;
class TWinControl;

// A window's drawn controls as screen readers see them: tool bars and their buttons, the status
// line, gauges, labels, pictures and push buttons, described with the names the user sees (a tool
// button's tooltip, a label's caption). Each control keeps its id while it stays on the window.
// Changes are found by describing the window again and comparing, which costs a few dozen controls;
// nothing is compared until a screen reader has asked for the description once.
class AccessibleControls {
public:
    // The visible controls inside `window`, parents first, in child order. The first description
    // is remembered for the first comparison.
    std::vector<AccessibleNode> describe(TWinControl& window);
    // The control an id names, or null (gone, or never described).
    TControl* find(std::uint32_t id) const;
    // A control leaves the window: its id goes with it.
    void forget(const TControl& control);
    // Describes the window again and tells `native` what changed since the last description; does
    // nothing until a screen reader has asked once.
    void announceChanges(TWinControl& window, NativeWindow& native);

private:
    std::uint32_t idOf(const TControl& control);
    void describeChildren(const TWinControl& parent, std::uint32_t parentId, std::vector<AccessibleNode>& out);

    std::unordered_map<const TControl*, std::uint32_t> ids_;
    std::unordered_map<std::uint32_t, TControl*> controls_;
    // The next id to give; ids are never given twice.
    std::uint32_t nextId_ = 1;
    bool asked_ = false;
    std::vector<AccessibleNode> last_;
};

}  // namespace zozuz
