// The picture a command works on, as this platform holds it: QImage through
// the Qt picture layer. Windows has its own (platform/win32).
#pragma once

#include <QImage>

#include "ImageCarrier.h"
#include "PictureFile.h"

namespace stego::platform {

using Picture = QImage;
using PictureCarrier = ImageCarrier;

}  // namespace stego::platform
