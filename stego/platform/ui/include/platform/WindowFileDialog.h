// One file dialog of a window: a fixed filter and the name last chosen through
// it, which it offers again the next time it opens.
#pragma once

#include <QString>
#include <optional>

#include "platform/FileDialogs.h"

namespace stego::platform {

class FileDialog {
public:
    FileDialog(FileDialogs& dialogs, QString filter = {});

    std::optional<QString> showOpen(QWidget* parent);
    std::optional<QString> showSave(QWidget* parent);
    /// Offers suggestion (a folder, or a full name) instead of the last name.
    std::optional<QString> showOpen(QWidget* parent, const QString& suggestion);
    std::optional<QString> showSave(QWidget* parent, const QString& suggestion);
    /// The name last chosen (empty until one is).
    const QString& fileName() const { return m_fileName; }
    const QString& filter() const { return m_filter; }

private:
    std::optional<QString> show(QWidget* parent, FileDialogRequest::Mode mode, const QString& suggestion);

    FileDialogs& m_dialogs;
    QString m_filter;
    QString m_fileName;
};

}  // namespace stego::platform
