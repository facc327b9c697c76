#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/TApplication.h"
#include "hosts/headless/HeadlessHost.h"
#include "ui/text/MenuCaption.h"
#include "ui/toolkit/menus/TMainMenu.h"
#include "ui/toolkit/menus/TMenuItem.h"

#include "CommandForm.h"

namespace zozuz {
namespace {

using Kind = TMenuKeyOutcome::Kind;

class MenuKeysTest : public ::testing::Test {
protected:
    void SetUp() override { app.CreateForm(form); }

    TMenuItem& level(const std::string& name) { return form->item(name); }
    TMenuKeyOutcome type(const std::string& levelName, const std::string& character,
                         const TMenuItem* highlighted = nullptr) {
        TMenuItem& open = levelName.empty() ? form->MainMenu1->Items() : level(levelName);
        return form->MainMenu1->AccessKeyTyped(open, highlighted, character);
    }

    HeadlessHost host;
    TApplication app{host};
    CommandForm* form = nullptr;
};

TEST_F(MenuKeysTest, TheWindowsMenusGetTheirMissingKeysWhenTheyAreBuilt) {
    EXPECT_EQ(level("N24").Caption(), "打开已加密文件(&Z)");
    EXPECT_EQ(level("N8").Caption(), "全选(A)(&A)");
    EXPECT_EQ(level("N20").Caption(), "替换所有(&Z)");
    EXPECT_EQ(level("FileOpenItem").Caption(), "打开未加密文件(&O)...");
    EXPECT_EQ(level("N7").Caption(), "设置字体(&F)...");
    EXPECT_EQ(level("N1").Caption(), "文件(&F)");
    EXPECT_EQ(level("HelpAboutItem").Caption(), "关于zozuz(&A)");

    // Every visible entry of every level has a key of its own.
    std::vector<const TMenuItem*> levels{&form->MainMenu1->Items()};
    for (std::size_t i = 0; i < levels.size(); ++i) {
        std::set<std::string> keys;
        for (const TMenuItem* child : levels[i]->Children()) {
            if (child->IsLine()) continue;
            const std::string key(accessKeyOf(child->Caption()));
            ASSERT_FALSE(key.empty()) << child->Caption();
            EXPECT_TRUE(keys.insert(key).second) << child->Caption();
            if (!child->Children().empty()) levels.push_back(child);
        }
    }
}

TEST_F(MenuKeysTest, OpeningASubmenuMakesChangedCaptionsUniqueAgainAndTellsTheView) {
    TMenuItem& search = level("N26");
    std::vector<std::string> changed;
    form->MainMenu1->OnChange = [&](TMenuItem& item) { changed.push_back(item.Name()); };
    search.SubmenuOpening();
    EXPECT_TRUE(changed.empty()) << "an unchanged level is not rebuilt";

    level("N19").SetCaption("替换(&F)");  // now competes with 查找(&F)...
    changed.clear();
    search.SubmenuOpening();
    EXPECT_EQ(level("N17").Caption(), "查找(&F)...");
    EXPECT_EQ(level("N19").Caption(), "替换(&Y)") << "the last free character, as its caption has no free one";
    EXPECT_EQ(changed, std::vector<std::string>{"N19"});
    form->MainMenu1->OnChange = nullptr;
}

TEST_F(MenuKeysTest, TypedKeysInTheFileMenu) {
    TMenuKeyOutcome outcome = type("N1", "z");
    ASSERT_EQ(outcome.kind, Kind::Run);
    EXPECT_EQ(outcome.item, &level("N24"));
    outcome.item->Click();
    EXPECT_EQ(form->ran, std::vector<std::string>{"N24Click"});

    EXPECT_EQ(type("N1", "T").kind, Kind::Close) << "Page setup is disabled";
    EXPECT_EQ(type("N1", "X").item, &level("FileExitItem"));
    EXPECT_EQ(type("N1", "Q").kind, Kind::Ignored);
    EXPECT_EQ(host.warningSound().plays(), 0u) << "the host's menu sounds the warning for an ignored character";
}

TEST_F(MenuKeysTest, EveryKeyOfTheSearchMenuClosesIt) {
    for (const char* key : {"F", "N", "E", "Z", "f"}) EXPECT_EQ(type("N26", key).kind, Kind::Close) << key;
    EXPECT_EQ(type("N26", "K").kind, Kind::Ignored);
}

TEST_F(MenuKeysTest, AltWithAKeyOpensATopLevelMenuAndRefreshesIt) {
    form->action("FileSave1").SetEnabled(false);
    form->action("FileSave1").OnUpdate = TNotifyEvent([&](TComponent&) { form->action("FileSave1").SetEnabled(true); });
    const TMenuKeyOutcome outcome = type("", "f");
    ASSERT_EQ(outcome.kind, Kind::OpenSubmenu);
    EXPECT_EQ(outcome.item, &level("N1"));
    EXPECT_TRUE(level("FileSaveItem").Enabled()) << "the submenu's actions were refreshed before it opens";
    EXPECT_EQ(type("", "U").kind, Kind::Ignored);
}

TEST_F(MenuKeysTest, SeveralEnabledMatchesMoveTheHighlight) {
    level("N22").SetCaption("访问主页(&E)");  // now shares E with 联系作者(&E), both enabled
    EXPECT_EQ(type("N27", "e").kind, Kind::Highlight);
    EXPECT_EQ(type("N27", "e").item, &level("N22"));
    EXPECT_EQ(type("N27", "e", &level("N22")).item, &level("N23"));
    EXPECT_EQ(type("N27", "e", &level("N23")).item, &level("N22")) << "none follows: back to the first";
    // With a third match the highlight skips the next one for the last that follows.
    level("HelpAboutItem").SetCaption("关于zozuz(&E)");
    EXPECT_EQ(type("N27", "e", &level("N22")).item, &level("HelpAboutItem"));
    EXPECT_EQ(type("N27", "e", &level("N21")).item, &level("HelpAboutItem"));
    EXPECT_EQ(type("N27", "e", &level("HelpAboutItem")).item, &level("N22"));
    EXPECT_TRUE(form->ran.empty());
}

}  // namespace
}  // namespace zozuz
