#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/MouseTarget.h"
#include "app/OneShotTimers.h"
#include "app/TooltipTiming.h"
#include "app/TooltipView.h"
#include "hosts/headless/HeadlessHost.h"

namespace zozuz {
namespace {

// The headless host's timers, which run on its manual clock, with a way to make them fail.
class ManualTimers : public OneShotTimers {
public:
    explicit ManualTimers(HeadlessHost& host) : host_(host) {}
    TimerId StartTimer(int milliseconds, std::function<void()> callback) override {
        if (refuseAfter == 0) return 0;
        if (refuseAfter > 0) --refuseAfter;
        return host_.startTimer(milliseconds, std::move(callback));
    }
    void StopTimer(TimerId id) override {
        if (id != 0) host_.stopTimer(id);
    }
    // How many more timers start; negative for all.
    int refuseAfter = -1;

private:
    HeadlessHost& host_;
};

class RecordingView : public TooltipView {
public:
    void ShowTooltip(const std::string& text, Point pointer) override {
        log.push_back("show " + text + " at " + std::to_string(pointer.x) + "," + std::to_string(pointer.y));
    }
    void HideTooltip() override { log.push_back("hide"); }
    std::vector<std::string> log;
};

// A place under the pointer: it shows its own tooltip, a parent's, or none.
class Spot : public MouseTarget {
public:
    explicit Spot(std::string text) : text_(std::move(text)), owner_(this) {}
    explicit Spot(const MouseTarget* owner) : owner_(owner) {}
    const MouseTarget* TooltipControl() const override { return owner_; }
    std::string TooltipText() const override { return text_; }

private:
    std::string text_;
    const MouseTarget* owner_;
};

class TooltipTimingTest : public ::testing::Test {
protected:
    TooltipTimingTest() { timing.SetView(&view); }

    // The idle step with the pointer over `spot` (null: over none of the program's controls).
    void at(const MouseTarget* spot, Point pointer = {10, 20}, bool active = true) {
        timing.PointerAt(spot, pointer, active);
    }
    // Lets time pass and delivers the timers that came due.
    void wait(int milliseconds) {
        host.advanceClock(milliseconds);
        while (host.pumpOne() != Host::PumpResult::Empty) {
        }
    }
    std::vector<std::string> takeLog() {
        std::vector<std::string> log = std::move(view.log);
        view.log.clear();
        return log;
    }

    HeadlessHost host;
    ManualTimers timers{host};
    RecordingView view;
    TooltipTiming timing{timers};
    Spot cut{"Cut (Ctrl+X)"};
    Spot copy{"复制选定内容并将它放入剪贴板 (Ctrl+C)"};
    Spot paste{"插入剪贴板内容 (Ctrl+V)"};
    Spot editor{static_cast<const MouseTarget*>(nullptr)};
    Spot toolbarBackground{""};
    Spot insideCut{&cut};
};

TEST_F(TooltipTimingTest, TheFirstTooltipWaitsHalfASecondAndHidesItselfAfterTwoAndAHalf) {
    at(&cut, {10, 20});
    wait(300);
    at(&cut, {12, 21});  // moving within the control
    wait(199);
    EXPECT_FALSE(timing.Showing());
    wait(1);
    EXPECT_TRUE(timing.Showing());
    EXPECT_EQ(timing.Text(), "Cut (Ctrl+X)");
    EXPECT_EQ(takeLog(), (std::vector<std::string>{"show Cut (Ctrl+X) at 12,21"}));
    wait(2499);
    EXPECT_TRUE(timing.Showing());
    wait(1);
    EXPECT_FALSE(timing.Showing());
    EXPECT_EQ(takeLog(), (std::vector<std::string>{"hide"}));
    // It does not show again while the pointer stays on the same control, nor on a part of it
    // whose tooltip is the control's own.
    at(&cut);
    at(&insideCut);
    wait(5000);
    EXPECT_TRUE(takeLog().empty());
    EXPECT_EQ(host.activeTimers(), 0u);
}

TEST_F(TooltipTimingTest, MovingStraightToAnotherControlShowsItsTooltipAtOnceUntilACancel) {
    at(&cut);
    wait(500);
    at(&copy, {40, 20});
    wait(0);
    // Even after the tooltip has hidden itself.
    wait(2500);
    at(&paste, {60, 20});
    wait(0);
    EXPECT_EQ(takeLog(), (std::vector<std::string>{"show Cut (Ctrl+X) at 10,20", "hide",
                                                   "show 复制选定内容并将它放入剪贴板 (Ctrl+C) at 40,20", "hide",
                                                   "show 插入剪贴板内容 (Ctrl+V) at 60,20"}));
    timing.Cancel();
    EXPECT_EQ(takeLog(), (std::vector<std::string>{"hide"}));
    at(&cut);
    wait(499);
    EXPECT_TRUE(takeLog().empty());
    wait(1);
    EXPECT_EQ(takeLog(), (std::vector<std::string>{"show Cut (Ctrl+X) at 10,20"}));
}

TEST_F(TooltipTimingTest, EveryCancelHidesTheTooltipAndTheNextOneWaitsAgain) {
    const std::vector<std::pair<std::string, std::function<void()>>> cancels = {
        {"input that ends tooltips", [&] { timing.Cancel(); }},
        {"a control without tooltip", [&] { at(&editor); }},
        {"a place with an empty tooltip", [&] { at(&toolbarBackground); }},
        {"off the program's controls", [&] { at(nullptr); }},
        {"no window of the program active", [&] { at(&copy, {10, 20}, false); }},
    };
    for (const auto& [name, cancel] : cancels) {
        SCOPED_TRACE(name);
        at(&paste);  // somewhere else first, so that Cut counts as new
        timing.Cancel();
        at(&cut);
        wait(500);
        ASSERT_TRUE(timing.Showing());
        takeLog();
        cancel();
        EXPECT_FALSE(timing.Showing());
        EXPECT_EQ(takeLog(), (std::vector<std::string>{"hide"}));
        at(&copy);
        wait(499);
        EXPECT_FALSE(timing.Showing());
        wait(1);
        EXPECT_TRUE(timing.Showing());
        timing.Cancel();
        takeLog();
    }
}

TEST_F(TooltipTimingTest, ACancelWhileWaitingStopsThePauseAndTheControlStaysQuiet) {
    at(&cut);
    wait(200);
    // A key press or a click on the button: no tooltip comes back while the pointer stays there.
    timing.Cancel();
    EXPECT_EQ(host.activeTimers(), 0u);
    at(&cut);
    wait(5000);
    EXPECT_TRUE(takeLog().empty());
    at(&copy);
    wait(500);
    EXPECT_EQ(takeLog(), (std::vector<std::string>{"show 复制选定内容并将它放入剪贴板 (Ctrl+C) at 10,20"}));
}

TEST_F(TooltipTimingTest, ATimerThatCannotStartCancelsTheTooltipQuietly) {
    timers.refuseAfter = 0;
    at(&cut);
    wait(1000);
    EXPECT_FALSE(timing.Showing());
    EXPECT_TRUE(takeLog().empty());
    EXPECT_EQ(host.activeTimers(), 0u);

    // The pause starts, but the timer that would hide the tooltip does not: it hides at once, and
    // the next control waits the full pause again.
    timers.refuseAfter = 1;
    at(&copy);
    wait(500);
    EXPECT_FALSE(timing.Showing());
    EXPECT_EQ(takeLog(), (std::vector<std::string>{"show 复制选定内容并将它放入剪贴板 (Ctrl+C) at 10,20", "hide"}));
    timers.refuseAfter = -1;
    at(&paste);
    wait(499);
    EXPECT_FALSE(timing.Showing());
    wait(1);
    EXPECT_TRUE(timing.Showing());
}

TEST_F(TooltipTimingTest, AForgottenControlIsNoLongerWaitedFor) {
    at(&cut);
    timing.Forget(&copy);  // another control: nothing changes
    EXPECT_EQ(host.activeTimers(), 1u);
    timing.Forget(&cut);
    EXPECT_EQ(host.activeTimers(), 0u);
    wait(1000);
    EXPECT_TRUE(takeLog().empty());
    // A shown tooltip of a control that goes away hides with it.
    at(&copy);
    wait(500);
    timing.Forget(&copy);
    EXPECT_EQ(takeLog(), (std::vector<std::string>{"show 复制选定内容并将它放入剪贴板 (Ctrl+C) at 10,20", "hide"}));
}

TEST_F(TooltipTimingTest, SwitchedOffNothingShowsAndTimersStop) {
    at(&cut);
    wait(500);
    takeLog();
    timing.SetEnabled(false);
    EXPECT_EQ(takeLog(), (std::vector<std::string>{"hide"}));
    EXPECT_EQ(host.activeTimers(), 0u);
    at(&copy);
    wait(1000);
    EXPECT_TRUE(takeLog().empty());
    timing.SetEnabled(true);
    at(&copy);
    wait(500);
    EXPECT_TRUE(timing.Showing());
}

TEST_F(TooltipTimingTest, NothingShowsWhileAnotherProgramIsActiveAndActivationStartsAFreshPause) {
    at(&cut, {10, 20}, false);
    wait(1000);
    EXPECT_TRUE(takeLog().empty());
    timing.Cancel();  // the program's window is activated
    at(&cut);
    wait(499);
    EXPECT_FALSE(timing.Showing());
    wait(1);
    EXPECT_TRUE(timing.Showing());
}

TEST_F(TooltipTimingTest, DestroyingTheTimingStopsItsTimer) {
    auto own = std::make_unique<TooltipTiming>(timers);
    own->PointerAt(&cut, {0, 0}, true);
    EXPECT_EQ(host.activeTimers(), 1u);
    own.reset();
    EXPECT_EQ(host.activeTimers(), 0u);
}

}  // namespace
}  // namespace zozuz
