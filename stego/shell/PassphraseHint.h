// What the sealed panel says about a passphrase while it is typed: refused when
// empty, short under twelve characters, and otherwise its length and variety.
#pragma once

#include <QString>

namespace stego::shell {

struct PassphraseHint {
    enum class Level { Refused, Short, Fair, Good };
    Level level = Level::Refused;
    QString text;
};

/// Characters are counted as the user sees them (code points, not bytes).
PassphraseHint passphraseHint(const QString& passphrase);

}  // namespace stego::shell
