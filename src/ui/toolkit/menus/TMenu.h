#pragma once

#include <functional>
#include <string_view>

#include "base/KeyCode.h"
#include "ui/toolkit/components/TComponent.h"
#include "ui/toolkit/menus/TMenuItem.h"

namespace zozuz {

class TApplication;
class TImageList;

// What a host's menu view does after a character was typed into an open menu level.
struct TMenuKeyOutcome {
    enum class Kind {
        // Close the menu, then call Click on `item`.
        Run,
        // Open the submenu of `item` (its SubmenuOpening has run already).
        OpenSubmenu,
        // Move the highlight to `item`; the menu stays open.
        Highlight,
        // Close the menu; nothing runs.
        Close,
        // Nothing matched: the menu stays as it is, and the view has the desktop's warning sounded
        // (the host sounds it for a character its menu ignores, so the program plays none itself).
        Ignored,
    };
    Kind kind = Kind::Ignored;
    // The entry meant, for Run, OpenSubmenu and Highlight; null otherwise.
    TMenuItem* item = nullptr;
};

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

    // Gives the entries of every level unique access keys (see assignAccessKeys), as a menu gets
    // them when it is built. Captions that change are announced through OnChange.
    void AssignAccessKeys();
    // The same for the entries of one level; returns whether a caption changed, in which case a
    // view rebuilds the level.
    bool AssignAccessKeys(TMenuItem& level);

    // A character (one UTF-8 character) typed while `level` is the open menu level, the menu bar
    // included, with `highlighted` (one of its entries, or null) highlighted. The program, not the
    // view, decides what it does, because entries carry images and the desktop would not see
    // their keys; the view then does what the outcome says.
    TMenuKeyOutcome AccessKeyTyped(TMenuItem& level, const TMenuItem* highlighted, std::string_view character);

    // The view reports the entry highlighted now, or null once none is (the menu closed): the
    // application hint shows the long part of its hint, so the status line follows the highlight.
    void ItemHighlighted(const TMenuItem* item);

    // The application of the window that owns the menu, or null for a menu owned by no window.
    TApplication* Application() const;

    // Told of every change of what an entry of the tree shows, and of entries added or removed
    // (then with the parent that changed).
    std::function<void(TMenuItem& changed)> OnChange;

    // The pictures its entries name by their ImageIndex; none when null.
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images) { images_ = images; }

protected:
    bool readStoredReference(const std::string& property, TComponent& target) override;
    void Loaded() override;

private:
    TImageList* images_ = nullptr;
    // Owned, as a component, by this menu; never null.
    TMenuItem* items_;
};

}  // namespace zozuz
