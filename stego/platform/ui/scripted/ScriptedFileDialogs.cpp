#include "platform/ScriptedFileDialogs.h"

namespace stego::platform {

std::optional<QString> ScriptedFileDialogs::choose(QWidget*, const FileDialogRequest& request) {
    m_requests.append(request);
    if (m_answers.empty()) {
        ++m_unscripted;
        return std::nullopt;
    }
    const Answer next = m_answers.front();
    m_answers.pop_front();
    if (next.cancel)
        return std::nullopt;
    return next.path;
}

}  // namespace stego::platform
