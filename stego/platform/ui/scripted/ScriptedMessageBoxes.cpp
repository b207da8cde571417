#include "platform/ScriptedMessageBoxes.h"

namespace stego::platform {

ScriptedMessageBoxes::Answer ScriptedMessageBoxes::next(Answer fallback) {
    if (m_answers.empty()) {
        ++m_unscripted;
        return fallback;
    }
    const Answer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

bool ScriptedMessageBoxes::askYesNo(QWidget*, const QString& text, Default preferred) {
    m_shown.append({true, text, Icon::None, preferred});
    return next(Answer::No) == Answer::Yes;
}

MessageBoxes::UnsavedChoice ScriptedMessageBoxes::askUnsaved(QWidget*, const QString& text) {
    m_shown.append({true, text, Icon::None, Default::Yes});
    switch (next(Answer::Cancel)) {
    case Answer::Save: return UnsavedChoice::Save;
    case Answer::Discard: return UnsavedChoice::Discard;
    default: return UnsavedChoice::Cancel;
    }
}

void ScriptedMessageBoxes::tell(QWidget*, const QString& text, Icon icon) { m_shown.append({false, text, icon}); }

}  // namespace stego::platform
