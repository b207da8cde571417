// The title, legal notice and distribution note that the splash and About
// windows both carry.
#pragma once

#include <QRect>

class QWidget;

namespace stego::shell {

/// Adds Label1 (the italic title at titlePoints, in titleGeometry), Label2 (the
/// legal notice) and Label3 (the distribution note) to window.
void addNoticeLabels(QWidget& window, QRect titleGeometry, double titlePoints);

}  // namespace stego::shell
