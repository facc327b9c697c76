#include "hosts/headless/HeadlessMenuBar.h"

#include <algorithm>
#include <set>
#include <stdexcept>
#include <utility>

namespace zozuz {

namespace {

const MenuEntry* findIn(const std::vector<MenuEntry>& entries, MenuId id) {
    for (const MenuEntry& entry : entries) {
        if (entry.id == id) return &entry;
        if (const MenuEntry* inner = findIn(entry.entries, id)) return inner;
    }
    return nullptr;
}

MenuId levelIn(const std::vector<MenuEntry>& entries, MenuId level, MenuId id) {
    for (const MenuEntry& entry : entries) {
        if (entry.id == id) return level;
        if (findIn(entry.entries, id)) return levelIn(entry.entries, entry.id, id);
    }
    return kMenuBarLevel;
}

void collectIds(const std::vector<MenuEntry>& entries, std::multiset<MenuId>& ids) {
    for (const MenuEntry& entry : entries) {
        if (entry.kind != MenuEntry::Kind::Separator) ids.insert(entry.id);
        collectIds(entry.entries, ids);
    }
}

}  // namespace

HeadlessMenuBar::HeadlessMenuBar(NativeWindow& window, MenuListener& listener, std::function<void()> commandChosen,
                                 std::function<void(HeadlessMenuBar*)> destroyed)
    : window_(window),
      listener_(listener),
      commandChosen_(std::move(commandChosen)),
      destroyed_(std::move(destroyed)) {}

HeadlessMenuBar::~HeadlessMenuBar() {
    if (destroyed_) destroyed_(this);
}

const MenuEntry* HeadlessMenuBar::find(MenuId id) const {
    return id == kNoMenuEntry ? nullptr : findIn(titles_, id);
}

MenuEntry* HeadlessMenuBar::findMutable(MenuId id) { return const_cast<MenuEntry*>(find(id)); }

MenuId HeadlessMenuBar::levelOf(MenuId id) const { return levelIn(titles_, kMenuBarLevel, id); }

void HeadlessMenuBar::requireId(MenuId id) const {
    if (!find(id)) throw std::invalid_argument("menu bar holds no entry " + std::to_string(id));
}

void HeadlessMenuBar::setEntries(MenuId level, const std::vector<MenuEntry>& entries) {
    std::vector<MenuEntry>* target = &titles_;
    if (level != kMenuBarLevel) {
        MenuEntry* submenu = findMutable(level);
        if (!submenu || submenu->kind != MenuEntry::Kind::Submenu)
            throw std::invalid_argument("menu bar holds no submenu " + std::to_string(level));
        target = &submenu->entries;
    }
    // The new entries may reuse the ids of the ones they replace, but no other id of the bar.
    std::vector<MenuEntry> old = std::exchange(*target, {});
    std::multiset<MenuId> ids;
    collectIds(titles_, ids);
    collectIds(entries, ids);
    for (MenuId id : ids) {
        if (id == kNoMenuEntry || ids.count(id) > 1) {
            *target = std::move(old);
            throw std::invalid_argument("menu entry id " + std::to_string(id) + " is not unique");
        }
    }
    *target = entries;
    // Open menus that no longer exist close, as the desktop's do when their entries go.
    const auto gone = std::find_if(open_.begin(), open_.end(), [this](MenuId id) { return !find(id); });
    open_.erase(gone, open_.end());
    if (highlighted_ != kNoMenuEntry && !find(highlighted_)) highlighted_ = kNoMenuEntry;
}

void HeadlessMenuBar::updateEntry(const MenuEntry& entry) {
    MenuEntry* shown = findMutable(entry.id);
    if (!shown) throw std::invalid_argument("menu bar holds no entry " + std::to_string(entry.id));
    shown->caption = entry.caption;
    shown->shortcutText = entry.shortcutText;
    shown->image = entry.image;
    shown->enabled = entry.enabled;
    shown->checked = entry.checked;
}

void HeadlessMenuBar::setHighlight(MenuId entry) {
    highlighted_ = entry;
    listener_.highlighted(entry);
}

void HeadlessMenuBar::open(MenuId submenu) {
    requireId(submenu);
    const MenuId level = levelOf(submenu);
    if (level != kMenuBarLevel && std::find(open_.begin(), open_.end(), level) == open_.end())
        throw std::logic_error("the menu that holds entry " + std::to_string(submenu) + " is not open");
    // Opening another menu of the same level closes the ones inside it first.
    const auto keep = level == kMenuBarLevel ? open_.begin() : std::find(open_.begin(), open_.end(), level) + 1;
    open_.erase(keep, open_.end());
    setHighlight(submenu);
    const MenuEntry* entry = find(submenu);
    if (!entry || entry->kind != MenuEntry::Kind::Submenu || !entry->enabled) return;
    listener_.submenuOpening(submenu);
    // The listener may have rebuilt the menus; the submenu opens if it is still there.
    if (find(submenu)) open_.push_back(submenu);
}

void HeadlessMenuBar::highlight(MenuId entry) {
    requireId(entry);
    setHighlight(entry);
}

void HeadlessMenuBar::choose(MenuId id) {
    requireId(id);
    const MenuEntry* entry = find(id);
    if (entry->kind == MenuEntry::Kind::Submenu) {
        open(id);
        return;
    }
    if (!entry->enabled || entry->kind != MenuEntry::Kind::Command) return;
    closeAll();
    if (commandChosen_) commandChosen_();
    listener_.chosen(id);
}

void HeadlessMenuBar::typeCharacter(std::string_view character) {
    const MenuId level = open_.empty() ? kMenuBarLevel : open_.back();
    const MenuCharAnswer answer = listener_.characterTyped(level, character, highlighted_);
    switch (answer.action) {
        case MenuCharAnswer::Action::Ignore: ++beeps_; break;
        case MenuCharAnswer::Action::Close: closeAll(); break;
        case MenuCharAnswer::Action::Execute: choose(answer.entry); break;
        case MenuCharAnswer::Action::Select: highlight(answer.entry); break;
    }
}

void HeadlessMenuBar::closeAll() {
    open_.clear();
    setHighlight(kNoMenuEntry);
}

}  // namespace zozuz
