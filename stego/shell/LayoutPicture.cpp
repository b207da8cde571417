#include "LayoutPicture.h"

#include <algorithm>

namespace stego::shell {

PictureLayout LayoutPicture(QSize viewport, QSize picture) {
    PictureLayout layout;
    int left = 0;
    int top = 0;
    if (picture.height() < viewport.height())
        top = (viewport.height() - picture.height()) / 2;
    if (picture.width() < viewport.width())
        left = (viewport.width() - picture.width()) / 2;
    layout.picturePosition = QPoint(left, top);

    layout.hScrollGeometry = QRect(0, viewport.height(), viewport.width(), kScrollBarThickness);
    layout.vScrollGeometry = QRect(viewport.width(), 0, kScrollBarThickness, viewport.height());

    // Both sizes are ints, so the differences cannot overflow; a picture that
    // fits gives no range at all rather than a negative one.
    layout.hScrollMaximum = std::max(0, picture.width() - viewport.width());
    layout.vScrollMaximum = std::max(0, picture.height() - viewport.height());
    layout.hScrollVisible = viewport.width() < picture.width();
    layout.vScrollVisible = viewport.height() < picture.height();
    return layout;
}

}  // namespace stego::shell
