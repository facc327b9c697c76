#pragma once

#include <cstdint>
#include <string>

#include "platform/gfx/Geometry.h"

namespace zozuz {

// What a drawn control is to a screen reader. The program draws its tool bar, status line, gauge and
// the About box's labels itself, so it describes them; the host publishes the description in the
// platform's own way (an accessible object tree on Qt, UI Automation or MSAA on Windows).
enum class AccessibleRole : std::uint8_t {
    ToolBar,
    PushButton,
    StatusBar,
    ProgressBar,
    Label,
    Image,
};

// One drawn control of a top-level window as a screen reader sees it.
struct AccessibleNode {
    // Names the control for as long as it is on this window: never 0, never reused for another
    // control of the same window.
    std::uint32_t id = 0;
    // The id of the node it lies in, listed before it; 0 for a control directly on the window.
    std::uint32_t parent = 0;
    AccessibleRole role = AccessibleRole::Label;
    // UTF-8. A push button's name is its tooltip, a label's its caption.
    std::string name;
    // UTF-8: the text a status bar shows; empty for the other roles.
    std::string text;
    // In the window's client coordinates.
    Rect bounds;
    bool enabled = true;
    // A progress bar's value within [minimum, maximum].
    int value = 0;
    int minimum = 0;
    int maximum = 0;

    bool operator==(const AccessibleNode&) const = default;
};

// What changed among a window's described controls, for the host to announce.
enum class AccessibleEvent : std::uint8_t {
    // Controls came or went: the host asks for the whole list again.
    Structure,
    NameChanged,
    // Enabled or disabled.
    StateChanged,
    // A status bar's text or a progress bar's value.
    ValueChanged,
};

}  // namespace zozuz
