// pixquill-cli.exe has no sealed mode: its cryptography comes from libsodium,
// which has no Windows build in the distribution we cross-build with. The
// options are not offered, so a sealed command is a usage error there.
#include "SealedCli.h"

#include "CliCommands.h"

namespace stego::cli {

void addSealOptions(CLI::App&, CliRequest&) {}

CommandRun classicOrSealed(CommandRun classic, CommandRun) { return classic; }

int hideMessageSealed(const CliRequest& request, CliEnvironment& env) { return hideMessage(request, env); }
int extractMessageSealed(const CliRequest& request, CliEnvironment& env) { return extractMessage(request, env); }
int hideFileSealed(const CliRequest& request, CliEnvironment& env) { return hideFile(request, env); }
int extractFileSealed(const CliRequest& request, CliEnvironment& env) { return extractFile(request, env); }
int showCapacitySealed(const CliRequest& request, CliEnvironment& env) { return showCapacity(request, env); }

}  // namespace stego::cli
