#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/TApplication.h"
#include "base/Exception.h"
#include "hosts/headless/HeadlessHost.h"
#include "ui/toolkit/controls/TGraphicControl.h"
#include "ui/toolkit/controls/TWinControl.h"
#include "ui/toolkit/windows/TForm.h"

namespace zozuz {
namespace {

// A form that counts its command-state updates and can write into a shared log.
class LoopForm : public TForm {
public:
    explicit LoopForm(TApplication& application) : TForm(application) { SetBounds(100, 100, 400, 300); }
    void UpdateActions() override {
        ++updates;
        if (onUpdate) onUpdate();
    }
    int updates = 0;
    std::function<void()> onUpdate;
};

class ApplicationLoopTest : public ::testing::Test {
protected:
    void createMain() { app.CreateForm(main); }
    NativeWindow& mainNative() { return *main->Native(); }

    HeadlessHost host;
    TApplication app{host};
    LoopForm* main = nullptr;
};

TEST_F(ApplicationLoopTest, IdleRunsOncePerEmptyQueueAndThenBlocks) {
    createMain();
    host.whenIdle([&] {
        for (int i = 0; i < 3; ++i) host.post([] {});
    });
    host.whenIdle([&] { host.postCloseRequest(mainNative()); });
    app.Run();

    EXPECT_TRUE(app.Terminated());
    EXPECT_FALSE(app.Running());
    // Two empty queues: two idle steps, each followed by one wait, and the loop never waited while
    // something was queued (no busy loop, no polling).
    EXPECT_EQ(main->updates, 2);
    EXPECT_EQ(host.waitCount(), 2u);
    EXPECT_EQ(host.waitsWithEventsPending(), 0u);
}

TEST_F(ApplicationLoopTest, InitializeRunsTheRegisteredHooksInOrderAndTheFirstWindowBecomesMain) {
    std::vector<int> order;
    app.AddInitProc([&] { order.push_back(1); });
    app.AddInitProc([&] { order.push_back(2); });
    app.Initialize();
    EXPECT_EQ(order, (std::vector<int>{1, 2}));

    EXPECT_EQ(app.MainForm(), nullptr);
    createMain();
    LoopForm* second = nullptr;
    app.CreateForm(second);
    EXPECT_EQ(app.MainForm(), main);
    EXPECT_NE(main->Native(), nullptr);
    EXPECT_EQ(second->Native(), nullptr) << "only the main window's host window is made at once";
}

TEST_F(ApplicationLoopTest, RunWithoutMainWindowReturnsAtOnce) {
    app.Run();
    EXPECT_FALSE(app.Running());
    EXPECT_EQ(host.waitCount(), 0u);
}

TEST_F(ApplicationLoopTest, TerminateLetsQueuedMessagesFinishBeforeTheLoopEnds) {
    createMain();
    std::vector<std::string> log;
    host.whenIdle([&] {
        host.post([&] {
            app.Terminate();
            log.push_back("terminate");
        });
        host.post([&] { log.push_back(app.Terminated() ? "late" : "queued"); });
    });
    app.Run();
    EXPECT_EQ(log, (std::vector<std::string>{"terminate", "queued"}));
    EXPECT_TRUE(app.Terminated());
}

TEST_F(ApplicationLoopTest, ATerminateHookThatObjectsKeepsTheLoopRunning) {
    createMain();
    int asked = 0;
    app.AddTerminateProc([&] { return ++asked > 1; });
    host.whenIdle([&] { host.post([&] { app.Terminate(); }); });
    host.whenIdle([&] {
        EXPECT_FALSE(app.Terminated());
        host.post([&] { app.Terminate(); });
    });
    app.Run();
    EXPECT_EQ(asked, 2);
}

TEST_F(ApplicationLoopTest, ClosingTheMainWindowEndsTheProgramWithoutAQuestion) {
    createMain();
    host.whenIdle([&] { host.postCloseRequest(mainNative()); });
    app.Run();
    EXPECT_TRUE(app.Terminated());
    EXPECT_TRUE(host.messageBoxes().empty());
}

TEST_F(ApplicationLoopTest, SessionEndSetsTerminatedDirectly) {
    createMain();
    host.whenIdle([&] { host.postSessionEnd(); });
    app.Run();
    EXPECT_TRUE(app.Terminated());
}

TEST_F(ApplicationLoopTest, LoggingOffIsAskedFirstAndACancelledLogOffLeavesTheProgramRunning) {
    createMain();
    host.whenIdle([&] {
        host.postSessionEndQuery();
        host.postSessionEnd(false);  // the user cancelled the log-off
    });
    host.whenIdle([&] {
        EXPECT_FALSE(app.Terminated());
        EXPECT_EQ(host.sessionEndAnswers(), std::vector<bool>{true}) << "the program may end, without a question";
        EXPECT_TRUE(host.messageBoxes().empty());
        // A close check that refuses answers no, and one that fails is shown and answers no too.
        main->OnCloseQuery = [](TForm&, bool& canClose) { canClose = false; };
        host.postSessionEndQuery();
        host.post([&] { main->OnCloseQuery = [](TForm&, bool&) { throw EInvalidOperation("Busy"); }; });
        host.postSessionEndQuery();
    });
    host.whenIdle([&] {
        EXPECT_FALSE(app.Terminated());
        EXPECT_EQ(host.sessionEndAnswers(), (std::vector<bool>{true, false, false}));
        EXPECT_EQ(host.messageBoxes().size(), 1u);
        host.postSessionEnd();
    });
    app.Run();
    EXPECT_TRUE(app.Terminated());
}

TEST_F(ApplicationLoopTest, KeysReachTheWindowsShortcutCheckBeforeAnythingElse) {
    createMain();
    std::vector<std::string> log;
    main->OnShortCut = [&](const KeyEvent& key) {
        log.push_back("shortcut " + std::to_string(key.keyCode()));
        return key.virtualKey == vk::F12;
    };
    main->OnKeyDown = [&](const KeyEvent& key) { log.push_back("key " + std::to_string(key.keyCode())); };
    host.whenIdle([&] {
        host.postKeyPress(mainNative(), 'S', false, true);
        host.postKeyPress(mainNative(), vk::F12);
        host.postCloseRequest(mainNative());
    });
    app.Run();
    // Releases are not shortcuts; a consumed key never reaches the window's own key handling.
    EXPECT_EQ(log, (std::vector<std::string>{"shortcut 16467", "key 16467", "shortcut 123"}));
}

TEST_F(ApplicationLoopTest, InitialShowStateFollowsTheStartCommand) {
    struct Case {
        int command;
        WindowState state;
        bool active;
    };
    for (const Case& c : {Case{3, WindowState::Maximized, true}, Case{7, WindowState::Minimized, false},
                          Case{2, WindowState::Normal, true}, Case{6, WindowState::Normal, true},
                          Case{10, WindowState::Normal, true}}) {
        HeadlessHost localHost;
        localHost.setInitialShowCommand(c.command);
        TApplication localApp(localHost);
        LoopForm* form = nullptr;
        localApp.CreateForm(form);
        localHost.whenIdle([&] {
            EXPECT_TRUE(form->Native()->visible()) << c.command;
            EXPECT_EQ(form->Native()->state(), c.state) << c.command;
            EXPECT_EQ(localHost.activeWindow() == form->Native(), c.active) << c.command;
            localApp.Terminate();
        });
        localApp.Run();
    }
}

TEST_F(ApplicationLoopTest, CommandStatesUpdateOnlyForVisibleEnabledWindows) {
    createMain();
    LoopForm* hidden = nullptr;
    LoopForm* disabled = nullptr;
    app.CreateForm(hidden);
    app.CreateForm(disabled);
    disabled->Show();
    disabled->SetEnabled(false);
    host.whenIdle([&] { app.Terminate(); });
    app.Run();
    EXPECT_EQ(main->updates, 1);
    EXPECT_EQ(hidden->updates, 0);
    EXPECT_EQ(disabled->updates, 0);
}

TEST(ApplicationLoop, AnErrorInTheCommandStateUpdateIsShownAndTheLoopGoesOn) {
    HeadlessHost host;
    host.setExecutablePath("/opt/MyEditor.exe");
    TApplication app(host);
    LoopForm* main = nullptr;
    app.CreateForm(main);
    main->onUpdate = [&] {
        if (main->updates == 1) throw EInvalidOperation("Update failed");
    };
    host.whenIdle([&] { app.Terminate(); });
    app.Run();
    ASSERT_EQ(host.messageBoxes().size(), 1u);
    EXPECT_EQ(host.messageBoxes()[0].request.text, "Update failed.");
    EXPECT_EQ(host.messageBoxes()[0].request.caption, "Myeditor");
    EXPECT_EQ(main->updates, 1) << "the update of that idle step was abandoned, and the loop waited";
    EXPECT_EQ(host.waitCount(), 1u);
}

TEST_F(ApplicationLoopTest, AnErrorInTheCommandStateUpdateEndsThatStepBeforeTheNextWindow) {
    createMain();
    LoopForm* second = nullptr;
    app.CreateForm(second);
    second->Show();
    main->onUpdate = [&] {
        if (main->updates == 1) throw EInvalidOperation("Update failed");
    };
    host.whenIdle([&] { host.post([] {}); });  // after the failed step, one more message
    host.whenIdle([&] { app.Terminate(); });
    app.Run();
    EXPECT_EQ(host.messageBoxes().size(), 1u);
    EXPECT_EQ(main->updates, 2);
    EXPECT_EQ(second->updates, 1) << "the failed step skipped the window after the failing one";
}

// A window-less control that reports the pointer coming and going.
class TrackedControl : public TGraphicControl {
public:
    TrackedControl(TWinControl& parent, std::vector<std::string>& log, std::string name)
        : TGraphicControl(&parent), log_(log), name_(std::move(name)) {
        SetParent(&parent);
    }
    void MouseEntered() override { log_.push_back("enter " + name_); }
    void MouseLeft() override { log_.push_back("leave " + name_); }
    std::string ApplicationHint() const override { return name_ + " hint"; }

private:
    std::vector<std::string>& log_;
    std::string name_;
};

TEST_F(ApplicationLoopTest, MouseTrackingTellsControlsAndAnnouncesOnlyHintChanges) {
    createMain();
    std::vector<std::string> log;
    auto* a = new TrackedControl(*main, log, "a");
    a->SetBounds(10, 10, 50, 20);
    auto* b = new TrackedControl(*main, log, "b");
    b->SetBounds(100, 10, 50, 20);
    b->SetEnabled(false);
    main->SetHint("form hint");
    int announcements = 0;
    app.OnHint = [&] { ++announcements; };

    auto pointAt = [&](Point client) { host.setPointerPosition(mainNative().clientToScreen(client)); };
    auto step = [&](std::function<void()> move) {
        host.whenIdle([move, this] { host.post(move); });
    };
    pointAt({15, 15});
    step([&] { EXPECT_EQ(app.Hint(), "a hint"); pointAt({20, 20}); });
    step([&] { pointAt({105, 15}); });
    step([&] { EXPECT_EQ(app.Hint(), "b hint"); pointAt({300, 200}); });
    step([&] { EXPECT_EQ(app.Hint(), "form hint"); host.setPointerPosition({-50, -50}); });
    host.whenIdle([&] { app.Terminate(); });
    app.Run();

    EXPECT_EQ(app.Hint(), "");
    // Moving within a control changes nothing; a disabled control is still tracked.
    EXPECT_EQ(log, (std::vector<std::string>{"enter a", "leave a", "enter b", "leave b"}));
    EXPECT_EQ(announcements, 4);
    EXPECT_EQ(app.MouseControl(), nullptr);
}

TEST_F(ApplicationLoopTest, ATrackedControlThatIsDestroyedIsForgotten) {
    createMain();
    std::vector<std::string> log;
    // Inside a container that goes with everything it holds.
    auto* panel = new TWinControl(main);
    panel->SetParent(main);
    panel->SetBounds(0, 0, 100, 100);
    auto* a = new TrackedControl(*panel, log, "a");
    a->SetBounds(0, 0, 50, 50);
    host.setPointerPosition(mainNative().clientToScreen({5, 5}));
    host.whenIdle([&] {
        EXPECT_EQ(app.MouseControl(), static_cast<MouseTarget*>(a));
        host.post([&] { delete panel; });
    });
    host.whenIdle([&] { app.Terminate(); });
    app.Run();
    EXPECT_EQ(log, (std::vector<std::string>{"enter a"}));
    EXPECT_EQ(app.MouseControl(), static_cast<MouseTarget*>(main));
}

TEST_F(ApplicationLoopTest, InputThatEndsATooltipIsAnnouncedBeforeDelivery) {
    createMain();
    std::vector<std::string> log;
    app.OnCancelHint = [&] { log.push_back("cancel"); };
    main->OnKeyDown = [&](const KeyEvent&) { log.push_back("key"); };
    host.whenIdle([&] {
        log.clear();
        host.postKeyPress(mainNative(), 'A');
        host.post([&] { app.Terminate(); });
    });
    app.Run();
    EXPECT_EQ(log, (std::vector<std::string>{"cancel", "key", "cancel"}));
}

}  // namespace
}  // namespace zozuz
