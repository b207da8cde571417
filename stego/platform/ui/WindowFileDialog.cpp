#include "platform/WindowFileDialog.h"

#include <utility>

namespace stego::platform {

FileDialog::FileDialog(FileDialogs& dialogs, QString filter) : m_dialogs(dialogs), m_filter(std::move(filter)) {}

std::optional<QString> FileDialog::showOpen(QWidget* parent) {
    return show(parent, FileDialogRequest::Mode::Open, m_fileName);
}

std::optional<QString> FileDialog::showSave(QWidget* parent) {
    return show(parent, FileDialogRequest::Mode::Save, m_fileName);
}

std::optional<QString> FileDialog::showOpen(QWidget* parent, const QString& suggestion) {
    return show(parent, FileDialogRequest::Mode::Open, suggestion);
}

std::optional<QString> FileDialog::showSave(QWidget* parent, const QString& suggestion) {
    return show(parent, FileDialogRequest::Mode::Save, suggestion);
}

std::optional<QString> FileDialog::show(QWidget* parent, FileDialogRequest::Mode mode, const QString& suggestion) {
    auto chosen = m_dialogs.choose(parent, {mode, m_filter, suggestion});
    // An empty answer is a cancel too: there is no file called "".
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    m_fileName = *chosen;
    return chosen;
}

}  // namespace stego::platform
