#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/MenuBar.h"
#include "platform/host/NativeWindow.h"

namespace zozuz {

// The headless host's menu bar: it keeps the entries it is given and lets a test work the menus as
// a user would, in the order a desktop reports it (highlight, then opening; menus close before a
// chosen entry runs). Everything happens at once, inside the call the test makes.
class HeadlessMenuBar final : public NativeMenuBar {
public:
    // `commandChosen` runs before a chosen entry is reported (the host tells its listener of a
    // menu command there); `destroyed` when the bar goes.
    HeadlessMenuBar(NativeWindow& window, MenuListener& listener, std::function<void()> commandChosen,
                    std::function<void(HeadlessMenuBar*)> destroyed);
    ~HeadlessMenuBar() override;
    HeadlessMenuBar(const HeadlessMenuBar&) = delete;
    HeadlessMenuBar& operator=(const HeadlessMenuBar&) = delete;

    // --- NativeMenuBar ---
    void setEntries(MenuId level, const std::vector<MenuEntry>& entries) override;
    void updateEntry(const MenuEntry& entry) override;

    // --- What it shows ---
    NativeWindow& window() const { return window_; }
    const std::vector<MenuEntry>& titles() const { return titles_; }
    // The entry with `id`, or null.
    const MenuEntry* find(MenuId id) const;
    // The open submenus, outermost first.
    const std::vector<MenuId>& openMenus() const { return open_; }
    MenuId highlightedEntry() const { return highlighted_; }
    // How often the desktop's warning sounded for a character that meant nothing.
    std::size_t beeps() const { return beeps_; }

    // --- The user ---
    // Clicks a submenu's entry (or a title of the bar): it is highlighted and opens, inside the
    // submenu that holds it, which must be open (the bar's titles always are). A disabled
    // submenu is only highlighted.
    void open(MenuId submenu);
    // Moves the highlight onto an entry of the innermost open menu (or a title of the bar).
    void highlight(MenuId entry);
    // Clicks a command entry of an open menu: an enabled one closes the menus and is chosen; a
    // disabled one does nothing.
    void choose(MenuId entry);
    // Types a character: into the innermost open submenu, or with Alt on the bar when none is
    // open. The program's answer is carried out.
    void typeCharacter(std::string_view character);
    // Esc pressed until all are closed, or a click outside the menus.
    void closeAll();

private:
    MenuEntry* findMutable(MenuId id);
    // The level that holds `id`: kMenuBarLevel for a title, else its submenu's id.
    MenuId levelOf(MenuId id) const;
    void setHighlight(MenuId entry);
    void requireId(MenuId id) const;

    NativeWindow& window_;
    MenuListener& listener_;
    std::function<void()> commandChosen_;
    std::function<void(HeadlessMenuBar*)> destroyed_;
    std::vector<MenuEntry> titles_;
    std::vector<MenuId> open_;
    MenuId highlighted_ = kNoMenuEntry;
    std::size_t beeps_ = 0;
};

}  // namespace zozuz
