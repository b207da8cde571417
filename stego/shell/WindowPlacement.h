// Every window of the program opens centred on the screen.
#pragma once

class QWidget;

namespace stego::shell {

/// Moves window so that its client area is centred on its screen's free area.
void centreOnScreen(QWidget& window);

}  // namespace stego::shell
