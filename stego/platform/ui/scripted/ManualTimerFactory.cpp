#include "platform/ManualTimerFactory.h"

namespace stego::platform {

struct ManualTimerFactory::Entry {
    std::function<void()> onTick;
    bool running = true;
};

namespace {

class ManualTimer : public Timer {
public:
    ManualTimer(QList<ManualTimerFactory::Entry*>& live, std::function<void()> onTick)
        : m_live(live), m_entry(new ManualTimerFactory::Entry{std::move(onTick)}) {
        m_live.append(m_entry);
    }
    ~ManualTimer() override {
        m_live.removeOne(m_entry);
        delete m_entry;
    }
    ManualTimer(const ManualTimer&) = delete;
    ManualTimer& operator=(const ManualTimer&) = delete;

    void stop() override { m_entry->running = false; }
    bool isRunning() const override { return m_entry->running; }

private:
    QList<ManualTimerFactory::Entry*>& m_live;
    ManualTimerFactory::Entry* m_entry;
};

}  // namespace

ManualTimerFactory::ManualTimerFactory() = default;
ManualTimerFactory::~ManualTimerFactory() = default;

std::unique_ptr<Timer> ManualTimerFactory::start(int intervalMs, std::function<void()> onTick) {
    m_intervals.append(intervalMs);
    return std::make_unique<ManualTimer>(m_live, std::move(onTick));
}

void ManualTimerFactory::tick() {
    // A tick may destroy timers (a window closing), so take the list first and
    // check each entry is still alive before calling it.
    const QList<Entry*> now = m_live;
    for (Entry* entry : now) {
        if (m_live.contains(entry) && entry->running) {
            const auto onTick = entry->onTick;  // the call may destroy the entry
            onTick();
        }
    }
}

int ManualTimerFactory::runningCount() const {
    int count = 0;
    for (const Entry* entry : m_live)
        count += entry->running ? 1 : 0;
    return count;
}

}  // namespace stego::platform
