#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/TApplication.h"
#include "platform/headless/HeadlessHost.h"
#include "ui/toolkit/TStatusBar.h"

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
        StatusBar = new TStatusBar(form);
        StatusBar->SetName("StatusBar");
        StatusBar->SetParent(form);
        StatusBar->SetBounds(0, 320, 562, 19);
        StatusBar->SetAutoHint(true);
        StatusBar->SetSimplePanel(true);
        form->Show();
        drain();
    }
    void drain() {
        while (host.pumpOne() != Host::PumpResult::Empty) {
        }
    }
    // Runs the program with the pointer moved over each control in turn (null: off the program's
    // windows), one idle step after each move, and returns the status line's text after each.
    std::vector<std::string> pointAt(const std::vector<const TControl*>& controls) {
        std::vector<std::string> shown;
        for (const TControl* control : controls) {
            host.whenIdle([this, control, &shown] {
                Point pointer{2000, 2000};
                if (control) {
                    const Rect place = control->WindowRect();
                    pointer = form->Native()->clientToScreen({place.left + 3, place.top + 3});
                }
                host.setPointerPosition(pointer);
                host.post([] {});
            });
            host.whenIdle([this, &shown] {
                shown.push_back(StatusBar->SimpleText());
                host.post([] {});
            });
        }
        host.whenIdle([this] { app.Terminate(); });
        app.Run();
        return shown;
    }

    HeadlessHost host;
    TApplication app{host};
    CommandForm* form = nullptr;
    TStatusBar* StatusBar = nullptr;
};

TEST_F(StatusBarTest, ShowsTheLongHintOfTheControlUnderThePointer) {
    // Disabled buttons give their hint like enabled ones; the editor and places off the program's
    // windows give none.
    const std::vector<std::string> shown = pointAt({&form->button("ToolButton4"), &form->button("ToolButton11"),
                                                    form->Memo1, &form->button("ToolButton5"), nullptr});
    EXPECT_EQ(shown, (std::vector<std::string>{"Cuts the selection", "解密文字", "", "复制所选文字", ""}));
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
    auto inkIn = [&] {
        const Image& image = window.image();
        int ink = 0;
        for (int y = 323; y < 338; ++y)
            for (int x = 4; x < 60; ++x)
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
