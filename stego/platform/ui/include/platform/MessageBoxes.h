// Questions and messages for the user; the windows show them through this so
// that tests can answer with scripted buttons instead of a real box.
#pragma once

#include <QString>

class QWidget;

namespace stego::platform {

class MessageBoxes {
public:
    enum class Icon { None, Stop };

    virtual ~MessageBoxes() = default;
    /// A Yes/No question without an icon; true for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& text) = 0;
    /// A message with an OK button only.
    virtual void tell(QWidget* parent, const QString& text, Icon icon = Icon::None) = 0;
};

}  // namespace stego::platform
