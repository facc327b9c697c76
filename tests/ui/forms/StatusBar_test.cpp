// The main window's status line and tooltips as the user meets them: the hint of every toolbar button
// under the pointer and of every highlighted menu entry, the tooltip of every button, and how a hint
// finds its status line through the windows.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/TApplication.h"
#include "base/KeyCode.h"
#include "hosts/headless/HeadlessHost.h"
#include "hosts/headless/HeadlessMenuBar.h"
#include "hosts/headless/HeadlessWindow.h"
#include "ui/toolkit/controls/TStatusBar.h"
#include "ui/toolkit/menus/TMainMenu.h"

#include "CommandForm.h"

namespace zozuz {
namespace {

class OtherWindow : public TForm {
public:
    explicit OtherWindow(TApplication& application) : TForm(application) { SetBounds(300, 200, 200, 150); }
};

class StatusBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.CreateForm(form);
        StatusBar = form->StatusBar;
        ASSERT_NE(StatusBar, nullptr);
        form->Show();
        drain();
    }
    void drain() {
        while (host.pumpOne() != Host::PumpResult::Empty) {
        }
    }
    // Queues one idle step of the script: `action` runs when the program has run empty, and the
    // program is woken again for the next step.
    void step(std::function<void()> action) {
        host.whenIdle([this, action] {
            action();
            host.post([] {});
        });
    }
    // Moves the pointer onto a control (null: off the program's windows).
    void pointAt(const TControl* control) {
        Point pointer{2000, 2000};
        if (control) {
            const Rect place = control->WindowRect();
            pointer = form->Native()->clientToScreen({place.left + 3, place.top + 3});
        }
        host.setPointerPosition(pointer);
    }
    void run() {
        host.whenIdle([this] { app.Terminate(); });
        app.Run();
    }

    HeadlessMenuBar& bar() { return *host.menuBarOf(*form->Native()); }
    // The id under which the desktop's menu bar shows `item`.
    MenuId idOf(const TMenuItem& item) {
        std::vector<const MenuEntry*> entries;
        for (const MenuEntry& title : bar().titles()) entries.push_back(&title);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (entries[i]->kind != MenuEntry::Kind::Separator && entries[i]->caption == item.Caption())
                return entries[i]->id;
            for (const MenuEntry& entry : entries[i]->entries) entries.push_back(&entry);
        }
        ADD_FAILURE() << "the bar does not show " << item.Caption();
        return kNoMenuEntry;
    }

    HeadlessHost host;
    TApplication app{host};
    CommandForm* form = nullptr;
    TStatusBar* StatusBar = nullptr;
};

TEST_F(StatusBarTest, EveryButtonShowsItsTooltipAndItsStatusLineTextDisabledOrNot) {
    struct Row {
        const char* button;
        const char* tooltip;
        const char* statusLine;
    };
    const Row rows[] = {
        {"ToolButton9", "创建新文档 (Ctrl+N)", "创建新文档"},
        {"ToolButton1", "打开现有文档 (Ctrl+O)", "打开现有文档"},
        {"ToolButton2", "保存活动文档 (Ctrl+S)", "保存活动文档"},
        {"ToolButton7", "通过电子邮件发送文档", "通过电子邮件发送文档"},
        {"ToolButton4", "Cut (Ctrl+X)", "Cuts the selection and puts 简切选定内容并将它放入剪贴板"},
        {"ToolButton5", "复制选定内容并将它放入剪贴板 (Ctrl+C)", "复制选定内容并将它放入剪贴板"},
        {"ToolButton6", "插入剪贴板内容 (Ctrl+V)", "插入剪贴板内容"},
        {"ToolButton10", "加密", "加密"},
        {"ToolButton11", "解密", "解密"},
    };
    const RecordedTooltip& tooltip = host.tooltipWindow();
    struct Seen {
        std::string button;
        bool enabled;
        std::optional<std::string> tooltip;
        std::string statusLine;
    };
    std::vector<Seen> seen;
    bool first = true;
    for (const Row& row : rows) {
        const TToolButton* button = &form->button(row.button);
        step([this, button] { pointAt(button); });
        // The first tooltip waits half a second; moving straight on shows the next one at once.
        step([this, first] { host.advanceClock(first ? 500 : 0); });
        step([&, button] {
            seen.push_back({button->Name(), button->Enabled(), tooltip.text(), StatusBar->SimpleText()});
        });
        first = false;
    }
    run();

    ASSERT_EQ(seen.size(), std::size(rows));
    for (std::size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE(rows[i].button);
        EXPECT_EQ(seen[i].tooltip, std::optional<std::string>(rows[i].tooltip));
        EXPECT_EQ(seen[i].statusLine, rows[i].statusLine);
    }
    // Send and Decrypt were disabled, and Cut and Copy too once the first idle step found nothing
    // selected: their texts show all the same.
    EXPECT_FALSE(seen[3].enabled);
    EXPECT_FALSE(seen[4].enabled);
    EXPECT_FALSE(seen[8].enabled);
}

TEST_F(StatusBarTest, PlacesWithoutHintEmptyTheStatusLineAndShowNoTooltip) {
    const RecordedTooltip& tooltip = host.tooltipWindow();
    const TControl* places[] = {
        &form->button("ToolButton3"),  // a separator
        form->ToolBar1,                // the toolbar's background, right of the last button
        form->Memo1,
        StatusBar,
        nullptr,  // off the program's windows
    };
    std::vector<std::string> shown;
    std::vector<std::optional<std::string>> tips;
    for (const TControl* place : places) {
        // Each time from a button whose hint shows, so that emptying it is seen.
        step([this] { pointAt(&form->button("ToolButton10")); });
        step([&] { EXPECT_EQ(StatusBar->SimpleText(), "加密"); });
        step([this, place] {
            if (place == form->ToolBar1) {
                host.setPointerPosition(form->Native()->clientToScreen({400, 10}));
            } else {
                pointAt(place);
            }
        });
        step([this] { host.advanceClock(600); });
        step([&] {
            shown.push_back(StatusBar->SimpleText());
            tips.push_back(tooltip.text());
        });
    }
    run();
    EXPECT_EQ(shown, std::vector<std::string>(std::size(places), ""));
    EXPECT_EQ(tips, std::vector<std::optional<std::string>>(std::size(places), std::nullopt));
}

TEST_F(StatusBarTest, EveryMenuEntryShowsItsHintWhileHighlightedAndTitlesAndClosingEmptyIt) {
    struct Row {
        const char* entry;
        const char* statusLine;
    };
    // Each menu's title first (no hint), then its entries in display order, separators left out.
    const Row rows[] = {
        {"N1", ""},
        {"FileNewItem", "创建新文档"},
        {"N24", "打开现有已加密文档"},
        {"FileOpenItem", "打开现有未加密文档"},
        {"FileSaveItem", "保存活动文档"},
        {"FileSaveAsItem", "用新名字保存活动文档"},
        {"N11", "更改页面设置"},
        {"N12", ""},
        {"N13", "打印活动文件"},
        {"FileSendItem", "通过电子邮件发送文档"},
        {"FileExitItem", "推出应用程序，提示保存文档"},
        {"N2", ""},
        {"N4", "撤消上次操作"},
        {"CutItem", "剪切选定内容并将它放入剪贴板"},
        {"CopyItem", "复制选定内容并将它放入剪贴板"},
        {"PasteItem", "插入剪贴板内容"},
        {"N3", "删除选定内容"},
        {"N8", "选定全部文档"},
        {"N9", "插入当前系统时间和日期"},
        {"N6", "自动换行"},
        {"N7", "设置选定内容的字体"},
        {"N26", ""},
        {"N17", ""},
        {"N18", ""},
        {"N19", ""},
        {"N20", ""},
        {"N27", ""},
        {"N21", ""},
        {"N22", "访问作者主页"},
        {"N23", "通过电子邮件联系作者"},
        {"HelpAboutItem", "关于"},
    };
    // Every entry of the window is in the table.
    std::size_t entries = 0;
    for (const TMenuItem* menu : form->MainMenu1->Items().Children()) {
        ++entries;
        for (const TMenuItem* item : menu->Children()) entries += item->IsLine() ? 0 : 1;
    }
    EXPECT_EQ(entries, std::size(rows));

    for (const Row& row : rows) {
        SCOPED_TRACE(row.entry);
        const TMenuItem& item = form->item(row.entry);
        // A title opens its menu as the user clicks it; an entry is highlighted inside it. The
        // entry before leaves its hint, so an empty one must have been set.
        if (item.Parent() == &form->MainMenu1->Items())
            bar().open(idOf(item));
        else
            bar().highlight(idOf(item));
        EXPECT_EQ(StatusBar->SimpleText(), row.statusLine);
        EXPECT_EQ(app.Hint(), row.statusLine);
    }
    bar().open(idOf(form->item("N1")));
    bar().highlight(idOf(form->item("FileExitItem")));
    EXPECT_EQ(StatusBar->SimpleText(), "推出应用程序，提示保存文档");
    bar().closeAll();
    EXPECT_EQ(StatusBar->SimpleText(), "") << "closing the menu empties it";
}

TEST_F(StatusBarTest, WhileAMenuIsOpenTheIdleStepLeavesTheHintAndTheTooltipAlone) {
    // The pointer rests on the Cut button when Alt opens the File menu; with the menu open it moves
    // on to the Copy button and rests there.
    const RecordedTooltip& tooltip = host.tooltipWindow();
    std::vector<std::string> shown;
    step([this] { pointAt(&form->button("ToolButton4")); });
    step([&] {
        shown.push_back(StatusBar->SimpleText());
        host.postKeyPress(*form->Native(), vk::Menu);
        bar().open(idOf(form->item("N1")));
        bar().highlight(idOf(form->item("N24")));
    });
    step([this] { pointAt(&form->button("ToolButton5")); });
    step([this] { host.advanceClock(600); });
    step([&] {
        shown.push_back(StatusBar->SimpleText());
        EXPECT_EQ(tooltip.text(), std::nullopt) << "no tooltip while the menu is open";
        bar().closeAll();
        shown.push_back(StatusBar->SimpleText());
    });
    step([&] { shown.push_back(StatusBar->SimpleText()); });
    run();
    EXPECT_EQ(shown, (std::vector<std::string>{"Cuts the selection and puts 简切选定内容并将它放入剪贴板", "打开现有已加密文档",
                                               "", "复制选定内容并将它放入剪贴板"}));
    EXPECT_FALSE(app.MenuOpen());
}

TEST_F(StatusBarTest, OnlyAChangedHintIsSentOn) {
    app.SetHint("一");
    EXPECT_EQ(StatusBar->SimpleText(), "一");
    StatusBar->SetSimpleText("别的");
    app.SetHint("一");
    EXPECT_EQ(StatusBar->SimpleText(), "别的");
    app.SetHint("二");
    EXPECT_EQ(StatusBar->SimpleText(), "二");
}

TEST_F(StatusBarTest, AStatusLineWithoutAutoHintOrWithAHandlerOfItsOwnLeavesTheHintToTheNext) {
    auto* second = new TStatusBar(form);
    second->SetParent(form);
    second->SetAutoHint(true);
    StatusBar->SetAutoHint(false);
    app.SetHint("一");
    EXPECT_EQ(StatusBar->SimpleText(), "");
    EXPECT_EQ(second->SimpleText(), "一");

    int handled = 0;
    second->OnHint = [&](TStatusBar&) { ++handled; };
    app.SetHint("二");
    EXPECT_EQ(second->SimpleText(), "一");
    EXPECT_EQ(handled, 0) << "the application's own handler, not the status line's, would be told";

    // The application's own handler takes the hint before any status line.
    StatusBar->SetAutoHint(true);
    std::string told;
    app.OnHint = [&] { told = app.Hint(); };
    app.SetHint("三");
    EXPECT_EQ(told, "三");
    EXPECT_EQ(StatusBar->SimpleText(), "");
}

TEST_F(StatusBarTest, HintsRaisedWhileAnotherWindowIsActiveReachTheMainWindowsStatusLine) {
    OtherWindow* other = nullptr;
    app.CreateForm(other);
    other->Show();
    drain();
    ASSERT_TRUE(other->WindowActive());
    app.SetHint("别处");
    EXPECT_EQ(StatusBar->SimpleText(), "别处");
    // A status line in the active window comes first.
    auto* own = new TStatusBar(other);
    own->SetParent(other);
    own->SetAutoHint(true);
    app.SetHint("这里");
    EXPECT_EQ(own->SimpleText(), "这里");
    EXPECT_EQ(StatusBar->SimpleText(), "别处");
}

TEST_F(StatusBarTest, PaintsItsTextAndRepaintsOnlyForAChange) {
    auto& window = static_cast<HeadlessWindow&>(*form->Native());
    const Rect line = StatusBar->WindowRect();
    auto inkIn = [&] {
        const Image& image = window.image();
        int ink = 0;
        for (int y = line.top + 3; y < line.bottom - 1; ++y)
            for (int x = line.left + 4; x < line.left + 60; ++x)
                if (image.pixel(x, y) == 0x000000u) ++ink;
        return ink;
    };
    EXPECT_EQ(inkIn(), 0);
    StatusBar->SetSimpleText("Hint");
    drain();
    EXPECT_GT(inkIn(), 0);
    StatusBar->SetSimpleText("");
    drain();
    EXPECT_EQ(inkIn(), 0);
}

}  // namespace
}  // namespace zozuz
