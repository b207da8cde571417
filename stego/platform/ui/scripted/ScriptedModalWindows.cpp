#include "platform/ScriptedModalWindows.h"

#include <QDialog>

namespace stego::platform {

void ScriptedModalWindows::runModal(QDialog& window) {
    m_shown.append(window.objectName());
    window.setModal(true);
    window.show();
    if (!m_actions.empty()) {
        Action action = std::move(m_actions.front());
        m_actions.pop_front();
        action(window);
    }
    // Closing ends the window the way its close box does.
    if (window.isVisible())
        window.close();
}

}  // namespace stego::platform
