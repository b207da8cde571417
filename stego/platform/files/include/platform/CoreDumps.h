// Keeping keys and plain texts out of core dumps, for the life of the process.
#pragma once

namespace stego::platform {

/// Stops the process from leaving a core dump (a file any later reader of the
/// folder may see) and from being read by other processes of the same user
/// through /proc or a debugger. Called first thing by both programs, before
/// any key or plain text is held. Returns whether both steps took.
bool keepSecretsOutOfCoreDumps() noexcept;

}  // namespace stego::platform
