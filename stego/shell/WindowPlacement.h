// Every window of the program opens centred on the screen.
#pragma once

#include <Qt>

class QWidget;

namespace stego::shell {

/// Dialogs of a fixed size with a close box and no minimise or maximise buttons.
inline constexpr Qt::WindowFlags kFixedDialogFlags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint |
                                                     Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                     Qt::WindowCloseButtonHint;

/// Moves window so that its client area is centred on its screen's free area.
void centreOnScreen(QWidget& window);

}  // namespace stego::shell
