#include "ui/toolkit/menus/TPopupMenu.h"

#include <utility>

namespace zozuz {

TPopupMenu::~TPopupMenu() {
    // Newest user first; each one lets go of the menu.
    const std::vector<TComponent*> users = std::exchange(users_, {});
    for (auto user = users.rbegin(); user != users.rend(); ++user) (*user)->ReferenceDestroyed(*this);
}

}  // namespace zozuz
