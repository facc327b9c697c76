#pragma once

#include <functional>

#include "base/KeyCode.h"
#include "ui/toolkit/TComponent.h"
#include "ui/toolkit/TMenuItem.h"

namespace zozuz {

class TImageList;

// A menu: the root of a tree of menu entries. The menu bar's root holds the top-level menus, a
// context menu's root the entries it pops up. It is a model only; a host's view shows it and
// reports what the user does with it, listening to OnChange to learn when an entry's look changed.
class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* owner = nullptr);
    ~TMenu() override;

    // The invisible root entry.
    TMenuItem& Items() const { return *items_; }

    // Offers a key code to the menu. The first entry with that shortcut, depth-first in display
    // order, is clicked along its path from the root: at each level a disabled element ends the
    // walk; otherwise its children's actions are refreshed and it is clicked. A found entry consumes
    // the key whatever happened on the way, so a disabled entry's shortcut does nothing at all.
    bool IsShortCut(KeyCode code);

    // Told of every change of what an entry of the tree shows, and of entries added or removed
    // (then with the parent that changed).
    std::function<void(TMenuItem& changed)> OnChange;

    // The pictures its entries name by their ImageIndex; none when null.
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images) { images_ = images; }

private:
    TImageList* images_ = nullptr;
    // Owned, as a component, by this menu; never null.
    TMenuItem* items_;
};

}  // namespace zozuz
