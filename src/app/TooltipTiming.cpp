#include "app/TooltipTiming.h"

#include "app/MouseTarget.h"

namespace zozuz {

TooltipTiming::TooltipTiming(OneShotTimers& timers) : timers_(timers) {}

TooltipTiming::~TooltipTiming() { timers_.StopTimer(timer_); }

void TooltipTiming::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (!enabled) {
        cancel();
        phase_ = Phase::None;
        control_ = nullptr;
    }
}

void TooltipTiming::PointerAt(const MouseTarget* control, Point pointer, bool programActive) {
    if (!enabled_) return;
    if (!control || !programActive) {
        // Off the program's controls, or while another program is active: nothing is remembered,
        // so coming back waits the full pause.
        cancel();
        phase_ = Phase::None;
        control_ = nullptr;
        return;
    }
    const MouseTarget* owner = control->TooltipControl();
    if (owner && owner == control_) {
        // Moving within the same control shows nothing new; a pause that runs follows the pointer.
        if (phase_ == Phase::Waiting) position_ = pointer;
        return;
    }
    std::string text = owner ? owner->TooltipText() : std::string();
    if (!owner || text.empty()) {
        cancel();
        phase_ = owner ? Phase::Over : Phase::None;
        control_ = owner;
        return;
    }
    stop();
    control_ = owner;
    text_ = std::move(text);
    position_ = pointer;
    startPause();
}

void TooltipTiming::Cancel() { cancel(); }

void TooltipTiming::Forget(const MouseTarget* control) {
    if (!control || control != control_) return;
    stop();
    phase_ = Phase::None;
    control_ = nullptr;
}

void TooltipTiming::startPause() {
    phase_ = Phase::Waiting;
    timer_ = timers_.StartTimer(quick_ ? kNextPause : kFirstPause, [this] { pauseOver(); });
    // Without a timer there is no tooltip; nothing is reported.
    if (timer_ == 0) cancel();
}

void TooltipTiming::pauseOver() {
    timer_ = 0;
    if (phase_ != Phase::Waiting) return;
    phase_ = Phase::Shown;
    quick_ = true;
    if (view_) view_->ShowTooltip(text_, position_);
    timer_ = timers_.StartTimer(kShowTime, [this] { showTimeOver(); });
    if (timer_ == 0) cancel();
}

void TooltipTiming::showTimeOver() {
    timer_ = 0;
    if (phase_ != Phase::Shown) return;
    phase_ = Phase::Over;
    if (view_) view_->HideTooltip();
}

void TooltipTiming::stop() {
    timers_.StopTimer(timer_);
    timer_ = 0;
    if (phase_ == Phase::Shown && view_) view_->HideTooltip();
    if (phase_ == Phase::Waiting || phase_ == Phase::Shown) phase_ = Phase::Over;
}

void TooltipTiming::cancel() {
    stop();
    quick_ = false;
}

}  // namespace zozuz
