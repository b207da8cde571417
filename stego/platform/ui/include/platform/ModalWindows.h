// Showing the program's own windows modally; tests replace the nested event
// loop with a scripted action on the window.
#pragma once

class QDialog;

namespace stego::platform {

class ModalWindows {
public:
    virtual ~ModalWindows() = default;
    /// Shows the window and returns when it has closed.
    virtual void runModal(QDialog& window) = 0;
};

}  // namespace stego::platform
