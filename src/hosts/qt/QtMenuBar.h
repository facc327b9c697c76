#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <QMenuBar>
#include <QPointer>
#include <QStyle>

#include "platform/host/MenuBar.h"

class QAction;
class QMenu;
class QObject;
class QWidget;

namespace zozuz {

class QtHost;
class QtWindow;

// A window's menu bar on Qt: a QMenuBar at the top of the window's widget with QMenus for the
// submenus. Qt's own key handling is kept out: no QAction has a shortcut (the shortcut text is
// shown after a tab, which Qt draws right-aligned), the window accepts every shortcut override so
// that the bar's Alt mnemonics never fire, and printable characters typed into an open menu are
// taken before Qt's menu sees them and handed to the program, whose answer the bar carries out.
class QtMenuBar final : public NativeMenuBar {
public:
    QtMenuBar(QtHost& host, QtWindow& window, MenuListener& listener);
    ~QtMenuBar() override;
    QtMenuBar(const QtMenuBar&) = delete;
    QtMenuBar& operator=(const QtMenuBar&) = delete;

    // --- NativeMenuBar ---
    void setEntries(MenuId level, const std::vector<MenuEntry>& entries) override;
    void updateEntry(const MenuEntry& entry) override;

    // --- For the window ---
    // The bar's height on the window; 0 while it holds no entries.
    int height() const;
    // Lays the bar over the top of a widget this wide.
    void place(int width);
    // Alt with a character arrived on the window while no menu was open.
    void altCharacter(std::string_view character);
    // The window is being destroyed, and the QMenuBar with it.
    void windowGone();

    // --- For tests and the host ---
    QMenuBar* widget() const { return bar_; }
    QAction* actionOf(MenuId id) const;
    QMenu* menuOf(MenuId id) const;
    // A character typed into an open menu (`menu`); returns whether it was taken.
    bool menuCharacter(QMenu* menu, std::string_view character);

private:
    struct Item {
        QAction* action = nullptr;
        // The submenu of a Submenu entry, else null.
        QMenu* menu = nullptr;
        MenuId level = kMenuBarLevel;
    };

    void build(QWidget* into, MenuId level, const std::vector<MenuEntry>& entries);
    void show(QAction* action, const MenuEntry& entry);
    // Forgets the entries of a level and everything inside them, and removes their widgets.
    void forgetLevel(MenuId level);
    void carryOut(MenuId level, QMenu* menu, const MenuCharAnswer& answer);
    void menusClosing();
    MenuId idOf(const QAction* action) const;

    QtHost& host_;
    QtWindow* window_;
    MenuListener& listener_;
    QPointer<QMenuBar> bar_;
    QObject* filter_ = nullptr;
    // The style of the bar and its submenus; it outlives them, as the bar and its menus go first.
    std::unique_ptr<QStyle> menuStyle_;
    std::map<MenuId, Item> items_;
    // Whether the program last heard of a highlighted entry, so that closing reports "none" once.
    bool highlightReported_ = false;
    // Counts the highlights reported inside open menus, so that a title's highlight reported
    // late does not undo a highlight of its menu's entries that came first.
    unsigned entryHighlights_ = 0;
};

}  // namespace zozuz
