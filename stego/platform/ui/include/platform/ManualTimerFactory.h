// Timers for tests: nothing ticks until the test calls tick().
#pragma once

#include <QList>

#include "platform/TimerFactory.h"

namespace stego::platform {

class ManualTimerFactory : public TimerFactory {
public:
    ManualTimerFactory();
    ~ManualTimerFactory() override;
    ManualTimerFactory(const ManualTimerFactory&) = delete;
    ManualTimerFactory& operator=(const ManualTimerFactory&) = delete;

    std::unique_ptr<Timer> start(int intervalMs, std::function<void()> onTick) override;

    /// One tick of every timer that is running now.
    void tick();
    /// The intervals of the timers started so far, in order.
    const QList<int>& startedIntervals() const { return m_intervals; }
    int runningCount() const;

    struct Entry;

private:
    QList<int> m_intervals;
    QList<Entry*> m_live;
};

}  // namespace stego::platform
