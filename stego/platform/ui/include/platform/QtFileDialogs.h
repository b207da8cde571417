// The file dialogs of the desktop: Qt's own open and save dialogs.
#pragma once

#include "platform/FileDialogs.h"

namespace stego::platform {

class QtFileDialogs : public FileDialogs {
public:
    std::optional<QString> choose(QWidget* parent, const FileDialogRequest& request) override;

    /// "Pictures (*.bmp;*.jpg;*.jpeg)|*.bmp;*.jpg;*.jpeg" -> "Pictures (*.bmp *.jpg *.jpeg)", the form Qt
    /// reads; more pairs ("...|*.bmp|PNG (*.png)|*.png") become entries separated by ";;".
    static QString qtNameFilter(const QString& filter);
};

}  // namespace stego::platform
