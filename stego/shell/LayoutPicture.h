// Where the carrier picture and its two scroll bars go for a picture of a given
// size in the viewport; a plain calculation that the main window applies.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace stego::shell {

/// The thickness of the scroll bars beside the viewport.
inline constexpr int kScrollBarThickness = 17;

struct PictureLayout {
    QPoint picturePosition;  // the picture's top-left inside the viewport
    QRect hScrollGeometry;
    QRect vScrollGeometry;
    int hScrollMaximum = 0;  // scroll ranges are whole ints, so pictures far wider than 32767 pixels still scroll
    int vScrollMaximum = 0;
    bool hScrollVisible = false;
    bool vScrollVisible = false;
};

/// A picture smaller than the viewport is centred on that axis; a larger one
/// starts at the viewport's edge with a scroll bar over the difference.
PictureLayout LayoutPicture(QSize viewport, QSize picture);

}  // namespace stego::shell
