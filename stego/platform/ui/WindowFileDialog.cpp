#include "platform/WindowFileDialog.h"

#include <utility>

namespace stego::platform {

FileDialog::FileDialog(FileDialogs& dialogs, QString filter) : m_dialogs(dialogs), m_filter(std::move(filter)) {}

std::optional<QString> FileDialog::showOpen(QWidget* parent) { return show(parent, FileDialogRequest::Mode::Open); }

std::optional<QString> FileDialog::showSave(QWidget* parent) { return show(parent, FileDialogRequest::Mode::Save); }

std::optional<QString> FileDialog::show(QWidget* parent, FileDialogRequest::Mode mode) {
    auto chosen = m_dialogs.choose(parent, {mode, m_filter, m_fileName});
    // An empty answer is a cancel too: there is no file called "".
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    m_fileName = *chosen;
    return chosen;
}

}  // namespace stego::platform
