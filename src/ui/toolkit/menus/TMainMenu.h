#pragma once

#include "ui/toolkit/components/TComponent.h"
#include "ui/toolkit/menus/TMenu.h"

namespace zozuz {

// A window's menu bar: its root's children are the top-level menus. The window offers it every key
// before the focused control sees it.
class TMainMenu : public TMenu {
public:
    explicit TMainMenu(TComponent* owner = nullptr) : TMenu(owner) {}
    // A window among its owners that shows this menu forgets it (ReferenceDestroyed).
    ~TMainMenu() override;

protected:
    bool servesAsStored(const std::string& property) const override;
};

}  // namespace zozuz
