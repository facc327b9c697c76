#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "platform/host/MenuBar.h"

struct HBITMAP__;
struct HMENU__;

namespace zozuz {

class Win32Host;
class Win32Window;

// A window's menu bar on the system's menus (CreateMenu, SetMenu). The window hands it the menu
// messages: WM_INITMENUPOPUP lets the program fill a submenu, WM_MENUSELECT reports the highlight,
// WM_MENUCHAR asks the program about a typed character, and WM_COMMAND, which the system posts once
// the menus have closed, reports the chosen command. Every entry's id is its item id. An entry's
// picture shows as the item's bitmap, greyed by the bar itself while the entry is disabled.
class Win32MenuBar final : public NativeMenuBar {
public:
    // `host`, `window` and `listener` must outlive the bar.
    Win32MenuBar(Win32Host& host, Win32Window& window, MenuListener& listener);
    ~Win32MenuBar() override;
    Win32MenuBar(const Win32MenuBar&) = delete;
    Win32MenuBar& operator=(const Win32MenuBar&) = delete;

    void setEntries(MenuId level, const std::vector<MenuEntry>& entries) override;
    void updateEntry(const MenuEntry& entry) override;

    // The window procedure's work for the menu messages; returns whether the message was handled.
    bool handleMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam, std::intptr_t& result);

private:
    // The system menu of a level: the bar for kMenuBarLevel, a submenu's popup otherwise.
    HMENU__* menuOf(MenuId level) const;
    MenuId levelOf(HMENU__* menu) const;
    void clear(HMENU__* menu);
    void append(HMENU__* menu, const MenuEntry& entry);
    // Deletes the bitmap the entry `id` showed, once no item shows it any more.
    void dropBitmap(MenuId id);

    Win32Host& host_;
    Win32Window& window_;
    MenuListener& listener_;
    HMENU__* bar_;
    // Every entry the bar holds, by id, with the menu it stands in.
    std::map<MenuId, HMENU__*> parents_;
    // The popup of every submenu entry, and back.
    std::map<MenuId, HMENU__*> popups_;
    std::map<HMENU__*, MenuId> submenus_;
    // The bitmap every entry with a picture shows, owned here: the system's menus never delete
    // an item's bitmap. Only ids in parents_ have one.
    std::map<MenuId, HBITMAP__*> bitmaps_;
};

}  // namespace zozuz
