#pragma once

#include <cstdint>
#include <string>

#include "app/OneShotTimers.h"
#include "app/TooltipView.h"
#include "platform/gfx/Geometry.h"

namespace zozuz {

class MouseTarget;

// When the program's tooltips show and hide. The idle step tells it which control is under the
// pointer; the input that ends a tooltip cancels it. The first tooltip shows after the pointer has
// rested 500 ms on a control; once one has shown, moving straight onto another control with a
// tooltip shows that one at once, even after the first has hidden itself, until a cancel. A tooltip
// hides itself after 2500 ms and does not show again while the pointer stays on its control.
//
// A cancel (key, mouse button or wheel, menu command, window frame, activation, a place without
// tooltip, off the program's controls, or no window of the program active) hides the tooltip and
// makes the next one wait the full pause again. The control the pointer rests on at a cancel does
// not show its tooltip again until the pointer has been elsewhere, so typing or clicking on a
// button does not bring it back. Off the program's controls, and while none of its windows is
// active, nothing is remembered: coming back, or the program's activation, starts a new pause.
//
// The model keeps no pointers it dereferences later: the control it waits for is only compared
// with the one under the pointer, and the text is taken when the pause starts.
class TooltipTiming {
public:
    static constexpr int kFirstPause = 500;
    static constexpr int kNextPause = 0;
    static constexpr int kShowTime = 2500;

    explicit TooltipTiming(OneShotTimers& timers);
    ~TooltipTiming();
    TooltipTiming(const TooltipTiming&) = delete;
    TooltipTiming& operator=(const TooltipTiming&) = delete;

    // Where tooltips are shown; null shows them nowhere (the state below still follows the timing).
    void SetView(TooltipView* view) { view_ = view; }

    // The application-wide switch, on from the start. Switching it off hides the tooltip at once and
    // ignores the pointer until it is switched on again.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // The idle step: the control under the pointer (null when the pointer is over none of the
    // program's controls), the pointer's screen position, and whether one of the program's windows
    // is the active window.
    void PointerAt(const MouseTarget* control, Point pointer, bool programActive);
    // Input that ends tooltips arrived.
    void Cancel();
    // A control is about to be destroyed; the timing stops waiting for it.
    void Forget(const MouseTarget* control);

    // What shows now.
    bool Showing() const { return phase_ == Phase::Shown; }
    const std::string& Text() const { return text_; }
    Point Position() const { return position_; }

private:
    enum class Phase : std::uint8_t {
        // No tooltip control under the pointer.
        None,
        // The pause before showing runs.
        Waiting,
        // The tooltip shows; the timer to hide it runs.
        Shown,
        // The tooltip control under the pointer has shown its tooltip, or been cancelled.
        Over,
    };

    void startPause();
    void pauseOver();
    void showTimeOver();
    // Stops the running timer and hides a tooltip that shows.
    void stop();
    void cancel();

    OneShotTimers& timers_;
    TooltipView* view_ = nullptr;
    bool enabled_ = true;
    Phase phase_ = Phase::None;
    // The control whose tooltip the timing is about (compared, never dereferenced); null exactly
    // when the phase is None.
    const MouseTarget* control_ = nullptr;
    // A tooltip has shown since the last cancel: the next one shows without a pause.
    bool quick_ = false;
    // The running timer, 0 for none; one runs exactly while Waiting or Shown.
    OneShotTimers::TimerId timer_ = 0;
    std::string text_;
    Point position_;
};

}  // namespace zozuz
