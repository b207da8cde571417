#include "platform/ScriptedMessageBoxes.h"

namespace stego::platform {

bool ScriptedMessageBoxes::askYesNo(QWidget*, const QString& text) {
    m_shown.append({true, text, Icon::None});
    if (m_answers.empty()) {
        ++m_unscripted;
        return false;
    }
    const bool yes = m_answers.front();
    m_answers.pop_front();
    return yes;
}

void ScriptedMessageBoxes::tell(QWidget*, const QString& text, Icon icon) { m_shown.append({false, text, icon}); }

}  // namespace stego::platform
