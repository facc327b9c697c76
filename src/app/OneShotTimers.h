#pragma once

#include <cstdint>
#include <functional>

namespace zozuz {

// One-shot timers delivered to the user-interface thread, as a model that waits asks for them: the
// model never reads a clock, it only learns that its pause is over. The application hands out the
// host's timers; tests drive them with the headless host's manual clock.
class OneShotTimers {
public:
    using TimerId = std::uint64_t;

    virtual ~OneShotTimers() = default;

    // Runs `callback` once, from the event loop, no sooner than `milliseconds` from now. Returns 0,
    // and the callback never runs, when no timer can be started.
    virtual TimerId StartTimer(int milliseconds, std::function<void()> callback) = 0;
    // Cancels a timer that has not fired yet; 0, an unknown or a fired timer is ignored.
    virtual void StopTimer(TimerId id) = 0;
};

}  // namespace zozuz
