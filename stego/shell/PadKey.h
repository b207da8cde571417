// The key entered on the key pad, kept for the whole run so that the key box
// can take it after the pad has closed.
#pragma once

#include <QString>

namespace stego::shell {

QString& PadKey();

}  // namespace stego::shell
