#pragma once

#include <memory>
#include <string>
#include <vector>

#include "base/KeyCode.h"
#include "ui/toolkit/components/TComponent.h"
#include "ui/toolkit/components/TNotifyEvent.h"

namespace zozuz {

class TAction;
class TActionLink;
class TMenu;

// One entry of a menu: a top-level menu of the menu bar, an entry of a submenu, a separator line
// (caption "-"), or the invisible root that holds a menu bar's top-level menus. It keeps everything
// it shows itself; a linked action offers its values when the link is made and pushes its changes
// while the entry still holds the action's value (see TAction).
//
// Entries form a tree apart from ownership: the window owns them all, and an entry's children are
// the entries added to it, in display order. An entry destroyed leaves its parent and lets its
// children go. Every change of what an entry shows is announced through the menu that holds the
// tree (TMenu::OnChange), for the host's view of the menu; the entry itself never calls a host.
class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner = nullptr);
    ~TMenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    // A separator line rather than an entry.
    bool IsLine() const { return caption_ == "-"; }
    KeyCode ShortCut() const { return shortCut_; }
    void SetShortCut(KeyCode shortCut);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    // An image of the window's image list shown beside the caption; -1 for none.
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int context);
    const TNotifyEvent& OnClick() const { return onClick_; }
    void SetOnClick(const TNotifyEvent& handler) { onClick_ = handler; }

    // --- The tree ---
    TMenuItem* Parent() const { return parent_; }
    const std::vector<TMenuItem*>& Children() const { return children_; }
    // The menu whose tree holds the entry, or null while it hangs in no menu.
    TMenu* Menu() const;
    int Count() const { return static_cast<int>(children_.size()); }
    // Adds `item` as the last child, taking it from any parent it had. An entry cannot hold itself
    // or a menu above it: that fails with EInvalidOperation.
    void Add(TMenuItem& item);
    void Remove(TMenuItem& item);
    // The first entry below this one, depth-first in display order, whose shortcut is `code`.
    TMenuItem* FindShortCut(KeyCode code) const;

    // --- Action ---
    TAction* Action() const;
    // Links the entry to `action` (null unlinks). While the window loads, only the values the entry
    // still holds at their defaults take the action's; afterwards every value does.
    void SetAction(TAction* action);

    // The user chose the entry: a disabled entry does nothing; an entry whose own click handler is
    // not its action's runs that handler; otherwise the action runs (refreshed first).
    void Click();
    // Refreshes the linked action, if any.
    void InitiateAction();
    // The entry's submenu is about to be shown: each child's action is refreshed, in order, and
    // the children's access keys are made unique again.
    void SubmenuOpening();

protected:
    bool readStoredValue(const StoredValue& value) override;
    bool readStoredReference(const std::string& property, TComponent& target) override;
    bool readStoredEvent(const std::string& property, const TNotifyEvent& handler) override;
    void placeStored(TComponent* parent, TComponent& window) override;
    void Loaded() override;
    // Takes the action's values; with `checkDefaults`, only where the entry holds its default.
    virtual void ActionChange(const TAction& action, bool checkDefaults);

private:
    friend class TMenu;

    void changed();

    std::string caption_;
    KeyCode shortCut_ = 0;
    bool enabled_ = true;
    bool visible_ = true;
    bool checked_ = false;
    int imageIndex_ = -1;
    std::string hint_;
    int helpContext_ = 0;
    TNotifyEvent onClick_;
    // Each child's parent_ is this entry.
    std::vector<TMenuItem*> children_;
    TMenuItem* parent_ = nullptr;
    // Set on the root entry of a menu only.
    TMenu* menu_ = nullptr;
    std::unique_ptr<TActionLink> actionLink_;
};

}  // namespace zozuz
