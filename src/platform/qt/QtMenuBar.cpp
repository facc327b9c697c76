#include "platform/qt/QtMenuBar.h"

#include <set>
#include <stdexcept>
#include <string>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMetaObject>
#include <QPixmap>
#include <QProxyStyle>
#include <QStyle>

#include "platform/qt/QtHost.h"
#include "platform/qt/QtImageConversion.h"
#include "platform/qt/QtWindow.h"
#include "platform/qt/QtWindowWidget.h"

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

// The desktop's look for the menus, except that a disabled entry takes the highlight like any
// other, under the pointer and from the arrow keys, as the program's menus do everywhere: the status
// line then shows its hint.
class MenuStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* answer) const override {
        if (hint == QStyle::SH_Menu_AllowActiveAndDisabled) return 1;
        return QProxyStyle::styleHint(hint, option, widget, answer);
    }
};

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
