#pragma once

#include <string>
#include <variant>
#include <vector>

#include "base/Exception.h"
#include "platform/gfx/Font.h"

namespace zozuz {

// One stored value of a component: the property's name and its value. Names, enumerations
// ("tbsSeparator"), pictures ("about-64") and references to other components or handlers are text;
// numbers, colours and key codes are integers.
struct StoredValue {
    std::string property;
    std::variant<bool, int, std::string, Font> value;

    // The value as a T; null when it holds another type.
    template <class T>
    const T* as() const {
        return std::get_if<T>(&value);
    }
};

// One component of a window's stored layout: its kind ("TMenuItem"), its name, the component it
// sits in (a control's parent window, a menu entry's menu or parent entry, an action's list; empty
// for the window itself and for components that sit nowhere), and only the values that differ from
// its kind's defaults.
struct StoredComponent {
    std::string kind;
    std::string name;
    std::string parent;
    std::vector<StoredValue> values;
};

// What a component raises for a stored value, place or reference that it has but cannot take. The
// message completes a sentence about the component ("names no picture about-64"); the layout reader
// raises it again as an EReadError that names the window and the component.
class EStoredLayout : public EReadError {
public:
    using EReadError::EReadError;
};

// A window described as data, in creation order; the window itself is the entry of kind "TForm".
using StoredLayout = std::vector<StoredComponent>;

}  // namespace zozuz
