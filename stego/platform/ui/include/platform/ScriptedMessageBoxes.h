// Message boxes for tests: questions take the next scripted answer and every
// box is recorded; an unscripted question is answered No (or Cancel).
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
        Default preferred = Default::Yes;  // questions only
    };

    void answerYes() { m_answers.push_back(Answer::Yes); }
    void answerNo() { m_answers.push_back(Answer::No); }
    void answerSave() { m_answers.push_back(Answer::Save); }
    void answerDiscard() { m_answers.push_back(Answer::Discard); }
    void answerCancel() { m_answers.push_back(Answer::Cancel); }

    bool askYesNo(QWidget* parent, const QString& text, Default preferred) override;
    UnsavedChoice askUnsaved(QWidget* parent, const QString& text) override;
    void tell(QWidget* parent, const QString& text, Icon icon) override;

    const QList<Shown>& shown() const { return m_shown; }
    void forget() { m_shown.clear(); }
    int unscripted() const { return m_unscripted; }
    bool allAnswered() const { return m_answers.empty(); }

private:
    enum class Answer { Yes, No, Save, Discard, Cancel };
    /// The next scripted answer; fallback when none is left.
    Answer next(Answer fallback);

    std::deque<Answer> m_answers;
    QList<Shown> m_shown;
    int m_unscripted = 0;
};

}  // namespace stego::platform
