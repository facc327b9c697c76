#include "hosts/qt/QtMenuBar.h"

#include <set>
#include <stdexcept>
#include <string>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFont>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMetaObject>
#include <QPixmap>
#include <QPalette>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleOption>
#include <QStyleOptionMenuItem>

#include "hosts/qt/QtHost.h"
#include "hosts/qt/QtImageConversion.h"
#include "hosts/qt/QtWindow.h"
#include "hosts/qt/QtWindowWidget.h"

namespace zozuz {

namespace {

// Takes the printable characters typed into an open menu before QMenu matches them against its own
// mnemonics: the program decides what a character means there.
class MenuKeyFilter final : public QObject {
public:
    MenuKeyFilter(QtMenuBar& bar, QObject* parent) : QObject(parent), bar_(bar) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* menu = qobject_cast<QMenu*>(watched);
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (!menu || key->modifiers().testFlag(Qt::ControlModifier)) return false;
        const QString text = key->text();
        // Enter, Esc, Tab and the arrows keep working the menu as the desktop's menus do.
        if (text.isEmpty() || !text.at(0).isPrint()) return false;
        return bar_.menuCharacter(menu, text.toStdString());
    }

private:
    QtMenuBar& bar_;
};

// The palette group an enabled widget draws with: its window's activity decides.
QPalette::ColorGroup enabledGroup(const QWidget* widget) {
    return !widget->isVisible() || widget->isActiveWindow() ? QPalette::Active : QPalette::Inactive;
}

// Whether the program has the entry enabled. A submenu's title follows its menu, which Qt disables
// along with the window; only the menu's own setting is the program's.
bool enabledByProgram(const QAction& action) {
    const auto* menu = action.menu<QMenu*>();
    return menu ? !menu->testAttribute(Qt::WA_ForceDisabled) : action.isEnabled();
}

// The desktop's look for the menus, with two departures that make them look as the program's menus
// do everywhere:
// - a disabled entry takes the highlight like any other, under the pointer and from the arrow keys,
//   so that the status line shows its hint, and it is drawn highlighted (the bar behind greyed text)
//   so that the user sees where the highlight is;
// - a menu bar whose window is disabled (while a modal box is open) keeps its look: only the
//   entries that are disabled themselves are grey.
// Qt's own styles draw no highlight behind a disabled entry, and grey a whole bar that is disabled.
class MenuStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* answer) const override {
        if (hint == QStyle::SH_Menu_AllowActiveAndDisabled && !qobject_cast<const QMenuBar*>(widget)) return 1;
        return QProxyStyle::styleHint(hint, option, widget, answer);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (item && element == CE_MenuItem && item->state.testFlag(State_Selected) &&
            !item->state.testFlag(State_Enabled) && item->menuItemType != QStyleOptionMenuItem::Separator) {
            // The highlight bar alone, as the style draws it behind an enabled entry; the disabled
            // entry's greyed icon and text then go on top of it.
            QStyleOptionMenuItem bar = *item;
            bar.state |= State_Enabled;
            bar.palette.setCurrentColorGroup(item->state.testFlag(State_Active) ? QPalette::Active
                                                                                : QPalette::Inactive);
            bar.text.clear();
            bar.icon = QIcon();
            bar.menuItemType = QStyleOptionMenuItem::Normal;
            bar.checkType = QStyleOptionMenuItem::NotCheckable;
            bar.checked = false;
            QProxyStyle::drawControl(element, &bar, painter, widget);
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        const auto* menuBar = qobject_cast<const QMenuBar*>(widget);
        if (item && menuBar && !menuBar->isEnabled() &&
            (element == CE_MenuBarItem || element == CE_MenuBarEmptyArea)) {
            QStyleOptionMenuItem shown = *item;
            const QAction* action = element == CE_MenuBarItem ? menuBar->actionAt(item->rect.center()) : nullptr;
            if (element == CE_MenuBarEmptyArea || (action && enabledByProgram(*action))) {
                shown.state |= State_Enabled;
                shown.palette.setCurrentColorGroup(enabledGroup(menuBar));
            }
            QProxyStyle::drawControl(element, &shown, painter, widget);
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        const auto* menuBar = qobject_cast<const QMenuBar*>(widget);
        const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
        if (element == PE_PanelMenuBar && menuBar && frame && !menuBar->isEnabled()) {
            QStyleOptionFrame shown = *frame;
            shown.state |= State_Enabled;
            shown.palette.setCurrentColorGroup(enabledGroup(menuBar));
            QProxyStyle::drawPrimitive(element, &shown, painter, widget);
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
};

// The desktop's font for menus, one for the bar and the drop-down menus alike.
QFont menuFont() { return QApplication::font("QMenu"); }

void collectIds(const std::vector<MenuEntry>& entries, std::vector<MenuId>& ids) {
    for (const MenuEntry& entry : entries) {
        if (entry.kind != MenuEntry::Kind::Separator) ids.push_back(entry.id);
        if (entry.kind == MenuEntry::Kind::Submenu) collectIds(entry.entries, ids);
    }
}

}  // namespace

QtMenuBar::QtMenuBar(QtHost& host, QtWindow& window, MenuListener& listener)
    : host_(host), window_(&window), listener_(listener), menuStyle_(std::make_unique<MenuStyle>()) {
    bar_ = new QMenuBar(&window.widget());
    // The bar belongs in the window, also on desktops that could move it to a global menu.
    bar_->setNativeMenuBar(false);
    bar_->setStyle(menuStyle_.get());
    // The bar is drawn in the desktop's menu font, as its drop-down menus are, not in the window's.
    bar_->setFont(menuFont());
    filter_ = new MenuKeyFilter(*this, bar_);
    // The bar highlights a title under the pointer also while no menu is open, which is no
    // highlight of an open menu: only one whose menu is showing once the title's work is done
    // (Alt with a key or a click opens it just after) is reported.
    QObject::connect(bar_, &QMenuBar::hovered, bar_, [this](QAction* action) {
        QPointer<QAction> hovered(action);
        const unsigned entriesBefore = entryHighlights_;
        QMetaObject::invokeMethod(
            bar_,
            [this, hovered, entriesBefore] {
                if (!hovered || !QApplication::activePopupWidget() || bar_->activeAction() != hovered ||
                    entryHighlights_ != entriesBefore)
                    return;
                highlightReported_ = true;
                host_.guard([&] { listener_.highlighted(idOf(hovered)); });
            },
            Qt::QueuedConnection);
    });
    window.setMenuBar(this);
    bar_->show();
}

QtMenuBar::~QtMenuBar() {
    if (!window_) return;
    delete bar_.data();
    window_->setMenuBar(nullptr);
}

void QtMenuBar::windowGone() { window_ = nullptr; }

int QtMenuBar::height() const {
    if (!bar_ || bar_->actions().isEmpty()) return 0;
    return bar_->sizeHint().height();
}

void QtMenuBar::place(int width) {
    if (!bar_) return;
    bar_->setGeometry(0, 0, width, height());
    bar_->setVisible(height() > 0);
}

QAction* QtMenuBar::actionOf(MenuId id) const {
    auto it = items_.find(id);
    return it == items_.end() ? nullptr : it->second.action;
}

QMenu* QtMenuBar::menuOf(MenuId id) const {
    auto it = items_.find(id);
    return it == items_.end() ? nullptr : it->second.menu;
}

MenuId QtMenuBar::idOf(const QAction* action) const {
    if (!action) return kNoMenuEntry;
    for (const auto& [id, item] : items_)
        if (item.action == action) return id;
    return kNoMenuEntry;
}

void QtMenuBar::setEntries(MenuId level, const std::vector<MenuEntry>& entries) {
    QWidget* into = bar_;
    if (level != kMenuBarLevel) {
        into = menuOf(level);
        if (!into) throw std::invalid_argument("menu bar holds no submenu " + std::to_string(level));
    }
    if (!into) return;
    // The new entries may take the ids of the ones they replace, and no other id of the bar.
    std::set<MenuId> replaced;
    for (bool grew = true; grew;) {
        grew = false;
        for (const auto& [id, item] : items_)
            if ((item.level == level || replaced.count(item.level)) && replaced.insert(id).second) grew = true;
    }
    std::vector<MenuId> ids;
    collectIds(entries, ids);
    std::set<MenuId> seen;
    for (MenuId id : ids) {
        if (id == kNoMenuEntry || !seen.insert(id).second || (items_.count(id) && !replaced.count(id)))
            throw std::invalid_argument("menu entry id " + std::to_string(id) + " is not unique");
    }
    forgetLevel(level);
    build(into, level, entries);
    if (level == kMenuBarLevel && window_) window_->menuBarChanged();
}

void QtMenuBar::forgetLevel(MenuId level) {
    std::vector<MenuId> gone;
    for (const auto& [id, item] : items_)
        if (item.level == level) gone.push_back(id);
    for (MenuId id : gone) {
        const Item item = items_.at(id);
        items_.erase(id);
        item.action->disconnect();
        if (item.menu) {
            forgetLevel(id);
            item.menu->disconnect();
            item.menu->hide();
            // It may be the menu whose signal is being delivered right now.
            item.menu->deleteLater();
        }
    }
    if (level == kMenuBarLevel) {
        if (bar_) bar_->clear();
    } else if (QMenu* menu = menuOf(level)) {
        menu->clear();
    }
}

void QtMenuBar::show(QAction* action, const MenuEntry& entry) {
    QString text = QString::fromStdString(entry.caption);
    // Text after a tab is drawn right-aligned, as a shortcut is, without binding any key.
    if (!entry.shortcutText.empty()) text += QLatin1Char('\t') + QString::fromStdString(entry.shortcutText);
    action->setText(text);
    action->setIcon(entry.image.width() > 0 ? QIcon(QPixmap::fromImage(toQImage(entry.image))) : QIcon());
    action->setIconVisibleInMenu(true);
    // A submenu's title takes its state from its menu whenever the menu is enabled or disabled
    // (with the window, while a modal box is open), so the menu carries the program's setting:
    // a disabled title stays disabled when the window is enabled again.
    if (auto* menu = action->menu<QMenu*>()) menu->setEnabled(entry.enabled);
    action->setEnabled(entry.enabled);
    action->setCheckable(entry.checked);
    action->setChecked(entry.checked);
}

void QtMenuBar::build(QWidget* into, MenuId level, const std::vector<MenuEntry>& entries) {
    for (const MenuEntry& entry : entries) {
        if (entry.kind == MenuEntry::Kind::Separator) {
            auto* separator = new QAction(into);
            separator->setSeparator(true);
            into->addAction(separator);
            continue;
        }
        const MenuId id = entry.id;
        if (entry.kind == MenuEntry::Kind::Command) {
            auto* action = new QAction(into);
            show(action, entry);
            into->addAction(action);
            QObject::connect(action, &QAction::triggered, action, [this, action, id](bool checked) {
                // The check mark is the program's to set: Qt's toggle is undone.
                if (action->isCheckable()) action->setChecked(!checked);
                host_.announce(HostListener::InputKind::MenuCommand);
                // The command runs once the menus have closed, from the event loop.
                QMetaObject::invokeMethod(
                    bar_, [this, id] { host_.guard([&] { listener_.chosen(id); }); }, Qt::QueuedConnection);
            });
            items_[id] = Item{action, nullptr, level};
            continue;
        }
        auto* menu = new QMenu(into);
        menu->setStyle(menuStyle_.get());
        menu->setFont(menuFont());
        menu->installEventFilter(filter_);
        QAction* action = menu->menuAction();
        show(action, entry);
        into->addAction(action);
        QObject::connect(menu, &QMenu::aboutToShow, menu, [this, id] {
            host_.guard([&] { listener_.submenuOpening(id); });
        });
        QObject::connect(menu, &QMenu::hovered, menu, [this](QAction* hovered) {
            highlightReported_ = true;
            ++entryHighlights_;
            host_.guard([&] { listener_.highlighted(idOf(hovered)); });
        });
        QObject::connect(menu, &QMenu::aboutToHide, menu, [this] {
            QMetaObject::invokeMethod(bar_, [this] { menusClosing(); }, Qt::QueuedConnection);
        });
        items_[id] = Item{action, menu, level};
        build(menu, id, entry.entries);
    }
}

void QtMenuBar::updateEntry(const MenuEntry& entry) {
    QAction* action = actionOf(entry.id);
    if (!action) throw std::invalid_argument("menu bar holds no entry " + std::to_string(entry.id));
    const bool title = items_.at(entry.id).level == kMenuBarLevel;
    show(action, entry);
    if (title && window_) window_->menuBarChanged();
}

void QtMenuBar::menusClosing() {
    // Closing one menu of a chain opens or keeps another; only when none is left are the menus closed.
    if (QApplication::activePopupWidget() || !highlightReported_) return;
    highlightReported_ = false;
    host_.guard([&] { listener_.highlighted(kNoMenuEntry); });
}

void QtMenuBar::altCharacter(std::string_view character) {
    MenuCharAnswer answer;
    if (!host_.guard([&] { answer = listener_.characterTyped(kMenuBarLevel, character, kNoMenuEntry); })) return;
    carryOut(kMenuBarLevel, nullptr, answer);
}

bool QtMenuBar::menuCharacter(QMenu* menu, std::string_view character) {
    MenuId level = kNoMenuEntry;
    for (const auto& [id, item] : items_)
        if (item.menu == menu) level = id;
    if (level == kNoMenuEntry) return false;
    const MenuId highlighted = idOf(menu->activeAction());
    MenuCharAnswer answer;
    if (host_.guard([&] { answer = listener_.characterTyped(level, character, highlighted); }))
        carryOut(level, menu, answer);
    return true;
}

void QtMenuBar::carryOut(MenuId level, QMenu* menu, const MenuCharAnswer& answer) {
    switch (answer.action) {
        case MenuCharAnswer::Action::Ignore:
            QApplication::beep();
            return;
        case MenuCharAnswer::Action::Close:
            while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
            return;
        case MenuCharAnswer::Action::Execute:
        case MenuCharAnswer::Action::Select:
            break;
    }
    auto it = items_.find(answer.entry);
    // The program may only name an entry of the level the character was typed in.
    if (it == items_.end() || it->second.level != level) return;
    QAction* action = it->second.action;
    if (level == kMenuBarLevel) {
        // A title of the bar opens its menu either way.
        if (it->second.menu || answer.action == MenuCharAnswer::Action::Select)
            bar_->setActiveAction(action);
        else
            action->trigger();
        return;
    }
    menu->setActiveAction(action);
    if (answer.action == MenuCharAnswer::Action::Execute) {
        // Enter on the highlighted entry runs it or opens its submenu, as the desktop's menu does.
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(menu, &enter);
    }
}

}  // namespace zozuz
