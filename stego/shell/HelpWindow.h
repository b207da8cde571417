// The Help window: the short user guide and a "Done" button.
#pragma once

#include <QDialog>

namespace stego::shell {

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
};

}  // namespace stego::shell
