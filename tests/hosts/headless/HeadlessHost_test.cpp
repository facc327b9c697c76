#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hosts/headless/HeadlessHost.h"

namespace zozuz {
namespace {

// Writes down every event a window receives.
class RecordingClient : public WindowClient {
public:
    std::vector<std::string> log;
    bool consumeKeys = false;

    bool keyPreview(const KeyEvent& key) override {
        log.push_back("preview " + std::to_string(key.keyCode()) + (key.kind == KeyEvent::Kind::Up ? " up" : ""));
        return consumeKeys;
    }
    void keyPress(const KeyEvent& key) override {
        log.push_back("key " + std::to_string(key.keyCode()) + (key.kind == KeyEvent::Kind::Up ? " up" : ""));
    }
    void closeRequest() override { log.push_back("close"); }
    void paint(Surface&, const Rect& area) override {
        log.push_back("paint " + std::to_string(area.left) + "," + std::to_string(area.top) + "," +
                      std::to_string(area.right) + "," + std::to_string(area.bottom));
    }
    void activated(bool active) override { log.push_back(active ? "activated" : "deactivated"); }
};

class HeadlessHostTest : public ::testing::Test {
protected:
    std::unique_ptr<NativeWindow> makeWindow(RecordingClient& client, Rect bounds = {100, 100, 300, 250}) {
        WindowOptions options;
        options.bounds = bounds;
        return host.createWindow(client, options);
    }
    void drain() {
        while (host.pumpOne() != Host::PumpResult::Empty) {
        }
    }

    HeadlessHost host;
};

TEST_F(HeadlessHostTest, KeysGoToThePreviewFirstAndOnlyUnconsumedOnesGoOn) {
    RecordingClient client;
    auto window = makeWindow(client);
    window->show();
    drain();
    client.log.clear();

    host.postKeyPress(*window, 'N', false, true);
    drain();
    const std::string ctrlN = std::to_string(kCtrlBit | 'N');
    EXPECT_EQ(client.log, (std::vector<std::string>{"preview " + ctrlN, "key " + ctrlN, "preview " + ctrlN + " up",
                                                     "key " + ctrlN + " up"}));

    client.log.clear();
    client.consumeKeys = true;
    host.postKeyPress(*window, vk::F12);
    drain();
    EXPECT_EQ(client.log, (std::vector<std::string>{"preview 123", "preview 123 up"}));
}

TEST_F(HeadlessHostTest, InputForHiddenOrDisabledWindowsIsDropped) {
    RecordingClient client;
    auto window = makeWindow(client);
    host.postCloseRequest(*window);  // hidden
    window->show();
    window->setEnabled(false);
    host.postKeyPress(*window, 'A');
    host.postCloseRequest(*window);
    drain();
    for (const std::string& entry : client.log) EXPECT_TRUE(entry.rfind("paint", 0) == 0) << entry;
    EXPECT_EQ(host.droppedInputs(), 4u);
}

TEST_F(HeadlessHostTest, QuitComesAfterTheEventsAlreadyWaiting) {
    std::vector<int> order;
    host.post([&] { order.push_back(1); });
    host.postQuit();
    host.post([&] { order.push_back(2); });
    EXPECT_EQ(host.pumpOne(), Host::PumpResult::Handled);
    EXPECT_EQ(host.pumpOne(), Host::PumpResult::Quit);
    EXPECT_EQ(order, std::vector<int>{1});
    EXPECT_EQ(host.pumpOne(), Host::PumpResult::Handled);
    EXPECT_EQ(host.pumpOne(), Host::PumpResult::Empty);
}

TEST_F(HeadlessHostTest, DeferredPaintsMergeAndWaitForOtherEvents) {
    RecordingClient client;
    auto window = makeWindow(client);  // client area 192 x 123
    window->show();
    drain();
    client.log.clear();

    window->invalidate({10, 10, 20, 20});
    window->invalidate({50, 5, 60, 15});
    window->invalidate({-5, 100, 500, 500});  // clipped to the client area
    host.post([&] { client.log.push_back("task"); });
    drain();
    EXPECT_EQ(client.log, (std::vector<std::string>{"task", "paint 0,5,192,123"}));
}

TEST_F(HeadlessHostTest, HiddenWindowsKeepTheirPaintUntilShown) {
    RecordingClient client;
    auto window = makeWindow(client);
    window->invalidateAll();
    drain();
    EXPECT_TRUE(client.log.empty());
    window->show();
    drain();
    EXPECT_EQ(client.log, (std::vector<std::string>{"paint 0,0,192,123"}));
}

TEST_F(HeadlessHostTest, TimersFireInDueOrderOnlyWhenTheClockReachesThem) {
    std::vector<int> fired;
    host.startTimer(500, [&] { fired.push_back(500); });
    host.startTimer(100, [&] { fired.push_back(100); });
    const auto stopped = host.startTimer(200, [&] { fired.push_back(200); });
    host.startTimer(2500, [&] { fired.push_back(2500); });
    host.stopTimer(stopped);

    host.advanceClock(99);
    drain();
    EXPECT_TRUE(fired.empty());
    host.advanceClock(1000);
    drain();
    EXPECT_EQ(fired, (std::vector<int>{100, 500}));
    EXPECT_EQ(host.activeTimers(), 1u);

    // A timer stopped after it came due but before its message was taken does not fire.
    const auto late = host.startTimer(0, [&] { fired.push_back(0); });
    host.advanceClock(0);
    host.stopTimer(late);
    drain();
    EXPECT_EQ(fired, (std::vector<int>{100, 500}));
}

TEST_F(HeadlessHostTest, WaitRunsTheScriptOnlyWhenTheQueueIsEmpty) {
    host.post([] {});
    host.waitForEvent();
    EXPECT_EQ(host.waitsWithEventsPending(), 1u);
    drain();

    bool ran = false;
    host.whenIdle([&] {
        ran = true;
        host.post([] {});
    });
    host.waitForEvent();
    EXPECT_TRUE(ran);
    EXPECT_EQ(host.pendingEvents(), 1u);
    drain();
    EXPECT_THROW(host.waitForEvent(), HeadlessWouldBlock);
}

TEST_F(HeadlessHostTest, ActivationNotifiesBothWindowsAndHidingTheActiveOneDeactivatesIt) {
    RecordingClient a, b;
    auto first = makeWindow(a);
    auto second = makeWindow(b, {150, 150, 250, 250});
    first->activate();
    EXPECT_EQ(host.activeWindow(), nullptr) << "a hidden window cannot be activated";
    first->show();
    second->show();
    first->activate();
    second->activate();
    EXPECT_EQ(host.activeWindow(), second.get());
    second->hide();
    EXPECT_EQ(host.activeWindow(), nullptr);
    EXPECT_EQ(a.log, (std::vector<std::string>{"activated", "deactivated"}));
    EXPECT_EQ(b.log, (std::vector<std::string>{"activated", "deactivated"}));
}

TEST_F(HeadlessHostTest, WindowAtFindsTheTopmostVisibleWindow) {
    RecordingClient a, b;
    auto lower = makeWindow(a, {0, 0, 200, 200});
    auto upper = makeWindow(b, {100, 100, 300, 300});
    lower->show();
    upper->show();
    EXPECT_EQ(host.windowAt({150, 150}), upper.get());
    lower->activate();
    EXPECT_EQ(host.windowAt({150, 150}), lower.get());
    EXPECT_EQ(host.windowAt({250, 250}), upper.get());
    upper->hide();
    EXPECT_EQ(host.windowAt({250, 250}), nullptr);
}

TEST_F(HeadlessHostTest, ClientAreaFollowsTheFrame) {
    RecordingClient client;
    auto window = makeWindow(client, {10, 20, 110, 220});
    EXPECT_EQ(window->clientSize(), (Size{92, 173}));
    EXPECT_EQ(window->screenToClient({14, 43}), (Point{0, 0}));
    window->setFrame(WindowFrame::Dialog);
    window->setClientSize({298, 209});
    EXPECT_EQ(window->bounds(), (Rect{10, 20, 10 + 304, 20 + 234}));
    auto& headless = static_cast<HeadlessWindow&>(*window);
    EXPECT_EQ(headless.image().width(), 298);
    EXPECT_EQ(headless.image().height(), 209);
}

TEST_F(HeadlessHostTest, MessageBoxesTakeScriptedAnswersAndAreRecorded) {
    RecordingClient client;
    auto window = makeWindow(client);
    window->show();
    MessageBoxRequest request;
    request.owner = window.get();
    request.caption = "c";
    request.text = "t";
    request.buttons = MessageBoxButtons::YesNoCancel;
    EXPECT_EQ(host.messageBox(request), MessageBoxResult::Yes) << "unscripted: the first button";
    host.scriptMessageBoxAnswer(MessageBoxResult::Cancel);
    EXPECT_EQ(host.messageBox(request), MessageBoxResult::Cancel);
    window->setEnabled(false);
    host.messageBox(request);
    ASSERT_EQ(host.messageBoxes().size(), 3u);
    EXPECT_EQ(host.messageBoxes()[0].enabledWindows, std::vector<NativeWindow*>{window.get()});
    EXPECT_TRUE(host.messageBoxes()[2].enabledWindows.empty());
    EXPECT_EQ(host.messageBoxes()[1].answer, MessageBoxResult::Cancel);
}

TEST_F(HeadlessHostTest, ShellCallsAreRecorded) {
    host.setOpenAddressResult(false);
    EXPECT_FALSE(host.openAddress("mailto:someone@example.com", nullptr));
    ASSERT_EQ(host.shellCalls().size(), 1u);
    EXPECT_EQ(host.shellCalls()[0].address, "mailto:someone@example.com");
}

TEST_F(HeadlessHostTest, DestroyingAWindowDropsItsQueuedInput) {
    RecordingClient client;
    auto window = makeWindow(client);
    window->show();
    host.postKeyPress(*window, 'A');
    window.reset();
    EXPECT_EQ(host.pendingEvents(), 0u);
    EXPECT_TRUE(host.windows().empty());
}

}  // namespace
}  // namespace zozuz
