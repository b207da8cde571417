// Message boxes for tests: questions take the next scripted answer and every
// box is recorded; an unscripted question is answered No.
#pragma once

#include <QList>
#include <deque>

#include "platform/MessageBoxes.h"

namespace stego::platform {

class ScriptedMessageBoxes : public MessageBoxes {
public:
    struct Shown {
        bool question = false;
        QString text;
        Icon icon = Icon::None;
    };

    void answerYes() { m_answers.push_back(true); }
    void answerNo() { m_answers.push_back(false); }

    bool askYesNo(QWidget* parent, const QString& text) override;
    void tell(QWidget* parent, const QString& text, Icon icon) override;

    const QList<Shown>& shown() const { return m_shown; }
    void forget() { m_shown.clear(); }
    int unscripted() const { return m_unscripted; }
    bool allAnswered() const { return m_answers.empty(); }

private:
    std::deque<bool> m_answers;
    QList<Shown> m_shown;
    int m_unscripted = 0;
};

}  // namespace stego::platform
