#include "PassphraseHint.h"

#include <QList>

#include "sealed/SealedCommands.h"

namespace stego::shell {

namespace {

// Lower case, upper case, digits and everything else (spaces, punctuation,
// letters without case).
int kindsOfCharacter(const QString& passphrase) {
    bool lower = false, upper = false, digit = false, other = false;
    for (const char32_t code : passphrase.toUcs4()) {
        const auto category = QChar::category(code);
        if (category == QChar::Letter_Lowercase)
            lower = true;
        else if (category == QChar::Letter_Uppercase)
            upper = true;
        else if (QChar::isDigit(code))
            digit = true;
        else
            other = true;
    }
    return int{lower} + int{upper} + int{digit} + int{other};
}

QString kindsText(int kinds) { return kinds == 1 ? QStringLiteral("1 kind") : QStringLiteral("%1 kinds").arg(kinds); }

}  // namespace

PassphraseHint passphraseHint(const QString& passphrase) {
    const auto characters = static_cast<std::size_t>(passphrase.toUcs4().size());
    if (characters == 0)
        return {PassphraseHint::Level::Refused, QStringLiteral("A sealed item needs a passphrase")};
    if (characters < sealed::kShortPassphrase)
        return {
            PassphraseHint::Level::Short,
            QStringLiteral("Short: %1 of %2 characters, easy to guess").arg(characters).arg(sealed::kShortPassphrase)};
    const int kinds = kindsOfCharacter(passphrase);
    // Length counts for more than variety: four plain words beat a short jumble.
    if (kinds >= 3 || characters >= 2 * sealed::kShortPassphrase)
        return {PassphraseHint::Level::Good,
                QStringLiteral("Good: %1 characters, %2").arg(characters).arg(kindsText(kinds))};
    return {PassphraseHint::Level::Fair,
            QStringLiteral("Fair: %1 characters, %2").arg(characters).arg(kindsText(kinds))};
}

}  // namespace stego::shell
