#include "PadKey.h"

namespace stego::shell {

QString& PadKey() {
    static QString padKey;
    return padKey;
}

}  // namespace stego::shell
