// The sub-commands of pixquill-cli: each runs one engine or cipher command and
// turns its outcome into output, an stderr line and an exit code.
#pragma once

#include "CliEnvironment.h"
#include "CliRequest.h"

namespace stego::cli {

int hideMessage(const CliRequest& request, CliEnvironment& env);
int extractMessage(const CliRequest& request, CliEnvironment& env);
int hideFile(const CliRequest& request, CliEnvironment& env);
int extractFile(const CliRequest& request, CliEnvironment& env);
int showCapacity(const CliRequest& request, CliEnvironment& env);
int encryptText(const CliRequest& request, CliEnvironment& env);
int decryptText(const CliRequest& request, CliEnvironment& env);
int encryptFile(const CliRequest& request, CliEnvironment& env);
int decryptFile(const CliRequest& request, CliEnvironment& env);

}  // namespace stego::cli
