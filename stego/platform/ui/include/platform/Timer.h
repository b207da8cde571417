// A running timer made by a TimerFactory; it stops when stopped or destroyed.
#pragma once

namespace stego::platform {

class Timer {
public:
    virtual ~Timer() = default;
    virtual void stop() = 0;
    virtual bool isRunning() const = 0;
};

}  // namespace stego::platform
