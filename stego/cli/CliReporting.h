// How pixquill-cli's commands turn failures and outcomes into stderr lines
// and exit codes, shared by the classic and the sealed commands.
#pragma once

#include <new>
#include <optional>
#include <string>

#include "CliEnvironment.h"
#include "CliRequest.h"
#include "ExitCode.h"
#include "engine/Failure.h"
#include "engine/Outcome.h"

namespace stego::cli {

inline constexpr const char* kProgram = "pixquill-cli";

/// "pixquill-cli: error N: message" (no N when number is 0); returns kError.
int reportError(CliEnvironment& env, int number, const std::string& message);
/// The message and a pointer to --help; returns kUsage.
int reportUsage(CliEnvironment& env, const std::string& message);
/// The outcome's words on stderr (or an extracted text, as UTF-8 from ISO 8859-1, on stdout) and its exit code.
int reportOutcome(CliEnvironment& env, const Outcome& outcome);

/// kUsage, with the reason, when no picture may be saved under --output's name
/// (a JPEG name: JPEG would destroy the hidden bits); nothing otherwise. Checked
/// before anything is read, asked or written.
std::optional<int> refuseOutputName(const CliRequest& request, CliEnvironment& env);

/// Runs body; a Failure (or a lack of memory) becomes one stderr line and exit code 1.
template <typename Body>
int reportingFailures(CliEnvironment& env, Body&& body) {
    try {
        return body();
    } catch (const Failure& failure) {
        return reportError(env, failure.number(), failure.what());
    } catch (const std::bad_alloc&) {
        return reportError(env, kOutOfMemory, "There is not enough memory for this picture or file.");
    }
}

}  // namespace stego::cli
