#include "ui/toolkit/menus/TMainMenu.h"

namespace zozuz {

TMainMenu::~TMainMenu() {
    for (TComponent* c = Owner(); c; c = c->Owner()) c->ReferenceDestroyed(*this);
}

bool TMainMenu::servesAsStored(const std::string& property) const {
    return property == "Menu" || TMenu::servesAsStored(property);
}

}  // namespace zozuz
