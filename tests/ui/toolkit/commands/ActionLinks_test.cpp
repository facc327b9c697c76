// Actions and their clients on their own: linking, propagation, the refresh and run rules and the
// menu's shortcut walk, without a window around them.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/Exception.h"
#include "base/KeyCode.h"
#include "ui/toolkit/commands/TAction.h"
#include "ui/toolkit/commands/TActionList.h"
#include "ui/toolkit/components/TComponent.h"
#include "ui/toolkit/components/TNotifyEvent.h"
#include "ui/toolkit/controls/TToolBar.h"
#include "ui/toolkit/controls/TToolButton.h"
#include "ui/toolkit/controls/TWinControl.h"
#include "ui/toolkit/menus/TMainMenu.h"
#include "ui/toolkit/menus/TMenuItem.h"

namespace zozuz {
namespace {

class ActionLinksTest : public ::testing::Test {
protected:
    ActionLinksTest() {
        action = new TAction(&owner);
        action->SetCaption("&Cut");
        action->SetHint("Cut|Cuts");
        action->SetImageIndex(0);
        action->SetShortCut(kCtrlBit | 'X');
        action->SetOnExecute(TNotifyEvent([this](TComponent&) { ran.push_back("action"); }));
        item = new TMenuItem(&owner);
        button = new TToolButton(&owner);
        button->SetName("ToolButton4");
    }

    TComponent owner;
    TAction* action;
    TMenuItem* item;
    TToolButton* button;
    std::vector<std::string> ran;
};

TEST_F(ActionLinksTest, ALinkMadeAfterLoadingCopiesEverything) {
    item->SetCaption("剪切(&T)");
    item->SetEnabled(false);
    item->SetShortCut(kCtrlBit | 'D');
    item->SetAction(action);
    EXPECT_EQ(item->Caption(), "&Cut");
    EXPECT_TRUE(item->Enabled());
    EXPECT_EQ(item->ShortCut(), kCtrlBit | 'X');
    EXPECT_EQ(item->ImageIndex(), 0);
    EXPECT_EQ(item->Hint(), "Cut|Cuts");
    EXPECT_EQ(action->Clients().size(), 1u);
}

TEST_F(ActionLinksTest, WhileLoadingOnlyDefaultsTakeTheActionsValues) {
    owner.BeginLoading();
    item->SetCaption("剪切(&T)");
    item->SetEnabled(false);
    item->SetAction(action);
    button->SetCaption("ToolButton4");  // a caption equal to the name counts as none
    button->SetHint("Own hint");
    button->SetAction(action);
    // A value set after the link but before loading ends is kept too: the end repeats the copy
    // with defaults.
    item->SetImageIndex(7);
    owner.EndLoading();
    EXPECT_EQ(item->Caption(), "剪切(&T)");
    EXPECT_FALSE(item->Enabled());
    EXPECT_EQ(item->ShortCut(), kCtrlBit | 'X');
    EXPECT_EQ(item->ImageIndex(), 7);
    EXPECT_EQ(button->Caption(), "&Cut");
    EXPECT_EQ(button->Hint(), "Own hint");
    EXPECT_EQ(button->ImageIndex(), 0);
    EXPECT_TRUE(button->OnClick() == action->OnExecute());
}

TEST_F(ActionLinksTest, AClientFollowsOnlyOnceTheActionHasHeldItsValue) {
    owner.BeginLoading();
    item->SetEnabled(false);
    item->SetAction(action);
    button->SetAction(action);
    owner.EndLoading();

    action->SetEnabled(true);  // no change: nobody hears of it
    EXPECT_FALSE(item->Enabled());
    action->SetEnabled(false);
    EXPECT_FALSE(item->Enabled());
    EXPECT_FALSE(button->Enabled());
    action->SetEnabled(true);
    EXPECT_TRUE(item->Enabled()) << "from the change that matched its value on, the entry follows";
    EXPECT_TRUE(button->Enabled());

    // A client set apart by hand stops following until the action comes round to it again.
    button->SetImageIndex(5);
    action->SetImageIndex(1);
    EXPECT_EQ(button->ImageIndex(), 5);
    EXPECT_EQ(item->ImageIndex(), 1);
}

TEST_F(ActionLinksTest, AnyOtherControlFollowsItsActionsStateAndHintOnly) {
    auto* control = new TWinControl(&owner);
    owner.BeginLoading();
    control->SetHint("Stored");
    control->SetAction(action);
    owner.EndLoading();
    EXPECT_EQ(control->Hint(), "Stored");
    EXPECT_EQ(control->Action(), action);
    action->SetEnabled(false);
    action->SetVisible(false);
    action->SetHint("Other");
    EXPECT_FALSE(control->Enabled());
    EXPECT_FALSE(control->Visible());
    EXPECT_EQ(control->Hint(), "Stored");
    control->SetAction(nullptr);
    EXPECT_TRUE(action->Clients().empty());
    action->SetEnabled(true);
    EXPECT_FALSE(control->Enabled());
}

TEST_F(ActionLinksTest, MenuCaptionsMatchLooselyButButtonCaptionsExactly) {
    item->SetAction(action);
    button->SetAction(action);
    item->SetCaption("&CUT");
    button->SetCaption("&CUT");
    action->SetCaption("Cu&t it");
    EXPECT_EQ(item->Caption(), "Cu&t it");
    EXPECT_EQ(button->Caption(), "&CUT");
}

TEST_F(ActionLinksTest, ClientsChangeBeforeTheActionStoresAndItsNotificationComesLast) {
    TMainMenu menu(&owner);
    menu.Items().Add(*item);
    button->SetAction(action);
    item->SetAction(action);
    std::vector<std::string> heard;
    menu.OnChange = [&](TMenuItem&) { heard.push_back(action->Enabled() ? "entry, action still on" : "entry, late"); };
    TToolBar bar(&owner);
    button->SetParent(&bar);
    bar.OnButtonChange = [&](TToolButton&) { heard.push_back(action->Enabled() ? "button, action still on" : "late"); };
    action->OnChange = [&](TAction& sender) { heard.push_back(sender.Enabled() ? "action on" : "action off"); };
    action->SetEnabled(false);
    EXPECT_EQ(heard, (std::vector<std::string>{"button, action still on", "entry, action still on", "action off"}))
        << "clients in the order they were linked";
    heard.clear();
    action->SetEnabled(false);
    EXPECT_TRUE(heard.empty());
}

TEST_F(ActionLinksTest, ALinkOutlivesNeitherSide) {
    item->SetAction(action);
    button->SetAction(action);
    TActionList list(&owner);
    action->SetActionList(&list);
    delete button;
    EXPECT_EQ(action->Clients().size(), 1u);
    delete action;
    EXPECT_EQ(item->Action(), nullptr);
    EXPECT_EQ(list.ActionCount(), 0);
    // The entry keeps the handler it took and still runs it.
    item->Click();
    EXPECT_EQ(ran, std::vector<std::string>{"action"});

    auto* other = new TAction(&owner);
    {
        TActionList shortLived(&owner);
        other->SetActionList(&shortLived);
    }
    EXPECT_EQ(other->ActionList(), nullptr);
}

TEST_F(ActionLinksTest, RefreshAndRunAskTheListThenTheActionsHandler) {
    TActionList list(&owner);
    action->SetActionList(&list);
    std::vector<std::string> asked;
    list.OnUpdate = [&](TAction&, bool& handled) {
        asked.push_back("list update");
        handled = true;
    };
    list.OnExecute = [&](TAction&, bool& handled) {
        asked.push_back("list run");
        handled = true;
    };
    EXPECT_TRUE(action->Execute());
    EXPECT_EQ(asked, (std::vector<std::string>{"list update", "list run"}));
    EXPECT_TRUE(ran.empty());

    list.OnUpdate = nullptr;
    list.OnExecute = nullptr;
    action->OnUpdate = TNotifyEvent([&](TComponent&) { asked.push_back("own update"); });
    asked.clear();
    EXPECT_TRUE(action->Update());
    EXPECT_TRUE(action->Execute());
    EXPECT_EQ(asked, (std::vector<std::string>{"own update", "own update"}));
    EXPECT_EQ(ran, std::vector<std::string>{"action"});

    // A disabled action does not run, and its key goes on.
    action->OnUpdate = TNotifyEvent([&](TComponent& sender) { static_cast<TAction&>(sender).SetEnabled(false); });
    EXPECT_FALSE(list.IsShortCut(kCtrlBit | 'X'));
    EXPECT_EQ(ran.size(), 1u);
}

TEST_F(ActionLinksTest, UnhandledActionsWithoutHandlerDisableThemselvesUnlessToldNot) {
    TAction bare(&owner);
    EXPECT_FALSE(bare.Update());
    EXPECT_FALSE(bare.Enabled());
    bare.SetOnExecute(TNotifyEvent([](TComponent&) {}));
    EXPECT_FALSE(bare.Update());
    EXPECT_FALSE(bare.Enabled()) << "the rule only ever disables";

    TAction hint(&owner);
    hint.SetDisableWhenUnhandled(false);
    EXPECT_FALSE(hint.Execute());
    EXPECT_TRUE(hint.Enabled());
}

TEST_F(ActionLinksTest, TheActionListRunsTheFirstActionWithTheKey) {
    TActionList list(&owner);
    TAction second(&owner);
    second.SetShortCut(kCtrlBit | 'X');
    second.SetOnExecute(TNotifyEvent([&](TComponent&) { ran.push_back("second"); }));
    second.SetActionList(&list);
    action->SetActionList(&list);
    EXPECT_TRUE(list.IsShortCut(kCtrlBit | 'X'));
    EXPECT_FALSE(list.IsShortCut(kCtrlBit | 'Y'));
    EXPECT_FALSE(list.IsShortCut(0));
    EXPECT_EQ(ran, std::vector<std::string>{"second"});
}

class MenuWalkTest : public ::testing::Test {
protected:
    TMenuItem& add(TMenuItem& parent, const std::string& name, KeyCode shortCut = 0) {
        auto* item = new TMenuItem(&owner);
        item->SetName(name);
        item->SetCaption(name);
        item->SetShortCut(shortCut);
        item->SetOnClick(TNotifyEvent([this](TComponent& sender) { clicked.push_back(sender.Name()); }));
        parent.Add(*item);
        return *item;
    }

    TComponent owner;
    TMainMenu menu{&owner};
    std::vector<std::string> clicked;
};

TEST_F(MenuWalkTest, TheFirstEntryDepthFirstTakesTheKeyAndADisabledPathSwallowsIt) {
    TMenuItem& file = add(menu.Items(), "File");
    TMenuItem& recent = add(file, "Recent");
    add(recent, "Deep", kCtrlBit | 'K');
    TMenuItem& edit = add(menu.Items(), "Edit");
    add(edit, "Shallow", kCtrlBit | 'K');
    add(edit, "Other", kCtrlBit | 'L');

    EXPECT_TRUE(menu.IsShortCut(kCtrlBit | 'K'));
    EXPECT_EQ(clicked, (std::vector<std::string>{"File", "Recent", "Deep"})) << "each level is clicked on the way";
    EXPECT_FALSE(menu.IsShortCut(kCtrlBit | 'M'));

    clicked.clear();
    edit.SetEnabled(false);
    EXPECT_TRUE(menu.IsShortCut(kCtrlBit | 'L'));
    EXPECT_TRUE(clicked.empty());
    recent.SetVisible(false);  // hidden entries keep their keys
    EXPECT_TRUE(menu.IsShortCut(kCtrlBit | 'K'));
    EXPECT_EQ(clicked.back(), "Deep");
}

TEST_F(MenuWalkTest, TheTreeRefusesCyclesAndForgetsDestroyedEntries) {
    TMenuItem& file = add(menu.Items(), "File");
    TMenuItem& inner = add(file, "Inner");
    EXPECT_THROW(inner.Add(file), EInvalidOperation);
    EXPECT_THROW(file.Add(file), EInvalidOperation);
    std::vector<std::string> changes;
    menu.OnChange = [&](TMenuItem& changed) { changes.push_back(changed.Name()); };
    inner.SetCaption("Renamed");
    delete &inner;
    EXPECT_EQ(file.Count(), 0);
    EXPECT_EQ(changes, (std::vector<std::string>{"Inner", "File"}));
}

}  // namespace
}  // namespace zozuz
