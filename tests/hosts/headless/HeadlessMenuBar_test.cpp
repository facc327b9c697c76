#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "hosts/headless/HeadlessHost.h"

namespace zozuz {
namespace {

MenuEntry command(MenuId id, std::string caption, bool enabled = true) {
    MenuEntry entry;
    entry.id = id;
    entry.caption = std::move(caption);
    entry.enabled = enabled;
    return entry;
}

MenuEntry submenu(MenuId id, std::string caption, std::vector<MenuEntry> entries = {}) {
    MenuEntry entry;
    entry.id = id;
    entry.kind = MenuEntry::Kind::Submenu;
    entry.caption = std::move(caption);
    entry.entries = std::move(entries);
    return entry;
}

// Writes down what the menu bar reports, and answers typed characters from a table.
class RecordingMenuListener : public MenuListener {
public:
    std::vector<std::string> log;
    MenuCharAnswer answer;
    std::function<void(MenuId)> onOpening;

    void submenuOpening(MenuId id) override {
        log.push_back("opening " + std::to_string(id));
        if (onOpening) onOpening(id);
    }
    void highlighted(MenuId id) override { log.push_back("highlight " + std::to_string(id)); }
    void chosen(MenuId id) override { log.push_back("chosen " + std::to_string(id)); }
    MenuCharAnswer characterTyped(MenuId level, std::string_view ch, MenuId highlighted) override {
        log.push_back("char " + std::string(ch) + " in " + std::to_string(level) + " at " + std::to_string(highlighted));
        return answer;
    }
};

class HeadlessMenuBarTest : public ::testing::Test {
protected:
    HeadlessMenuBarTest() : window(host.createWindow(client, WindowOptions{})) {
        bar = host.createMenuBar(*window, listener);
        bar->setEntries(kMenuBarLevel, {submenu(1, "文件(&F)", {command(10, "新建(&N)"), command(11, "页面设置(&T)...", false),
                                                                 submenu(12, "更多", {command(120, "里面")})}),
                                        submenu(2, "帮助(&H)")});
        headless = host.menuBarOf(*window);
    }

    HeadlessHost host;
    WindowClient client;
    std::unique_ptr<NativeWindow> window;
    RecordingMenuListener listener;
    std::unique_ptr<NativeMenuBar> bar;
    HeadlessMenuBar* headless = nullptr;
};

TEST_F(HeadlessMenuBarTest, OpeningHighlightsThenLetsTheProgramRebuildTheSubmenu) {
    listener.onOpening = [&](MenuId id) {
        if (id == 2) bar->setEntries(2, {command(20, "关于zozuz(&A)")});
    };
    headless->open(2);
    EXPECT_EQ(listener.log, (std::vector<std::string>{"highlight 2", "opening 2"}));
    ASSERT_NE(headless->find(20), nullptr);
    EXPECT_EQ(headless->openMenus(), std::vector<MenuId>{2});

    // Another title of the bar closes the first menu.
    headless->open(1);
    EXPECT_EQ(headless->openMenus(), std::vector<MenuId>{1});
    headless->open(12);
    EXPECT_EQ(headless->openMenus(), (std::vector<MenuId>{1, 12}));
}

TEST_F(HeadlessMenuBarTest, AChosenEntryRunsAfterTheMenusClosedAndADisabledOneDoesNothing) {
    struct Commands : HostListener {
        int count = 0;
        void inputArriving(InputKind kind) override { count += kind == InputKind::MenuCommand; }
    } commands;
    host.setListener(&commands);
    headless->open(1);
    listener.log.clear();
    headless->choose(11);
    EXPECT_TRUE(listener.log.empty());
    EXPECT_EQ(headless->openMenus().size(), 1u);
    headless->choose(10);
    EXPECT_EQ(listener.log, (std::vector<std::string>{"highlight 0", "chosen 10"}));
    // A menu command ends a tooltip, as other input does.
    EXPECT_EQ(commands.count, 1);
    host.setListener(nullptr);
    EXPECT_TRUE(headless->openMenus().empty());
}

TEST_F(HeadlessMenuBarTest, TypedCharactersAreResolvedByTheProgramAndItsAnswerCarriedOut) {
    // Alt with a character on the bar: the program opens a menu.
    listener.answer = {MenuCharAnswer::Action::Execute, 1};
    headless->typeCharacter("f");
    EXPECT_EQ(headless->openMenus(), std::vector<MenuId>{1});
    EXPECT_EQ(listener.log.front(), "char f in 0 at 0");

    listener.answer = {MenuCharAnswer::Action::Select, 11};
    headless->typeCharacter("t");
    EXPECT_EQ(headless->highlightedEntry(), 11);

    listener.answer = {MenuCharAnswer::Action::Ignore, 0};
    headless->typeCharacter("q");
    EXPECT_EQ(headless->beeps(), 1u);
    EXPECT_EQ(listener.log.back(), "char q in 1 at 11");

    listener.answer = {MenuCharAnswer::Action::Execute, 10};
    headless->typeCharacter("n");
    EXPECT_EQ(listener.log.back(), "chosen 10");

    headless->open(1);
    listener.answer = {MenuCharAnswer::Action::Close, 0};
    headless->typeCharacter("t");
    EXPECT_TRUE(headless->openMenus().empty());
    EXPECT_EQ(listener.log.back(), "highlight 0");
}

TEST_F(HeadlessMenuBarTest, UpdatesChangeOnlyHowAnEntryShows) {
    MenuEntry wrap = command(11, "自动换行(&W)", true);
    wrap.checked = true;
    wrap.shortcutText = "Ctrl+W";
    wrap.image = Image(16, 16);
    bar->updateEntry(wrap);
    const MenuEntry* shown = headless->find(11);
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->enabled);
    EXPECT_TRUE(shown->checked);
    EXPECT_EQ(shown->caption, "自动换行(&W)");
    EXPECT_EQ(shown->shortcutText, "Ctrl+W");
    EXPECT_EQ(shown->image.width(), 16);

    MenuEntry title = submenu(1, "文件");
    bar->updateEntry(title);
    EXPECT_EQ(headless->find(1)->entries.size(), 3u);
}

TEST_F(HeadlessMenuBarTest, UnknownAndRepeatedIdsAreRefusedAndChangeNothing) {
    EXPECT_THROW(bar->updateEntry(command(99, "x")), std::invalid_argument);
    EXPECT_THROW(bar->setEntries(99, {}), std::invalid_argument);
    EXPECT_THROW(bar->setEntries(10, {}), std::invalid_argument);  // a command holds no entries
    EXPECT_THROW(bar->setEntries(2, {command(10, "again")}), std::invalid_argument);
    EXPECT_THROW(bar->setEntries(2, {command(30, "a"), command(30, "b")}), std::invalid_argument);
    EXPECT_THROW(bar->setEntries(2, {command(kNoMenuEntry, "zero")}), std::invalid_argument);
    EXPECT_NE(headless->find(10), nullptr);
    EXPECT_TRUE(headless->find(2)->entries.empty());
    // Replacing a level may reuse the ids it held.
    bar->setEntries(1, {command(10, "新建(&N)")});
    EXPECT_EQ(headless->find(1)->entries.size(), 1u);
    EXPECT_EQ(headless->find(120), nullptr);
}

TEST_F(HeadlessMenuBarTest, AnOpenSubmenuThatIsReplacedCloses) {
    headless->open(1);
    headless->open(12);
    headless->highlight(120);
    bar->setEntries(1, {command(10, "新建(&N)")});
    EXPECT_EQ(headless->openMenus(), std::vector<MenuId>{1});
    EXPECT_EQ(headless->highlightedEntry(), kNoMenuEntry);
}

TEST_F(HeadlessMenuBarTest, TheHostForgetsADestroyedBar) {
    bar.reset();
    EXPECT_EQ(host.menuBarOf(*window), nullptr);
}

}  // namespace
}  // namespace zozuz
