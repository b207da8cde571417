// Timers driven by the Qt event loop.
#pragma once

#include "platform/TimerFactory.h"

namespace stego::platform {

class QtTimerFactory : public TimerFactory {
public:
    std::unique_ptr<Timer> start(int intervalMs, std::function<void()> onTick) override;
};

}  // namespace stego::platform
