#pragma once

#include <string>

#include "base/KeyCode.h"
#include "ui/toolkit/components/StoredLayout.h"

namespace zozuz {

// The stored values that an action and a menu entry share: Caption, Hint, Enabled, Visible,
// ShortCut and ImageIndex. Sets the one that `value` names on `component` and says whether it was
// one of them, so that each class passes the rest on to its own base.
template <class Component>
bool readCommandValue(Component& component, const StoredValue& value) {
    const std::string& property = value.property;
    const bool* flag = value.as<bool>();
    const int* number = value.as<int>();
    const std::string* text = value.as<std::string>();
    if (property == "Caption" && text) {
        component.SetCaption(*text);
    } else if (property == "Hint" && text) {
        component.SetHint(*text);
    } else if (property == "Enabled" && flag) {
        component.SetEnabled(*flag);
    } else if (property == "Visible" && flag) {
        component.SetVisible(*flag);
    } else if (property == "ShortCut" && number) {
        component.SetShortCut(static_cast<KeyCode>(*number));
    } else if (property == "ImageIndex" && number) {
        component.SetImageIndex(*number);
    } else {
        return false;
    }
    return true;
}

}  // namespace zozuz
