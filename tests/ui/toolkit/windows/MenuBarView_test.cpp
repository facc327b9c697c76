// A window's menu model shown on the host's menu bar: what the bar shows, how changes reach it, and
// what the user's work on the bar does to the model.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "app/TApplication.h"
#include "base/Exception.h"
#include "base/KeyCode.h"
#include "hosts/headless/HeadlessHost.h"
#include "hosts/headless/HeadlessMenuBar.h"
#include "ui/toolkit/commands/TAction.h"
#include "ui/toolkit/commands/TActionList.h"
#include "ui/toolkit/components/TNotifyEvent.h"
#include "ui/toolkit/menus/TMainMenu.h"
#include "ui/toolkit/menus/TMenuItem.h"
#include "ui/toolkit/windows/TForm.h"

namespace zozuz {
namespace {

class MenuWindow : public TForm {
public:
    explicit MenuWindow(TApplication& application) : TForm(application) {
        BeginLoading();
        SetBounds(10, 10, 300, 200);
        menu = new TMainMenu(this);
        list = new TActionList(this);
        open = new TAction(this);
        open->SetActionList(list);
        open->SetCaption("&Open");
        open->SetHint("Open|Opens a file");
        open->SetShortCut(static_cast<KeyCode>(kCtrlBit | 'O'));
        open->SetOnExecute(TNotifyEvent([this](TComponent&) { ran.push_back("open"); }));
        file = add(menu->Items(), "&File");
        openItem = add(*file, "");
        openItem->SetAction(open);
        add(*file, "-");
        quit = add(*file, "E&xit");
        quit->SetOnClick(TNotifyEvent([this](TComponent&) { ran.push_back("exit"); }));
        hidden = add(*file, "Hidden");
        hidden->SetVisible(false);
        add(menu->Items(), "&Help");
        SetMenu(menu);
        EndLoading();
    }
    TMenuItem* add(TMenuItem& parent, const std::string& caption) {
        auto* item = new TMenuItem(this);
        item->SetCaption(caption);
        parent.Add(*item);
        return item;
    }

    TMainMenu* menu;
    TActionList* list;
    TAction* open;
    TMenuItem* file;
    TMenuItem* openItem;
    TMenuItem* quit;
    TMenuItem* hidden;
    std::vector<std::string> ran;
};

class MenuBarViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.CreateForm(window);
        window->Show();
    }
    HeadlessMenuBar& bar() {
        HeadlessMenuBar* found = host.menuBarOf(*window->Native());
        EXPECT_NE(found, nullptr);
        return *found;
    }
    const MenuEntry& shown(MenuId id) {
        const MenuEntry* entry = bar().find(id);
        EXPECT_NE(entry, nullptr);
        return *entry;
    }
    MenuId id(const TMenuItem& item) {
        for (const MenuEntry& title : bar().titles()) {
            if (title.caption == item.Caption()) return title.id;
            for (const MenuEntry& entry : title.entries)
                if (entry.kind != MenuEntry::Kind::Separator && entry.caption == item.Caption()) return entry.id;
        }
        return kNoMenuEntry;
    }

    HeadlessHost host;
    TApplication app{host};
    MenuWindow* window = nullptr;
};

TEST_F(MenuBarViewTest, TheBarShowsTheModelWithItsActionsValuesAndNoHiddenEntries) {
    ASSERT_EQ(bar().titles().size(), 2u);
    const MenuEntry& file = bar().titles()[0];
    EXPECT_EQ(file.caption, "&File");
    EXPECT_EQ(file.kind, MenuEntry::Kind::Submenu);
    EXPECT_EQ(bar().titles()[1].kind, MenuEntry::Kind::Submenu);  // a title without entries still opens
    ASSERT_EQ(file.entries.size(), 3u);
    EXPECT_EQ(file.entries[0].caption, "&Open");
    EXPECT_EQ(file.entries[0].shortcutText, "Ctrl+O");
    EXPECT_EQ(file.entries[1].kind, MenuEntry::Kind::Separator);
    EXPECT_EQ(file.entries[2].caption, "E&xit");
    EXPECT_TRUE(file.entries[2].shortcutText.empty());
}

TEST_F(MenuBarViewTest, ChangesOfTheModelReachTheBar) {
    window->open->SetEnabled(false);
    EXPECT_FALSE(shown(id(*window->openItem)).enabled);
    window->quit->SetCaption("&Quit");
    EXPECT_EQ(bar().titles()[0].entries[2].caption, "&Quit");
    // Shown and hidden entries change the level they belong to.
    window->hidden->SetVisible(true);
    ASSERT_EQ(bar().titles()[0].entries.size(), 4u);
    EXPECT_EQ(bar().titles()[0].entries[3].caption, "Hidden");
    window->quit->SetVisible(false);
    EXPECT_EQ(bar().titles()[0].entries.size(), 3u);
}

TEST_F(MenuBarViewTest, ChoosingAnEntryClicksItThroughTheModel) {
    bar().open(id(*window->file));
    bar().choose(id(*window->openItem));
    bar().open(id(*window->file));
    bar().choose(id(*window->quit));
    EXPECT_EQ(window->ran, (std::vector<std::string>{"open", "exit"}));
}

TEST_F(MenuBarViewTest, AnOpeningSubmenuRefreshesItsCommandsFirst) {
    bool enabled = true;
    window->open->OnUpdate = TNotifyEvent([&](TComponent&) { window->open->SetEnabled(enabled); });
    enabled = false;
    bar().open(id(*window->file));
    EXPECT_FALSE(shown(id(*window->openItem)).enabled);
    bar().choose(id(*window->openItem));
    EXPECT_TRUE(window->ran.empty());
}

TEST_F(MenuBarViewTest, TheHighlightedEntrysLongHintIsTheApplicationsHintUntilTheMenusClose) {
    bar().open(id(*window->file));
    bar().highlight(id(*window->openItem));
    EXPECT_EQ(app.Hint(), "Opens a file");
    bar().closeAll();
    EXPECT_EQ(app.Hint(), "");
}

TEST_F(MenuBarViewTest, TypedAccessKeysAreResolvedByTheProgram) {
    // Alt with a title's key opens it; inside, an entry's key runs it once the menus have closed.
    bar().typeCharacter("f");
    ASSERT_EQ(bar().openMenus(), (std::vector<MenuId>{id(*window->file)}));
    bar().typeCharacter("x");
    EXPECT_TRUE(bar().openMenus().empty());
    EXPECT_EQ(window->ran, (std::vector<std::string>{"exit"}));
    // A key that means nothing sounds the warning once, and the menu stays open.
    bar().open(id(*window->file));
    const std::size_t before = bar().beeps() + host.warningSound().plays();
    bar().typeCharacter("q");
    EXPECT_EQ(bar().openMenus().size(), 1u);
    EXPECT_EQ(bar().beeps() + host.warningSound().plays(), before + 1);
}

TEST_F(MenuBarViewTest, AKeyThatMeansNothingSoundsOnceWhateverIsHighlighted) {
    const auto sounds = [&] { return bar().beeps() + host.warningSound().plays(); };
    // Alt with a character no title has, while no menu is open and nothing is highlighted.
    bar().typeCharacter("q");
    EXPECT_EQ(sounds(), 1u);
    EXPECT_TRUE(bar().openMenus().empty());
    // The same inside an open menu, with an entry of it highlighted: the highlight stays.
    bar().open(id(*window->file));
    bar().highlight(id(*window->quit));
    bar().typeCharacter("q");
    EXPECT_EQ(sounds(), 2u);
    EXPECT_EQ(bar().highlightedEntry(), id(*window->quit));
    EXPECT_EQ(bar().openMenus().size(), 1u);
}

TEST_F(MenuBarViewTest, AnEntryDestroyedWhileShownIsGoneFromTheBar) {
    const MenuId quitId = id(*window->quit);
    delete window->quit;
    EXPECT_EQ(bar().find(quitId), nullptr);
    EXPECT_EQ(bar().titles()[0].entries.size(), 2u);
}

TEST_F(MenuBarViewTest, ErrorsOfAChosenCommandReachTheErrorDisplay) {
    window->open->SetOnExecute(TNotifyEvent([](TComponent&) { throw EInvalidOperation("No open."); }));
    bar().open(id(*window->file));
    bar().choose(id(*window->openItem));
    while (app.ProcessMessage()) {
    }
    ASSERT_FALSE(host.messageBoxes().empty());
    EXPECT_EQ(host.messageBoxes().back().request.text, "No open.");
}

}  // namespace
}  // namespace zozuz
