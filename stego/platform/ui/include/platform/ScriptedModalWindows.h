// Modal windows for tests: each window shown runs the next scripted action
// (clicking its buttons, say) and is then closed; unscripted windows just close.
#pragma once

#include <QStringList>
#include <deque>
#include <functional>

#include "platform/ModalWindows.h"

namespace stego::platform {

class ScriptedModalWindows : public ModalWindows {
public:
    using Action = std::function<void(QDialog&)>;

    void then(Action action) { m_actions.push_back(std::move(action)); }

    void runModal(QDialog& window) override;

    /// The object names of the windows shown, in order.
    const QStringList& shown() const { return m_shown; }

private:
    std::deque<Action> m_actions;
    QStringList m_shown;
};

}  // namespace stego::platform
