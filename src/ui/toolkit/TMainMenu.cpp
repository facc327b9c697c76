#include "ui/toolkit/TMainMenu.h"

#include "ui/toolkit/TForm.h"

namespace zozuz {

TMainMenu::~TMainMenu() {
    for (TComponent* c = Owner(); c; c = c->Owner()) {
        auto* form = dynamic_cast<TForm*>(c);
        if (form && form->Menu() == this) form->SetMenu(nullptr);
    }
}

bool TMainMenu::servesAsStored(const std::string& property) const {
    return property == "Menu" || TMenu::servesAsStored(property);
}

}  // namespace zozuz
