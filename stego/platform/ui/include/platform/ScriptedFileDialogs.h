// File dialogs for tests: each request takes the next scripted answer (a name,
// or a cancel) and is recorded; an unscripted request is a cancel.
#pragma once

#include <QList>
#include <deque>

#include "platform/FileDialogs.h"

namespace stego::platform {

class ScriptedFileDialogs : public FileDialogs {
public:
    void answer(const QString& path) { m_answers.push_back({false, path}); }
    void cancel() { m_answers.push_back({true, {}}); }

    std::optional<QString> choose(QWidget* parent, const FileDialogRequest& request) override;

    const QList<FileDialogRequest>& requests() const { return m_requests; }
    /// Requests that found no scripted answer.
    int unscripted() const { return m_unscripted; }
    bool allAnswered() const { return m_answers.empty(); }

private:
    struct Answer {
        bool cancel;
        QString path;
    };
    std::deque<Answer> m_answers;
    QList<FileDialogRequest> m_requests;
    int m_unscripted = 0;
};

}  // namespace stego::platform
