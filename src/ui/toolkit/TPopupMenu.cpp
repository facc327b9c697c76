#include "ui/toolkit/TPopupMenu.h"

#include "ui/toolkit/TControl.h"

namespace zozuz {

TPopupMenu::~TPopupMenu() {
    while (!users_.empty()) users_.back()->SetPopupMenu(nullptr);
}

}  // namespace zozuz
