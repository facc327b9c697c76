#pragma once

#include <map>
#include <string>
#include <vector>

#include "ui/toolkit/components/StoredLayout.h"
#include "ui/toolkit/components/TNotifyEvent.h"

namespace zozuz {

class TComponent;
class TForm;

// Builds a window from its stored layout. Every component is created and given its stored values
// first, in the layout's order; only then are the references between components resolved (a
// client's action, the image list of the menus and the toolbar, the window's menu bar) and the
// event handlers bound by name to the window's methods; last comes the end of loading, which lets
// every linked client take its action's values where it still holds its defaults.
//
// A layout that names an unknown kind or property, a value of the wrong type, a parent or a
// reference that names no component of the right kind, or a handler the window does not have, is
// an EReadError naming the window, the component and the offending name.
class LayoutReader {
public:
    // The window's handlers by name (`FileNew1Execute`, `N24Click`).
    using Handlers = std::map<std::string, TNotifyEvent>;

    LayoutReader(TForm& form, Handlers handlers);

    void Read(const StoredLayout& layout);

private:
    struct Reference {
        TComponent* component;
        const StoredValue* value;
    };

    TComponent& create(const StoredComponent& stored);
    void place(TComponent& component, const StoredComponent& stored);
    // Hands a value to the component, which takes it or says it has no such property.
    void setValue(TComponent& component, const StoredValue& value);
    void resolve(const Reference& reference);
    [[noreturn]] void fail(const TComponent& component, const std::string& what) const;
    [[noreturn]] void failAt(const std::string& subject, const std::string& what) const;

    TForm& form_;
    Handlers handlers_;
    std::vector<Reference> references_;
};

}  // namespace zozuz
