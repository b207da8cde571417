// The message boxes of the desktop, titled with the application's name.
#pragma once

#include "platform/MessageBoxes.h"

namespace stego::platform {

class QtMessageBoxes : public MessageBoxes {
public:
    bool askYesNo(QWidget* parent, const QString& text, Default preferred) override;
    UnsavedChoice askUnsaved(QWidget* parent, const QString& text) override;
    void tell(QWidget* parent, const QString& text, Icon icon) override;
};

}  // namespace stego::platform
