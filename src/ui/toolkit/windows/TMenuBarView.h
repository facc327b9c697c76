#pragma once

#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/host/MenuBar.h"

namespace zozuz {

class TForm;
class TMainMenu;
class TMenuItem;

// Shows a window's menu bar model on the host's native menu bar and hands back what the user does
// there. The model keeps every state; this view only mirrors it: each change the menu announces is
// sent on to the host, each submenu is refreshed (its commands' states, its access keys) just before
// it opens, and a chosen entry is clicked through the model, so the command layer decides what runs.
class TMenuBarView final : private MenuListener {
public:
    TMenuBarView(TForm& form, TMainMenu& menu);
    ~TMenuBarView() override;
    TMenuBarView(const TMenuBarView&) = delete;
    TMenuBarView& operator=(const TMenuBarView&) = delete;

    // The identifier the host knows `item` by, or kNoMenuEntry while it is not shown.
    MenuId IdOf(const TMenuItem& item) const;

private:
    // --- MenuListener ---
    void submenuOpening(MenuId submenu) override;
    void highlighted(MenuId entry) override;
    void chosen(MenuId entry) override;
    MenuCharAnswer characterTyped(MenuId level, std::string_view character, MenuId highlighted) override;

    void MenuChanged(TMenuItem& item);
    // Sends the shown children of `level` (the root for the bar's titles) to the host.
    void SendLevel(TMenuItem& level);
    std::vector<MenuEntry> EntriesOf(TMenuItem& level);
    MenuEntry EntryOf(TMenuItem& item);
    MenuId IdFor(TMenuItem& item);
    TMenuItem* ItemOf(MenuId id) const;
    bool IsSubmenu(const TMenuItem& item) const;

    TForm& form_;
    TMainMenu& menu_;
    // Every entry that has been shown keeps its identifier for the life of the view; identifiers
    // are never reused, so a late report about a removed entry finds nothing instead of another one.
    // The keys are only compared, never followed: an entry is found through the menu's tree.
    std::unordered_map<const TMenuItem*, MenuId> ids_;
    MenuId nextId_ = 1;
    // The shown children of each level as last sent, by the level's identifier (the bar's is
    // kMenuBarLevel): a change that alters this set is sent as the whole level.
    std::unordered_map<MenuId, std::vector<MenuId>> sentLevels_;
    std::unique_ptr<NativeMenuBar> bar_;
};

}  // namespace zozuz
