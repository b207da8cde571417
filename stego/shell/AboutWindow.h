// The About window: the program's title, its legal notice and how it may be passed on.
#pragma once

#include <QDialog>

namespace stego::shell {

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);
};

}  // namespace stego::shell
