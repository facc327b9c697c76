#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/TApplication.h"
#include "app/TooltipView.h"
#include "hosts/headless/HeadlessHost.h"
#include "ui/toolkit/controls/TGraphicControl.h"
#include "ui/toolkit/controls/TWinControl.h"
#include "ui/toolkit/windows/TForm.h"

namespace zozuz {
namespace {

// A toolbar button; linked to a command with a shortcut when `shortCut` holds its text.
class HintButton : public TGraphicControl {
public:
    HintButton(TWinControl& toolbar, int left, std::string hint, std::optional<std::string> shortCut)
        : TGraphicControl(&toolbar), shortCut_(std::move(shortCut)) {
        SetParent(&toolbar);
        SetBounds(left, 2, 23, 22);
        SetHint(std::move(hint));
    }
    std::optional<std::string> CommandShortCutText() const override { return shortCut_; }

private:
    std::optional<std::string> shortCut_;
};

// The main window's toolbar, editor and status line, with the hints they are stored with.
class HintForm : public TForm {
public:
    explicit HintForm(TApplication& application) : TForm(application) {
        SetBounds(100, 100, 420, 300);
        toolbar = new TWinControl(this);
        toolbar->SetParent(this);
        toolbar->SetBounds(0, 0, 400, 30);
        toolbar->SetShowHint(true);
        int left = 5;
        auto add = [&](std::string hint, std::optional<std::string> shortCut, int gapAfter = 0) {
            auto* button = new HintButton(*toolbar, left, std::move(hint), std::move(shortCut));
            left += 23 + gapAfter;
            return button;
        };
        newButton = add("创建新文档", "Ctrl+N");
        openButton = add("打开现有文档", "Ctrl+O");
        saveButton = add("保存活动文档", "Ctrl+S", 8);
        sendButton = add("通过电子邮件发送文档", std::nullopt, 8);
        cutButton = add("Cut|Cuts the selection and puts 简切选定内容并将它放入剪贴板", "Ctrl+X");
        copyButton = add("复制选定内容并将它放入剪贴板", "Ctrl+C");
        pasteButton = add("插入剪贴板内容", "Ctrl+V", 8);
        encryptButton = add("加密", std::nullopt);
        decryptButton = add("解密", std::nullopt);
        sendButton->SetEnabled(false);
        decryptButton->SetEnabled(false);
        editor = new TWinControl(this);
        editor->SetParent(this);
        editor->SetBounds(0, 30, 400, 220);
    }
    TWinControl* toolbar = nullptr;
    TWinControl* editor = nullptr;
    HintButton *newButton, *openButton, *saveButton, *sendButton, *cutButton, *copyButton, *pasteButton,
        *encryptButton, *decryptButton;
};

TEST(ControlHintsTest, TheToolbarsTooltipsAndStatusTexts) {
    HeadlessHost host;
    TApplication app(host);
    HintForm* form = nullptr;
    app.CreateForm(form);
    struct Row {
        TControl* button;
        std::string tooltip;
        std::string status;
    };
    const std::vector<Row> rows = {
        {form->newButton, "创建新文档 (Ctrl+N)", "创建新文档"},
        {form->openButton, "打开现有文档 (Ctrl+O)", "打开现有文档"},
        {form->saveButton, "保存活动文档 (Ctrl+S)", "保存活动文档"},
        {form->sendButton, "通过电子邮件发送文档", "通过电子邮件发送文档"},
        {form->cutButton, "Cut (Ctrl+X)", "Cuts the selection and puts 简切选定内容并将它放入剪贴板"},
        {form->copyButton, "复制选定内容并将它放入剪贴板 (Ctrl+C)", "复制选定内容并将它放入剪贴板"},
        {form->pasteButton, "插入剪贴板内容 (Ctrl+V)", "插入剪贴板内容"},
        {form->encryptButton, "加密", "加密"},
        {form->decryptButton, "解密", "解密"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.status);
        // Buttons take the toolbar's ShowHint, so each shows its own tooltip, disabled or not.
        ASSERT_EQ(row.button->TooltipControl(), row.button);
        EXPECT_EQ(row.button->TooltipControl()->TooltipText(), row.tooltip);
        EXPECT_EQ(row.button->ApplicationHint(), row.status);
    }
    // The editor, the window and the toolbar's background give no tooltip and an empty status.
    EXPECT_EQ(form->editor->TooltipControl(), nullptr);
    EXPECT_EQ(form->editor->ApplicationHint(), "");
    EXPECT_EQ(form->TooltipControl(), nullptr);
    EXPECT_EQ(form->toolbar->TooltipControl(), form->toolbar);
    EXPECT_EQ(form->toolbar->TooltipText(), "");
}

TEST(ControlHintsTest, ShowHintFollowsTheParentUntilSetAndHintsComeFromTheNearestParentWithOne) {
    TWinControl window;
    TWinControl panel;
    panel.SetParent(&window);
    TGraphicControl inner;
    inner.SetParent(&panel);
    EXPECT_TRUE(inner.ParentShowHint());
    EXPECT_FALSE(inner.ShowHint());
    window.SetShowHint(true);
    EXPECT_TRUE(inner.ShowHint());
    EXPECT_EQ(inner.TooltipControl(), &inner);
    // Set on the control itself, it is the control's own from then on.
    inner.SetShowHint(false);
    EXPECT_FALSE(inner.ParentShowHint());
    EXPECT_FALSE(inner.ShowHint());
    EXPECT_EQ(inner.TooltipControl(), &panel) << "the nearest parent that shows tooltips";
    inner.SetParentShowHint(true);
    EXPECT_TRUE(inner.ShowHint());

    // Hints: the control's own, else the nearest parent's that has one, short and long parts
    // taken from whichever it is; a hint with an empty long part stays the control's own.
    window.SetHint("window|窗口");
    EXPECT_EQ(inner.HintInUse(), "window|窗口");
    EXPECT_EQ(inner.ApplicationHint(), "窗口");
    EXPECT_EQ(inner.TooltipText(), "window");
    panel.SetHint("面板");
    EXPECT_EQ(inner.ApplicationHint(), "面板");
    inner.SetHint("short|");
    EXPECT_EQ(inner.ApplicationHint(), "");
    EXPECT_EQ(inner.TooltipText(), "short");
}

class RecordingView : public TooltipView {
public:
    void ShowTooltip(const std::string& text, Point) override { log.push_back("show " + text); }
    void HideTooltip() override { log.push_back("hide"); }
    std::vector<std::string> log;
};

TEST(ControlHintsTest, TheIdleStepShowsTooltipsAndStatusTextsForThePointer) {
    HeadlessHost host;
    TApplication app(host);
    HintForm* form = nullptr;
    app.CreateForm(form);
    RecordingView view;
    app.Tooltip().SetView(&view);
    EXPECT_TRUE(app.ShowHint()) << "tooltips are on from the start";
    std::vector<std::string> statusLine;
    app.OnHint = [&] { statusLine.push_back(app.Hint()); };

    auto pointAt = [&](TControl& control) {
        const Point centre{control.WindowRect().left + 5, control.WindowRect().top + 5};
        host.setPointerPosition(form->Native()->clientToScreen(centre));
    };
    // Each step runs when the program next waits; the posted no-op lets an idle step follow.
    auto step = [&](std::function<void()> action) {
        host.whenIdle([&host, action] {
            action();
            host.post([] {});
        });
    };
    step([&] { pointAt(*form->cutButton); });
    step([&] { host.advanceClock(499); });
    step([&] {
        EXPECT_FALSE(app.Tooltip().Showing());
        host.advanceClock(1);
    });
    step([&] {
        EXPECT_TRUE(app.Tooltip().Showing());
        pointAt(*form->decryptButton);
    });
    step([&] { host.advanceClock(0); });  // the next tooltip's pause of 0 ms runs out
    step([&] {
        EXPECT_EQ(app.Tooltip().Text(), "解密");
        host.postKeyPress(*form->Native(), 'A');
    });
    step([&] {
        EXPECT_FALSE(app.Tooltip().Showing()) << "a key cancels the tooltip";
        pointAt(*form->editor);
    });
    step([&] { host.setPointerPosition({0, 0}); });
    host.whenIdle([&] { app.Terminate(); });
    app.Run();

    EXPECT_EQ(view.log, (std::vector<std::string>{"show Cut (Ctrl+X)", "hide", "show 解密", "hide"}));
    EXPECT_EQ(statusLine,
              (std::vector<std::string>{"Cuts the selection and puts 简切选定内容并将它放入剪贴板", "解密", ""}));
    EXPECT_EQ(app.Hint(), "");
}

TEST(ControlHintsTest, ADestroyedControlIsNoLongerWaitedForAndShutdownSwitchesTooltipsOff) {
    HeadlessHost host;
    TApplication app(host);
    HintForm* form = nullptr;
    app.CreateForm(form);
    host.setPointerPosition(form->Native()->clientToScreen({form->cutButton->Left() + 3, 5}));
    host.whenIdle([&] {
        EXPECT_EQ(host.activeTimers(), 1u) << "the pause before Cut's tooltip";
        host.post([&] { delete form->cutButton; });
    });
    host.whenIdle([&] {
        // The pointer is now over the toolbar's background, which has no tooltip text.
        EXPECT_EQ(host.activeTimers(), 0u);
        host.setPointerPosition(form->Native()->clientToScreen({form->copyButton->Left() + 3, 5}));
        host.post([] {});
    });
    host.whenIdle([&] { app.Terminate(); });
    app.Run();
    EXPECT_EQ(host.activeTimers(), 1u);
    app.Shutdown();
    EXPECT_FALSE(app.ShowHint());
    EXPECT_EQ(host.activeTimers(), 0u);
}

}  // namespace
}  // namespace zozuz
