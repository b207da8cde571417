// Modal windows shown with Qt's nested event loop.
#pragma once

#include "platform/ModalWindows.h"

namespace stego::platform {

class QtModalWindows : public ModalWindows {
public:
    void runModal(QDialog& window) override;
};

}  // namespace stego::platform
