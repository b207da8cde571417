#include "platform/QtTimerFactory.h"

#include <QTimer>

namespace stego::platform {

namespace {

class QtTimer : public Timer {
public:
    QtTimer(int intervalMs, std::function<void()> onTick) {
        m_timer.setInterval(intervalMs);
        QObject::connect(&m_timer, &QTimer::timeout, std::move(onTick));
        m_timer.start();
    }
    void stop() override { m_timer.stop(); }
    bool isRunning() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

}  // namespace

std::unique_ptr<Timer> QtTimerFactory::start(int intervalMs, std::function<void()> onTick) {
    return std::make_unique<QtTimer>(intervalMs, std::move(onTick));
}

}  // namespace stego::platform
