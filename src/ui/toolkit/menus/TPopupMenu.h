#pragma once

#include <vector>

#include "ui/toolkit/components/TComponent.h"
#include "ui/toolkit/menus/TMenu.h"

namespace zozuz {

class TControl;

// A context menu that controls show on request. The window offers a key to the context menus of
// the focused control and of its parents before its own menu bar. Destroyed first, it makes the
// controls that show it forget it.
class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* owner = nullptr) : TMenu(owner) {}
    ~TPopupMenu() override;

private:
    friend class TControl;

    // The controls whose PopupMenu is this menu; each is told when the menu is destroyed.
    std::vector<TComponent*> users_;
};

}  // namespace zozuz
