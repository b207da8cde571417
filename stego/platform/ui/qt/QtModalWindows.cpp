#include "platform/QtModalWindows.h"

#include <QDialog>

namespace stego::platform {

void QtModalWindows::runModal(QDialog& window) { window.exec(); }

}  // namespace stego::platform
