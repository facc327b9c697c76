#include "hosts/win32/Win32MenuBar.h"

#include <cstdint>
#include <set>
#include <stdexcept>
#include <string>

#include <windows.h>
#include <uxtheme.h>

#include "platform/gfx/PixelScale.h"
#include "hosts/win32/MenuBitmap.h"
#include "hosts/win32/WideText.h"
#include "hosts/win32/Win32Host.h"
#include "hosts/win32/Win32Window.h"

namespace zozuz {

namespace {

// The caption with its shortcut text after a tab, where the system's menus right-align it.
std::wstring itemText(const MenuEntry& entry) {
    std::string text = entry.caption;
    if (!entry.shortcutText.empty()) text += "\t" + entry.shortcutText;
    return toWide(text);
}

void collectIds(const MenuEntry& entry, std::set<MenuId>& ids, const std::map<MenuId, HMENU>& held) {
    if (entry.kind == MenuEntry::Kind::Separator) return;
    if (entry.id == kNoMenuEntry || held.count(entry.id) || !ids.insert(entry.id).second)
        throw std::invalid_argument("menu entry id " + std::to_string(entry.id) + " is used twice");
    if (entry.kind == MenuEntry::Kind::Submenu)
        for (const MenuEntry& child : entry.entries) collectIds(child, ids, held);
}

// The position of the item with `id` in `menu`, or -1.
int positionOf(HMENU menu, MenuId id) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID;
        if (GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info) && info.wID == id) return i;
    }
    return -1;
}

// A system colour as 0x00RRGGBB.
std::uint32_t systemColour(int index) {
    const COLORREF colour = GetSysColor(index);
    return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) | (static_cast<std::uint32_t>(GetGValue(colour)) << 8) |
           GetBValue(colour);
}

// Whether the system's menus blend a 32-bit item bitmap by its alpha. Themed menus do, taking it as
// premultiplied; classic menus, and Wine's menus whatever their theme, copy the bitmap as it is.
bool menusBlendBitmaps() {
    static const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return !wine && IsThemeActive() && IsAppThemed();
}

// What the transparent pixels of a menu bitmap hold: black where the menus blend it (as
// premultiplied alpha wants), the menu's colour where they copy it.
std::uint32_t clearPixel() { return menusBlendBitmaps() ? 0u : systemColour(COLOR_MENU); }

// The bitmap an entry shows: its picture, greyed while it is disabled (the system draws an item's
// bitmap as it is), at the window's density; null for an entry without a picture.
HBITMAP bitmapFor(const MenuEntry& entry, const PixelScale& scale) {
    if (entry.image.width() <= 0 || entry.image.height() <= 0) return nullptr;
    const Image picture = entry.enabled ? entry.image
                                        : greyedMenuPicture(entry.image, systemColour(COLOR_3DSHADOW),
                                                            systemColour(COLOR_3DHILIGHT));
    return createMenuBitmap(scale.identity() ? picture : scaledImage(picture, scale), clearPixel());
}

// Pictures and check marks share one column at the left of a popup, as a picture that marks a
// checked entry would otherwise show twice.
void shareCheckColumn(HMENU popup) {
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_STYLE;
    info.dwStyle = MNS_CHECKORBMP;
    SetMenuInfo(popup, &info);
}

}  // namespace

Win32MenuBar::Win32MenuBar(Win32Host& host, Win32Window& window, MenuListener& listener)
    : host_(host), window_(window), listener_(listener), bar_(CreateMenu()) {
    if (!bar_) throw std::runtime_error("the system could not create a menu bar");
    SetMenu(window_.handle(), bar_);
    window_.setMenuBar(this);
}

Win32MenuBar::~Win32MenuBar() {
    window_.setMenuBar(nullptr);
    if (window_.handle()) SetMenu(window_.handle(), nullptr);
    DestroyMenu(bar_);  // destroys every popup with it
    for (const auto& held : bitmaps_) DeleteObject(held.second);
}

HMENU Win32MenuBar::menuOf(MenuId level) const {
    if (level == kMenuBarLevel) return bar_;
    const auto it = popups_.find(level);
    if (it == popups_.end()) throw std::invalid_argument("the menu bar holds no submenu " + std::to_string(level));
    return it->second;
}

MenuId Win32MenuBar::levelOf(HMENU menu) const {
    if (menu == bar_) return kMenuBarLevel;
    const auto it = submenus_.find(menu);
    return it == submenus_.end() ? kNoMenuEntry : it->second;
}

void Win32MenuBar::dropBitmap(MenuId id) {
    if (const auto it = bitmaps_.find(id); it != bitmaps_.end()) {
        DeleteObject(it->second);
        bitmaps_.erase(it);
    }
}

void Win32MenuBar::clear(HMENU menu) {
    // The ids of everything below this menu are let go first, then the items (and their popups),
    // then the bitmaps that the items showed.
    std::vector<MenuId> gone;
    std::vector<HMENU> pending{menu};
    while (!pending.empty()) {
        const HMENU current = pending.back();
        pending.pop_back();
        for (auto it = parents_.begin(); it != parents_.end();) {
            if (it->second != current) {
                ++it;
                continue;
            }
            if (const auto popup = popups_.find(it->first); popup != popups_.end()) {
                pending.push_back(popup->second);
                submenus_.erase(popup->second);
                popups_.erase(popup);
            }
            gone.push_back(it->first);
            it = parents_.erase(it);
        }
    }
    while (GetMenuItemCount(menu) > 0) DeleteMenu(menu, 0, MF_BYPOSITION);
    for (const MenuId id : gone) dropBitmap(id);
}

void Win32MenuBar::append(HMENU menu, const MenuEntry& entry) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    if (entry.kind == MenuEntry::Kind::Separator) {
        info.fMask = MIIM_FTYPE;
        info.fType = MFT_SEPARATOR;
        InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info);
        return;
    }
    const std::wstring text = itemText(entry);
    info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE;
    info.wID = entry.id;
    info.dwTypeData = const_cast<wchar_t*>(text.c_str());
    info.fState = (entry.enabled ? MFS_ENABLED : MFS_DISABLED) | (entry.checked ? MFS_CHECKED : MFS_UNCHECKED);
    const HBITMAP bitmap = bitmapFor(entry, window_.scale());
    if (bitmap) {
        info.fMask |= MIIM_BITMAP;
        info.hbmpItem = bitmap;
        bitmaps_[entry.id] = bitmap;
    }
    HMENU popup = nullptr;
    if (entry.kind == MenuEntry::Kind::Submenu) {
        popup = CreatePopupMenu();
        shareCheckColumn(popup);
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = popup;
    }
    InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info);
    parents_[entry.id] = menu;
    if (!popup) return;
    popups_[entry.id] = popup;
    submenus_[popup] = entry.id;
    for (const MenuEntry& child : entry.entries) append(popup, child);
}

void Win32MenuBar::setEntries(MenuId level, const std::vector<MenuEntry>& entries) {
    const HMENU menu = menuOf(level);
    // The ids are checked against what stays before anything changes.
    std::map<MenuId, HMENU> staying;
    {
        std::set<MenuId> below;
        std::vector<HMENU> pending{menu};
        while (!pending.empty()) {
            const HMENU current = pending.back();
            pending.pop_back();
            for (const auto& [id, parent] : parents_) {
                if (parent != current) continue;
                below.insert(id);
                if (const auto popup = popups_.find(id); popup != popups_.end()) pending.push_back(popup->second);
            }
        }
        for (const auto& held : parents_)
            if (!below.count(held.first)) staying.insert(held);
    }
    std::set<MenuId> ids;
    for (const MenuEntry& entry : entries) collectIds(entry, ids, staying);
    if (ids.count(level)) throw std::invalid_argument("a submenu cannot hold itself");
    clear(menu);
    for (const MenuEntry& entry : entries) append(menu, entry);
    if (level == kMenuBarLevel && window_.handle()) DrawMenuBar(window_.handle());
}

void Win32MenuBar::updateEntry(const MenuEntry& entry) {
    const auto it = parents_.find(entry.id);
    if (it == parents_.end()) throw std::invalid_argument("the menu bar holds no entry " + std::to_string(entry.id));
    const std::wstring text = itemText(entry);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    const HBITMAP bitmap = bitmapFor(entry, window_.scale());
    info.fMask = MIIM_STRING | MIIM_STATE | MIIM_BITMAP;
    info.dwTypeData = const_cast<wchar_t*>(text.c_str());
    info.fState = (entry.enabled ? MFS_ENABLED : MFS_DISABLED) | (entry.checked ? MFS_CHECKED : MFS_UNCHECKED);
    info.hbmpItem = bitmap;
    SetMenuItemInfoW(it->second, entry.id, FALSE, &info);
    // The old bitmap goes once the item shows the new one (or none).
    dropBitmap(entry.id);
    if (bitmap) bitmaps_[entry.id] = bitmap;
    if (it->second == bar_ && window_.handle()) DrawMenuBar(window_.handle());
}

bool Win32MenuBar::handleMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam, std::intptr_t& result) {
    result = 0;
    switch (message) {
        case WM_INITMENUPOPUP: {
            if (HIWORD(lParam)) return false;  // the window's system menu
            const MenuId level = levelOf(reinterpret_cast<HMENU>(wParam));
            if (level == kNoMenuEntry) return false;
            host_.guard([&] { listener_.submenuOpening(level); });
            return true;
        }
        case WM_MENUSELECT: {
            const UINT flags = HIWORD(wParam);
            const auto menu = reinterpret_cast<HMENU>(lParam);
            MenuId entry = kNoMenuEntry;
            if (!(flags == 0xFFFF && !menu)) {
                if (levelOf(menu) == kNoMenuEntry && menu != bar_) return false;
                // A submenu's entry is named by its position, every other entry by its id.
                if (flags & MF_POPUP) entry = levelOf(GetSubMenu(menu, LOWORD(wParam)));
                else entry = static_cast<MenuId>(LOWORD(wParam));
            }
            host_.guard([&] { listener_.highlighted(entry); });
            return true;
        }
        case WM_COMMAND: {
            // A menu's command: notification code 0 and no control.
            if (HIWORD(wParam) != 0 || lParam != 0) return false;
            const auto id = static_cast<MenuId>(LOWORD(wParam));
            if (!parents_.count(id)) return false;
            host_.guard([&] { listener_.chosen(id); });
            return true;
        }
        case WM_MENUCHAR: {
            const auto menu = reinterpret_cast<HMENU>(lParam);
            if (HIWORD(wParam) & MF_SYSMENU) return false;
            const MenuId level = levelOf(menu);
            if (level == kNoMenuEntry && menu != bar_) return false;
            MenuId highlighted = kNoMenuEntry;
            const int count = GetMenuItemCount(menu);
            for (int i = 0; i < count; ++i) {
                if (!(GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE)) continue;
                MENUITEMINFOW info{};
                info.cbSize = sizeof info;
                info.fMask = MIIM_ID;
                if (GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) highlighted = static_cast<MenuId>(info.wID);
            }
            const wchar_t unit = static_cast<wchar_t>(LOWORD(wParam));
            const std::string character = fromWide(std::wstring_view(&unit, 1));
            MenuCharAnswer answer;
            host_.guard([&] { answer = listener_.characterTyped(level, character, highlighted); });
            const int position = positionOf(menu, answer.entry);
            switch (answer.action) {
                case MenuCharAnswer::Action::Close: result = MAKELRESULT(0, MNC_CLOSE); break;
                case MenuCharAnswer::Action::Execute:
                    result = position >= 0 ? MAKELRESULT(position, MNC_EXECUTE) : MAKELRESULT(0, MNC_IGNORE);
                    break;
                case MenuCharAnswer::Action::Select:
                    result = position >= 0 ? MAKELRESULT(position, MNC_SELECT) : MAKELRESULT(0, MNC_IGNORE);
                    break;
                case MenuCharAnswer::Action::Ignore: result = MAKELRESULT(0, MNC_IGNORE); break;
            }
            return true;
        }
        default:
            return false;
    }
}

}  // namespace zozuz
