// The splash window the program starts with; on the second tick of its timer
// it hands over to the main window's start-up.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/Timer.h"
#include "platform/TimerFactory.h"

namespace stego::shell {

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTimer1Interval = 1000;

    SplashWindow(platform::TimerFactory& timers, std::function<void()> onSecondTick, QWidget* parent = nullptr);

    std::int16_t SplashTicks() const { return m_SplashTicks; }
    /// Stops the ticks for good (the splash has done its work).
    void stopTimer();

private:
    void onTimer1();

    std::function<void()> m_onSecondTick;
    std::int16_t m_SplashTicks = 0;
    std::unique_ptr<platform::Timer> m_Timer1;
};

}  // namespace stego::shell
