// The short user guide that the Help window shows.
#pragma once

#include <QString>

namespace stego::shell {

/// The guide with CR LF line ends, its double spaces after full stops and its
/// trailing spaces kept, ending in the credit lines.
QString BuildHelpText();

}  // namespace stego::shell
