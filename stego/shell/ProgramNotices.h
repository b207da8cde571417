// The legal notice and the distribution note that the splash and About show.
#pragma once

#include <QString>

namespace stego::shell {

/// Two lines: the program and its copyright holders.
QString legalNotice();
/// How the program may be passed on, and that it comes without warranty.
QString distributionNote();

}  // namespace stego::shell
