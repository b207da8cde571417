// What the key box keeps of any text put into it.
#pragma once

#include <QString>

namespace stego::shell {

/// The decimal digits "0" to "9" of text in their order, everything else
/// dropped; a lone "0" becomes empty, as a key may not be just zero.
QString filterKeyText(const QString& text);

}  // namespace stego::shell
