// The command layer on the main window as its stored layout builds it: the values its clients end
// up with, the states they go through as the user works, the keys it claims and what they do, and
// the order in which it refreshes its commands.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/TApplication.h"
#include "base/Exception.h"
#include "base/KeyCode.h"
#include "hosts/headless/HeadlessHost.h"
#include "ui/text/ShortCutText.h"
#include "ui/toolkit/menus/TPopupMenu.h"
#include "ui/toolkit/windows/TForm.h"

#include "CommandForm.h"

namespace zozuz {
namespace {

class OtherWindow : public TForm {
public:
    explicit OtherWindow(TApplication& application) : TForm(application) { SetBounds(300, 200, 200, 150); }
};

class CommandLayerTest : public ::testing::Test {
protected:
    void SetUp() override { app.CreateForm(form); }

    // Shows the window as the program starts and runs the first idle step.
    void start(bool clipboardHasText = false) {
        form->Memo1->clipboardHasText = clipboardHasText;
        form->Show();
        idleStep();
    }
    void drain() {
        while (app.ProcessMessage()) {
        }
    }
    // Lets the queue run empty once, so the idle step runs, and wakes the program again.
    void idleStep() {
        drain();
        host.whenIdle([this] { host.post([] {}); });
        app.HandleMessage();
        drain();
    }
    void press(NativeWindow& window, std::uint8_t key, bool shift, bool ctrl, bool alt) {
        host.postKeyPress(window, key, shift, ctrl, alt);
        drain();
    }
    void forget() {
        form->ran.clear();
        form->Memo1->commands.clear();
        form->Memo1->keys.clear();
    }
    // What one key did: the command that ran, the editor command sent, "key" when the key reached
    // the editor, or "" when it was swallowed.
    std::string outcome(KeyCode code) const {
        std::vector<std::string> seen;
        for (const auto& name : form->ran) seen.push_back(name);
        for (const auto& command : form->Memo1->commands) seen.push_back("editor:" + command);
        for (KeyCode key : form->Memo1->keys) seen.push_back(key == code ? "key" : "other key");
        std::string all;
        for (const auto& s : seen) all += (all.empty() ? "" : ", ") + s;
        return all;
    }
    std::string states(const std::vector<std::string>& names) const {
        std::string text;
        for (const auto& name : names) {
            TComponent* c = form->FindComponent(name);
            const bool enabled = dynamic_cast<TMenuItem*>(c) ? dynamic_cast<TMenuItem*>(c)->Enabled()
                                                             : dynamic_cast<TToolButton*>(c)->Enabled();
            text += enabled ? '1' : '0';
        }
        return text;
    }

    HeadlessHost host;
    TApplication app{host};
    CommandForm* form = nullptr;
};

TEST_F(CommandLayerTest, StoredValuesWinOverTheActionsAndDefaultsTakeTheirs) {
    struct Row {
        const char* name;
        const char* shortCutText;
        int image;
        bool enabled;
        const char* hint;
    };
    // Every entry of the menu bar, as the window shows it before the first idle step.
    const Row rows[] = {
        {"FileNewItem", "Ctrl+N", 6, true, "创建新文档"},
        {"N24", "F12", -1, true, "打开现有已加密文档"},
        {"FileOpenItem", "Ctrl+O", 7, true, "打开现有未加密文档"},
        {"FileSaveItem", "Ctrl+S", 8, true, "保存活动文档"},
        {"FileSaveAsItem", "", -1, true, "用新名字保存活动文档"},
        {"N11", "", -1, false, "更改页面设置"},
        {"N12", "", -1, false, ""},
        {"N13", "Ctrl+P", -1, true, "打印活动文件"},
        {"FileSendItem", "Ctrl+D", 15, false, "通过电子邮件发送文档"},
        {"FileExitItem", "", -1, true, "推出应用程序，提示保存文档"},
        {"N4", "Ctrl+Z", -1, false, "撤消上次操作"},
        {"CutItem", "Ctrl+X", 0, false, "剪切选定内容并将它放入剪贴板"},
        {"CopyItem", "Ctrl+C", 1, false, "复制选定内容并将它放入剪贴板"},
        {"PasteItem", "Ctrl+V", 2, false, "插入剪贴板内容"},
        {"N3", "Del", -1, false, "删除选定内容"},
        {"N8", "Ctrl+A", -1, false, "选定全部文档"},
        {"N9", "F5", -1, false, "插入当前系统时间和日期"},
        {"N6", "", -1, true, "自动换行"},
        {"N7", "", -1, false, "设置选定内容的字体"},
        {"N17", "Ctrl+F", -1, false, ""},
        {"N18", "F3", -1, false, ""},
        {"N19", "Ctrl+H", -1, false, ""},
        {"N20", "", -1, false, ""},
        {"N21", "", -1, false, ""},
        {"N22", "", -1, true, "访问作者主页"},
        {"N23", "", -1, true, "通过电子邮件联系作者"},
        {"HelpAboutItem", "", -1, true, "关于"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TMenuItem& item = form->item(row.name);
        EXPECT_EQ(ShortCutToText(item.ShortCut()), row.shortCutText);
        EXPECT_EQ(item.ImageIndex(), row.image);
        EXPECT_EQ(item.Enabled(), row.enabled);
        EXPECT_EQ(item.Hint(), row.hint);
        EXPECT_FALSE(item.Caption().empty()) << "every entry keeps its stored caption";
        if (const TAction* action = item.Action()) {
            EXPECT_TRUE(item.OnClick() == action->OnExecute()) << "the entry runs its action's handler";
        }
    }
    EXPECT_EQ(form->item("CutItem").Caption(), "剪切(&T)");

    struct ButtonRow {
        const char* name;
        int image;
        bool enabled;
        int left;
        const char* caption;
    };
    const ButtonRow buttons[] = {
        {"ToolButton9", 6, true, 5, "&New"},    {"ToolButton1", 7, true, 28, "&Open..."},
        {"ToolButton2", 8, true, 51, "&Save"},  {"ToolButton7", 15, false, 82, "Sen&d..."},
        {"ToolButton4", 0, true, 113, "Cu&t"},  {"ToolButton5", 1, true, 136, "&Copy"},
        {"ToolButton6", 2, true, 159, "&Paste"}, {"ToolButton10", 16, true, 190, ""},
        {"ToolButton11", 17, false, 213, ""},
    };
    for (const ButtonRow& row : buttons) {
        SCOPED_TRACE(row.name);
        const TToolButton& button = form->button(row.name);
        EXPECT_EQ(button.ImageIndex(), row.image);
        EXPECT_EQ(button.Enabled(), row.enabled);
        EXPECT_EQ(button.Left(), row.left);
        EXPECT_EQ(button.Caption(), row.caption) << "buttons take the caption, which the bar does not show";
    }
    // Every linked client stores a hint of its own, so none shows its action's English one.
    EXPECT_EQ(form->button("ToolButton4").Hint(), "Cut|Cuts the selection and puts 简切选定内容并将它放入剪贴板");
    EXPECT_EQ(form->button("ToolButton9").Hint(), "创建新文档");
    for (TAction* action : form->ActionList1->Actions()) EXPECT_TRUE(action->Enabled()) << action->Name();
}

TEST_F(CommandLayerTest, TooltipsOfLinkedButtonsNameTheirActionsShortcut) {
    start();
    // Linked to actions with a shortcut: the short part of the hint, then the key in parentheses.
    EXPECT_EQ(form->button("ToolButton4").TooltipText(), "Cut (Ctrl+X)");
    EXPECT_EQ(form->button("ToolButton9").TooltipText(), "创建新文档 (Ctrl+N)");
    // Not linked to any action: the short part alone.
    EXPECT_EQ(form->button("ToolButton10").TooltipText(), "加密");
}

TEST_F(CommandLayerTest, ClientStatesFollowTheUsersWork) {
    const std::vector<std::string> clients{"ToolButton4", "ToolButton5", "ToolButton6", "CutItem",
                                           "CopyItem",    "PasteItem",   "ToolButton7", "FileSendItem",
                                           "ToolButton9", "FileNewItem", "N3"};
    FakeEditor& memo = *form->Memo1;
    struct Step {
        const char* what;
        std::function<void()> act;
        const char* states;  // enabled, in the order of `clients`
    };
    const Step steps[] = {
        {"created, not shown yet", [] {}, "11100000110"},
        {"first idle step, clipboard holds text", [&] { start(true); }, "00100000110"},
        {"text selected", [&] { memo.selLength = 3; idleStep(); }, "11111000110"},
        {"selection cleared", [&] { memo.selLength = 0; idleStep(); }, "00100000110"},
        {"selected again, then another program", [&] {
             memo.selLength = 2;
             idleStep();
             host.activateOtherProgram();
             idleStep();
         }, "00000000110"},
        {"back in the program", [&] { form->Native()->activate(); idleStep(); }, "11111100110"},
        {"clipboard emptied", [&] { memo.clipboardHasText = false; idleStep(); }, "11011000110"},
        {"selection gone, clipboard text again", [&] {
             memo.selLength = 0;
             memo.clipboardHasText = true;
             idleStep();
         }, "00100100110"},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(states(clients), step.states) << step.what;
    }
}

struct KeyRow {
    const char* text;
    std::uint8_t key;
    bool shift, ctrl, alt;
    KeyCode code;
    // What the key does while the editor has the focus, a selection, clipboard text and something to
    // undo; and while it has none of them.
    const char* whenAvailable;
    const char* whenNot;
};

const KeyRow kKeys[] = {
    {"Ctrl+N", 'N', false, true, false, 16462, "FileNew1Execute", "FileNew1Execute"},
    {"F12", vk::F12, false, false, false, 123, "N24Click", "N24Click"},
    {"Ctrl+O", 'O', false, true, false, 16463, "FileOpen1Execute", "FileOpen1Execute"},
    {"Ctrl+S", 'S', false, true, false, 16467, "FileSave1Execute", "FileSave1Execute"},
    {"Ctrl+P", 'P', false, true, false, 16464, "N13Click", "N13Click"},
    {"Ctrl+D", 'D', false, true, false, 16452, "", ""},
    {"Ctrl+Z", 'Z', false, true, false, 16474, "", ""},
    {"Ctrl+X", 'X', false, true, false, 16472, "editor:cut", ""},
    {"Ctrl+C", 'C', false, true, false, 16451, "editor:copy", ""},
    {"Ctrl+V", 'V', false, true, false, 16470, "editor:paste", ""},
    {"Del", vk::Delete, false, false, false, 46, "", ""},
    {"Ctrl+A", 'A', false, true, false, 16449, "", ""},
    {"F5", vk::F1 + 4, false, false, false, 116, "", ""},
    {"Ctrl+F", 'F', false, true, false, 16454, "", ""},
    {"F3", vk::F1 + 2, false, false, false, 114, "", ""},
    {"Ctrl+H", 'H', false, true, false, 16456, "", ""},
    {"Alt+BkSp", vk::Back, false, false, true, 32776, "editor:undo", "key"},
    // Keys nobody claims reach the editor, however close they are to claimed ones.
    {"BkSp", vk::Back, false, false, false, 8, "key", "key"},
    {"Shift+Del", vk::Delete, true, false, false, 8238, "key", "key"},
    {"Shift+Ctrl+N", 'N', true, true, false, 24654, "key", "key"},
    {"Alt+N", 'N', false, false, true, 32846, "key", "key"},
    {"Ctrl+Ins", vk::Insert, false, true, false, 16429, "key", "key"},
};

TEST_F(CommandLayerTest, EveryKeyOfTheMainWindowRunsOrSwallowsAsClaimed) {
    start(false);
    FakeEditor& memo = *form->Memo1;
    for (bool available : {true, false}) {
        memo.selLength = available ? 4 : 0;
        memo.clipboardHasText = available;
        memo.canUndo = available;
        idleStep();
        for (const KeyRow& row : kKeys) {
            SCOPED_TRACE(std::string(row.text) + (available ? " with" : " without") + " selection and clipboard");
            EXPECT_EQ(makeKeyCode(row.key, row.shift, row.ctrl, row.alt), row.code);
            EXPECT_EQ(ShortCutToText(row.code), row.text);
            forget();
            press(*form->Native(), row.key, row.shift, row.ctrl, row.alt);
            EXPECT_EQ(outcome(row.code), available ? row.whenAvailable : row.whenNot);
        }
    }
}

TEST_F(CommandLayerTest, PasteEntryStaysGreyUntilPasteFirstBecomesUnavailable) {
    start(true);
    EXPECT_TRUE(form->button("ToolButton6").Enabled());
    EXPECT_FALSE(form->item("PasteItem").Enabled());
    forget();
    press(*form->Native(), 'V', false, true, false);
    EXPECT_EQ(outcome(16470), "") << "the grey entry swallows Ctrl+V";

    // A click on the button works meanwhile.
    form->button("ToolButton6").Click();
    EXPECT_EQ(outcome(16470), "editor:paste");

    host.activateOtherProgram();
    idleStep();
    form->Native()->activate();
    idleStep();
    EXPECT_TRUE(form->item("PasteItem").Enabled());
    forget();
    press(*form->Native(), 'V', false, true, false);
    EXPECT_EQ(outcome(16470), "editor:paste");
}

TEST_F(CommandLayerTest, AnotherWindowReachesTheMainWindowsKeysOnlyWhileTheMainWindowIsEnabled) {
    start(false);
    form->Memo1->selLength = 1;
    form->Memo1->canUndo = true;
    idleStep();
    OtherWindow* box = nullptr;
    app.CreateForm(box);

    // A modal box disables the main window: none of its keys act.
    form->SetEnabled(false);
    box->Show();
    for (const KeyRow& row : kKeys) {
        SCOPED_TRACE(row.text);
        forget();
        press(*box->Native(), row.key, row.shift, row.ctrl, row.alt);
        EXPECT_EQ(outcome(row.code), "");
    }
    // Meanwhile the idle step leaves the disabled window's commands alone.
    std::vector<std::string> refreshed;
    form->ActionList1->OnUpdate = [&](TAction& action, bool&) { refreshed.push_back(action.Name()); };
    idleStep();
    EXPECT_TRUE(refreshed.empty());

    // An enabled main window checks the other window's keys too; the edit commands find no editor
    // with the focus there, so their keys are swallowed by the entries they disable.
    form->SetEnabled(true);
    forget();
    press(*box->Native(), 'N', false, true, false);
    EXPECT_EQ(outcome(16462), "FileNew1Execute");
    forget();
    press(*box->Native(), 'X', false, true, false);
    EXPECT_EQ(outcome(16472), "");
    EXPECT_FALSE(form->item("CutItem").Enabled());
    forget();
    press(*box->Native(), vk::Back, false, false, true);
    EXPECT_EQ(outcome(32776), "") << "Alt+BkSp finds no editor with the focus and is not consumed";
}

TEST_F(CommandLayerTest, ContextMenusOfTheFocusedControlAndItsParentsComeBeforeTheMenuBar) {
    start(false);
    auto* formMenu = new TPopupMenu(form);
    auto* memoMenu = new TPopupMenu(form);
    auto add = [&](TPopupMenu& menu, const std::string& name, KeyCode shortCut) {
        auto* item = new TMenuItem(form);
        item->SetName(name);
        item->SetShortCut(shortCut);
        item->SetOnClick(TNotifyEvent([this](TComponent& sender) { form->ran.push_back(sender.Name()); }));
        menu.Items().Add(*item);
    };
    add(*memoMenu, "MemoNew", kCtrlBit | 'N');
    add(*formMenu, "FormNew", kCtrlBit | 'N');
    add(*formMenu, "FormOpen", kCtrlBit | 'O');
    form->Memo1->SetPopupMenu(memoMenu);
    form->SetPopupMenu(formMenu);

    forget();
    press(*form->Native(), 'N', false, true, false);
    press(*form->Native(), 'O', false, true, false);
    press(*form->Native(), 'S', false, true, false);
    EXPECT_EQ(form->ran, (std::vector<std::string>{"MemoNew", "FormOpen", "FileSave1Execute"}));

    delete memoMenu;
    EXPECT_EQ(form->Memo1->PopupMenu(), nullptr);
    forget();
    press(*form->Native(), 'N', false, true, false);
    EXPECT_EQ(form->ran, std::vector<std::string>{"FormNew"});

    // The menu bar destroyed first is forgotten too: its shortcuts are gone, the actions' stay.
    delete formMenu;
    EXPECT_EQ(form->PopupMenu(), nullptr);
    delete form->Menu();
    EXPECT_EQ(form->Menu(), nullptr);
    forget();
    press(*form->Native(), 'S', false, true, false);
    EXPECT_EQ(form->ran, std::vector<std::string>{"FileSave1Execute"});
}

TEST_F(CommandLayerTest, RefreshesRunInTheirOrder) {
    start(false);
    std::vector<std::string> refreshed;
    form->ActionList1->OnUpdate = [&](TAction& action, bool&) { refreshed.push_back(action.Name()); };

    idleStep();
    EXPECT_EQ(refreshed, (std::vector<std::string>{"FileNew1", "FileOpen1", "FileSave1", "FileSend1", "EditCut1",
                                                   "EditCopy1", "EditPaste1"}))
        << "the idle step goes through the toolbar's linked buttons";

    refreshed.clear();
    form->item("N2").SubmenuOpening();
    EXPECT_EQ(refreshed, (std::vector<std::string>{"EditCut1", "EditCopy1", "EditPaste1"}));

    // A shortcut refreshes the entries of each menu on its path, then the action before it runs.
    form->Memo1->selLength = 2;
    idleStep();
    refreshed.clear();
    press(*form->Native(), 'X', false, true, false);
    EXPECT_EQ(refreshed, (std::vector<std::string>{"EditCut1", "EditCopy1", "EditPaste1", "EditCut1"}));
    EXPECT_EQ(form->Memo1->commands, std::vector<std::string>{"cut"});

    // A hidden button is not visited.
    form->button("ToolButton1").SetVisible(false);
    refreshed.clear();
    idleStep();
    EXPECT_EQ(refreshed.size(), 6u);
    EXPECT_EQ(refreshed[1], "FileSave1");
}

TEST_F(CommandLayerTest, ClicksRunTheEntrysOwnHandlerOrItsAction) {
    start(false);
    form->item("FileNewItem").Click();
    form->item("N24").Click();
    form->item("N3").Click();  // disabled: nothing
    form->button("ToolButton10").Click();
    form->button("ToolButton7").Click();  // disabled: nothing
    EXPECT_EQ(form->ran, (std::vector<std::string>{"FileNew1Execute", "N24Click", "ToolButton10Click"}));

    // An entry given a handler of its own runs that one instead of its action.
    form->ran.clear();
    form->item("FileSaveItem").SetOnClick(TNotifyEvent([&](TComponent& sender) {
        form->ran.push_back("own:" + sender.Name());
    }));
    form->item("FileSaveItem").Click();
    EXPECT_EQ(form->ran, std::vector<std::string>{"own:FileSaveItem"});

    // A press and release of the left button on a toolbar button clicks it; released elsewhere, not.
    form->ran.clear();
    const Rect place = form->button("ToolButton9").WindowRect();
    const Point inside{place.left + 4, place.top + 4};
    host.postMouse(*form->Native(), MouseEvent{MouseEvent::Kind::Down, MouseEvent::Button::Left, inside});
    host.postMouse(*form->Native(), MouseEvent{MouseEvent::Kind::Up, MouseEvent::Button::Left, inside});
    host.postMouse(*form->Native(), MouseEvent{MouseEvent::Kind::Down, MouseEvent::Button::Left, inside});
    host.postMouse(*form->Native(),
                   MouseEvent{MouseEvent::Kind::Up, MouseEvent::Button::Left, Point{place.left + 100, place.top + 4}});
    drain();
    EXPECT_EQ(form->ran, std::vector<std::string>{"FileNew1Execute"});
}

TEST_F(CommandLayerTest, ErrorsFromShortcutsAndRefreshesGoToTheErrorDisplay) {
    start(false);
    form->action("FileNew1").SetOnExecute(TNotifyEvent([](TComponent&) { throw EFOpenError("Cannot open file x"); }));
    EXPECT_TRUE(form->item("FileNewItem").OnClick() == form->action("FileNew1").OnExecute())
        << "the entry follows its action's new handler";
    forget();
    press(*form->Native(), 'N', false, true, false);
    ASSERT_EQ(host.messageBoxes().size(), 1u);
    EXPECT_EQ(host.messageBoxes()[0].request.text, "Cannot open file x.");
    EXPECT_EQ(outcome(16462), "") << "the key does not reach the editor";
    press(*form->Native(), 'O', false, true, false);
    EXPECT_EQ(outcome(16463), "FileOpen1Execute") << "the menu stays usable";

    std::vector<std::string> refreshed;
    bool fail = true;
    form->ActionList1->OnUpdate = [&](TAction& action, bool&) {
        refreshed.push_back(action.Name());
        if (fail && action.Name() == "FileOpen1") throw EInvalidOperation("refresh failed");
    };
    idleStep();
    EXPECT_EQ(host.messageBoxes().size(), 2u);
    EXPECT_EQ(refreshed, (std::vector<std::string>{"FileNew1", "FileOpen1"})) << "the rest of the step is skipped";
    fail = false;
    refreshed.clear();
    idleStep();
    EXPECT_EQ(refreshed.size(), 7u) << "the next idle step tries again";
}

TEST_F(CommandLayerTest, EditCommandsActOnlyOnTheFocusedEditor) {
    start(false);
    FakeEditor& memo = *form->Memo1;
    memo.selLength = 5;
    memo.canUndo = true;
    TAction& cut = form->action("EditCut1");
    TAction& undo = form->action("EditUndo1");
    EXPECT_TRUE(cut.Execute());
    EXPECT_TRUE(undo.Execute());
    EXPECT_EQ(memo.commands, (std::vector<std::string>{"cut", "undo"}));

    // Without the focus the commands disable themselves and do nothing.
    host.activateOtherProgram();
    memo.commands.clear();
    EXPECT_FALSE(cut.Execute());
    EXPECT_FALSE(cut.Enabled());
    EXPECT_FALSE(undo.Update());
    EXPECT_FALSE(undo.Enabled());
    EXPECT_TRUE(memo.commands.empty());
    // Plain commands have their handler and stay usable; the data-set commands have none.
    EXPECT_FALSE(form->action("FileExit1").Update());
    EXPECT_TRUE(form->action("FileExit1").Enabled());
    EXPECT_FALSE(form->action("DataSetPost1").Execute());
    EXPECT_FALSE(form->action("DataSetPost1").Enabled());
}

}  // namespace
}  // namespace zozuz
