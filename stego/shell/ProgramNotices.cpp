#include "ProgramNotices.h"

namespace stego::shell {

// The version is the build's, the same that pixquill-cli --version prints.
QString legalNotice() {
    return QStringLiteral("Pixquill, version " PIXQUILL_VERSION "\nCopyright \u00A9 the Pixquill developers");
}

QString distributionNote() {
    return QStringLiteral("You may copy this program and give it away freely. It comes with no warranty of any kind: "
                          "keep a copy of every picture and file before you hide something in it.");
}

}  // namespace stego::shell
