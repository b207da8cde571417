// pixquill-cli's sealed mode: --seal and --passphrase-file on the hide,
// extract and capacity commands, and the sealed forms of those commands.
#pragma once

#include <functional>

#include "CliEnvironment.h"
#include "CliRequest.h"

namespace CLI {
class App;
}

namespace stego::cli {

using CommandRun = std::function<int(const CliRequest&, CliEnvironment&)>;

/// Adds --seal and --passphrase-file to command; neither goes with --key.
void addSealOptions(CLI::App& command, CliRequest& request);

/// Runs classic, or sealed when the request asks for a sealed item.
CommandRun classicOrSealed(CommandRun classic, CommandRun sealed);

int hideMessageSealed(const CliRequest& request, CliEnvironment& env);
int extractMessageSealed(const CliRequest& request, CliEnvironment& env);
int hideFileSealed(const CliRequest& request, CliEnvironment& env);
int extractFileSealed(const CliRequest& request, CliEnvironment& env);
int showCapacitySealed(const CliRequest& request, CliEnvironment& env);

}  // namespace stego::cli
