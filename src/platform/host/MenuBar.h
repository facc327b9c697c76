#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/Image.h"

namespace zozuz {

// The identifier the program gives a menu entry and the host reports back. Identifiers are unique
// within one menu bar and fit in 16 bits, so that a host can use them as the desktop's own command
// numbers. 0 names the bar itself (as a level of entries) or, in a notification, no entry at all.
using MenuId = std::uint16_t;
inline constexpr MenuId kMenuBarLevel = 0;
inline constexpr MenuId kNoMenuEntry = 0;

// The colour a menu entry's picture has where it leaves the menu's background showing: the
// desktop's usual menu background, so that a host may show the picture as it is, or take this
// colour as transparent where its menus have another background. The pictures never use it.
inline constexpr std::uint32_t kMenuPictureBackground = 0xF0F0F0;

// One entry of a menu as the program wants it shown. The host shows it and keeps nothing else of
// the program's: which entry runs what, access keys and shortcuts are all decided by the program.
struct MenuEntry {
    enum class Kind : std::uint8_t { Command, Submenu, Separator };

    MenuId id = kNoMenuEntry;
    Kind kind = Kind::Command;
    // UTF-8. "&" marks the access key that is underlined; "&&" shows one ampersand.
    std::string caption;
    // Shown right-aligned after the caption, UTF-8. Only shown: the host binds no key to it.
    std::string shortcutText;
    // 16 x 16 picture shown beside the caption, kMenuPictureBackground where it is transparent; an
    // empty image shows none.
    Image image;
    bool enabled = true;
    bool checked = false;
    // The entries of a submenu, in display order; unused for the other kinds. A submenu may well
    // be empty until the program fills it when it is about to open.
    std::vector<MenuEntry> entries;
};

// What the program answers to a character typed while a menu level is active.
struct MenuCharAnswer {
    enum class Action : std::uint8_t {
        // The character means nothing here: the host sounds the desktop's warning.
        Ignore,
        // Every open menu closes.
        Close,
        // `entry` is chosen as if clicked: a command entry runs, a submenu opens.
        Execute,
        // The highlight moves to `entry`, nothing runs.
        Select,
    };
    Action action = Action::Ignore;
    MenuId entry = kNoMenuEntry;
};

// What a menu bar tells the program. Called on the user-interface thread while the user works the
// menus; the program's answers take effect at once.
class MenuListener {
public:
    virtual ~MenuListener() = default;

    // A submenu (its entry's id) is about to open. The program may replace its entries now: the
    // menu shows what NativeMenuBar::setEntries left in it when this returns.
    virtual void submenuOpening(MenuId /*submenu*/) {}
    // The user highlighted an entry (a command, a submenu or a title of the bar; disabled ones
    // too), or kNoMenuEntry when the menus closed.
    virtual void highlighted(MenuId /*entry*/) {}
    // The user chose an enabled command entry. Reported after the menus have closed, so that the
    // command may show dialogs of its own.
    virtual void chosen(MenuId /*entry*/) {}
    // A character was typed while a menu level was active: `level` is the open submenu that has
    // the keyboard, or kMenuBarLevel for Alt with a character while no menu is open; `highlighted`
    // is the entry highlighted in that level, if any. `character` is one character, UTF-8.
    virtual MenuCharAnswer characterTyped(MenuId /*level*/, std::string_view /*character*/, MenuId /*highlighted*/) {
        return {};
    }
};

// A top-level window's menu bar on the host, made with Host::createMenuBar. It shows the entries it
// is given in the desktop's own menus and reports to its listener. Destroying it removes the bar
// from its window.
//
// Keys stay the program's: the host fires no shortcut of its own. Every key press still reaches the
// window's key preview first; only Alt with a character that the program let pass, and characters
// typed while a menu is open, come back to the program through MenuListener::characterTyped.
class NativeMenuBar {
public:
    virtual ~NativeMenuBar() = default;

    // Replaces the entries of one level: kMenuBarLevel for the bar's own titles (which are
    // submenus), or the id of a submenu. Raises std::invalid_argument for an id the bar does not
    // hold, or an id used twice.
    virtual void setEntries(MenuId level, const std::vector<MenuEntry>& entries) = 0;
    // Changes how one entry shows (caption, shortcut text, image, enabled, checked) and leaves a
    // submenu's entries as they are; its id and kind stay. Raises std::invalid_argument for an id the
    // bar does not hold.
    virtual void updateEntry(const MenuEntry& entry) = 0;
};

}  // namespace zozuz
