#include "ui/toolkit/windows/TMenuBarView.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "app/ProgramPictures.h"
#include "app/TApplication.h"
#include "base/Exception.h"
#include "platform/host/Host.h"
#include "ui/text/ShortCutText.h"
#include "ui/toolkit/components/TImageList.h"
#include "ui/toolkit/menus/TMainMenu.h"
#include "ui/toolkit/menus/TMenuItem.h"
#include "ui/toolkit/windows/TForm.h"

namespace zozuz {

TMenuBarView::TMenuBarView(TForm& form, TMainMenu& menu) : form_(form), menu_(menu) {
    if (!form.Native()) throw EInvalidOperation("A menu bar needs a window to show on");
    bar_ = form.Application().GetHost().createMenuBar(*form.Native(), *this);
    menu_.OnChange = [this](TMenuItem& item) { MenuChanged(item); };
    SendLevel(menu_.Items());
}

TMenuBarView::~TMenuBarView() { menu_.OnChange = nullptr; }

MenuId TMenuBarView::IdOf(const TMenuItem& item) const {
    const auto found = ids_.find(&item);
    return found == ids_.end() ? kNoMenuEntry : found->second;
}

void TMenuBarView::submenuOpening(MenuId submenu) {
    TMenuItem* item = ItemOf(submenu);
    if (!item) return;
    // The model refreshes its commands' states and access keys; every change it makes arrives
    // through OnChange, and the level is sent once more so that the host shows the result.
    try {
        item->SubmenuOpening();
    } catch (...) {
        form_.Application().HandleException(&form_);
    }
    SendLevel(*item);
}

void TMenuBarView::highlighted(MenuId entry) { menu_.ItemHighlighted(ItemOf(entry)); }

void TMenuBarView::chosen(MenuId entry) {
    TMenuItem* item = ItemOf(entry);
    if (!item) return;
    // Like every handler of the user's input, a command that fails shows its error and the program
    // goes on.
    try {
        item->Click();
    } catch (...) {
        form_.Application().HandleException(&form_);
    }
}

MenuCharAnswer TMenuBarView::characterTyped(MenuId levelId, std::string_view character, MenuId highlightedId) {
    TMenuItem* level = levelId == kMenuBarLevel ? &menu_.Items() : ItemOf(levelId);
    if (!level) return {};
    TMenuItem* highlighted = ItemOf(highlightedId);
    TMenuKeyOutcome outcome;
    try {
        outcome = menu_.AccessKeyTyped(*level, highlighted, character);
    } catch (...) {
        form_.Application().HandleException(&form_);
        return {MenuCharAnswer::Action::Close, kNoMenuEntry};
    }
    const MenuId target = outcome.item ? IdOf(*outcome.item) : kNoMenuEntry;
    switch (outcome.kind) {
    case TMenuKeyOutcome::Kind::Run:
    case TMenuKeyOutcome::Kind::OpenSubmenu:
        // The host chooses the entry as a click would: a command is reported through chosen()
        // once the menus have closed, a submenu opens.
        return {MenuCharAnswer::Action::Execute, target};
    case TMenuKeyOutcome::Kind::Highlight:
        return {MenuCharAnswer::Action::Select, target};
    case TMenuKeyOutcome::Kind::Close:
        return {MenuCharAnswer::Action::Close, kNoMenuEntry};
    case TMenuKeyOutcome::Kind::Ignored:
        break;
    }
    // The host ignores the character with the desktop's warning, once, and leaves the menu as it is.
    return {MenuCharAnswer::Action::Ignore, kNoMenuEntry};
}

void TMenuBarView::MenuChanged(TMenuItem& item) {
    if (&item == &menu_.Items()) {
        SendLevel(item);
        return;
    }
    TMenuItem* parent = item.Parent();
    const MenuId id = IdOf(item);
    const MenuId parentId = parent == &menu_.Items() ? kMenuBarLevel : (parent ? IdOf(*parent) : kNoMenuEntry);
    const bool parentShown = parent && (parent == &menu_.Items() || parentId != kNoMenuEntry);
    if (!parentShown) return;
    // An entry shown or hidden, added or removed changes its level's set of entries.
    const auto& sent = sentLevels_[parentId];
    const bool shown = id != kNoMenuEntry && std::find(sent.begin(), sent.end(), id) != sent.end();
    if (shown != item.Visible()) {
        SendLevel(*parent);
        return;
    }
    if (!shown) return;
    if (IsSubmenu(item)) {
        std::vector<MenuId> children;
        for (TMenuItem* child : item.Children())
            if (child->Visible()) children.push_back(IdFor(*child));
        if (children != sentLevels_[id]) {
            SendLevel(item);
            return;
        }
    }
    bar_->updateEntry(EntryOf(item));
}

void TMenuBarView::SendLevel(TMenuItem& level) {
    const MenuId id = &level == &menu_.Items() ? kMenuBarLevel : IdFor(level);
    std::vector<MenuEntry> entries = EntriesOf(level);
    bar_->setEntries(id, entries);
}

std::vector<MenuEntry> TMenuBarView::EntriesOf(TMenuItem& level) {
    const MenuId levelId = &level == &menu_.Items() ? kMenuBarLevel : IdFor(level);
    std::vector<MenuEntry> entries;
    std::vector<MenuId> ids;
    for (TMenuItem* child : level.Children()) {
        if (!child->Visible()) continue;
        entries.push_back(EntryOf(*child));
        ids.push_back(entries.back().id);
    }
    sentLevels_[levelId] = std::move(ids);
    return entries;
}

MenuEntry TMenuBarView::EntryOf(TMenuItem& item) {
    MenuEntry entry;
    entry.id = IdFor(item);
    if (item.IsLine()) {
        entry.kind = MenuEntry::Kind::Separator;
        return entry;
    }
    entry.kind = IsSubmenu(item) ? MenuEntry::Kind::Submenu : MenuEntry::Kind::Command;
    entry.caption = item.Caption();
    if (item.ShortCut() != 0 && entry.kind == MenuEntry::Kind::Command) entry.shortcutText = ShortCutToText(item.ShortCut());
    const TImageList* images = menu_.Images();
    if (images && item.ImageIndex() >= 0 && item.ImageIndex() < images->Count())
        entry.image = pictureOver(images->At(item.ImageIndex()), kMenuPictureBackground);
    entry.enabled = item.Enabled();
    entry.checked = item.Checked();
    if (entry.kind == MenuEntry::Kind::Submenu) entry.entries = EntriesOf(item);
    return entry;
}

MenuId TMenuBarView::IdFor(TMenuItem& item) {
    if (const MenuId id = IdOf(item); id != kNoMenuEntry) return id;
    if (nextId_ == 0) throw EInvalidOperation("Too many menu entries");
    const MenuId id = nextId_++;
    ids_.emplace(&item, id);
    return id;
}

TMenuItem* TMenuBarView::ItemOf(MenuId id) const {
    if (id == kNoMenuEntry) return nullptr;
    // The entry is looked up in the menu's tree as it is now, never through a pointer kept from
    // before: an entry destroyed since it was shown is simply not found.
    std::vector<TMenuItem*> pending(menu_.Items().Children().rbegin(), menu_.Items().Children().rend());
    while (!pending.empty()) {
        TMenuItem* item = pending.back();
        pending.pop_back();
        if (IdOf(*item) == id) return item;
        pending.insert(pending.end(), item->Children().rbegin(), item->Children().rend());
    }
    return nullptr;
}

bool TMenuBarView::IsSubmenu(const TMenuItem& item) const {
    return item.Parent() == &menu_.Items() || item.Count() > 0;
}

}  // namespace zozuz
