// The fonts of the windows. The design's faces are often missing, so each
// names look-alikes to fall back on; sizes are in pixels so that text scales
// with the layout on high-DPI screens.
#pragma once

#include <QFont>

namespace stego::shell {

/// The ordinary text of every window (8 pt at 96 dots an inch).
QFont formFont();
/// The key pad's key (9.75 pt).
QFont keyFont();
/// The italic serif title of the splash and About, at the given design points.
QFont titleFont(double points);

}  // namespace stego::shell
