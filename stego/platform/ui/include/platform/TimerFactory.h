// Timers for the windows; tests make their ticks by hand instead of waiting.
#pragma once

#include <functional>
#include <memory>

#include "platform/Timer.h"

namespace stego::platform {

class TimerFactory {
public:
    virtual ~TimerFactory() = default;
    /// Starts a timer that calls onTick every intervalMs milliseconds.
    virtual std::unique_ptr<Timer> start(int intervalMs, std::function<void()> onTick) = 0;
};

}  // namespace stego::platform
