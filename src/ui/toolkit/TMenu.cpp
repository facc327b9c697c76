#include "ui/toolkit/TMenu.h"

#include <algorithm>
#include <vector>

namespace zozuz {

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(this)) { items_->menu_ = this; }

TMenu::~TMenu() { items_->menu_ = nullptr; }

bool TMenu::IsShortCut(KeyCode code) {
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
