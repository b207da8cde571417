// The command line of pixquill-cli: its sub-commands and options, parsed and
// dispatched; usage errors and --help and --version handled here.
#pragma once

#include "CliEnvironment.h"

namespace stego::cli {

/// Runs the tool on argv and returns its exit code (see ExitCode.h). Nothing
/// it meets ends the program: every failure becomes a message and a code.
int runCommandLine(int argc, const char* const* argv, CliEnvironment& env);

}  // namespace stego::cli
