#include "ui/toolkit/TMainMenu.h"

#include <algorithm>
#include <vector>

#include "ui/toolkit/TForm.h"

namespace zozuz {

TMainMenu::TMainMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(this)) { items_->menu_ = this; }

TMainMenu::~TMainMenu() {
    items_->menu_ = nullptr;
    for (TComponent* c = Owner(); c; c = c->Owner()) {
        auto* form = dynamic_cast<TForm*>(c);
        if (form && form->Menu() == this) form->SetMenu(nullptr);
    }
}

bool TMainMenu::IsShortCut(KeyCode code) {
    TMenuItem* found = items_->FindShortCut(code);
    if (!found) return false;
    std::vector<TMenuItem*> path;
    for (TMenuItem* item = found; item; item = item->Parent()) path.push_back(item);
    std::reverse(path.begin(), path.end());
    for (TMenuItem* level : path) {
        if (!level->Enabled()) break;
        level->SubmenuOpening();
        level->Click();
    }
    return true;
}

}  // namespace zozuz
