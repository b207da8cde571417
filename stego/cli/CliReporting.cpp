#include "CliReporting.h"

#include <ostream>

#include "Latin1Text.h"
#include "platform/SaveFormat.h"
#include "support/ClearedOnExit.h"

namespace stego::cli {

int reportError(CliEnvironment& env, int number, const std::string& message) {
    env.err << kProgram << ": error";
    if (number != 0)
        env.err << ' ' << number;
    env.err << ": " << message << '\n';
    return kError;
}

int reportUsage(CliEnvironment& env, const std::string& message) {
    env.err << kProgram << ": error: " << message << "\nRun with --help for more information.\n";
    return kUsage;
}

std::optional<int> refuseOutputName(const CliRequest& request, CliEnvironment& env) {
    try {
        platform::saveFormatFor(request.output);
    } catch (const Failure& failure) {
        return reportUsage(env, failure.what());
    }
    return std::nullopt;
}

int reportOutcome(CliEnvironment& env, const Outcome& outcome) {
    switch (outcome.kind) {
    case OutcomeKind::Done: return kSuccess;
    case OutcomeKind::TextExtracted: {
        std::string shown = latin1ToUtf8(outcome.text);
        const support::ClearedOnExit clearShown(shown);
        env.out << shown << '\n';
        return kSuccess;
    }
    case OutcomeKind::CapacityShortfall: return reportError(env, 0, outcome.message);
    case OutcomeKind::NoItem: env.err << kProgram << ": " << outcome.message << '\n'; return kNoItem;
    case OutcomeKind::Incomplete: env.err << kProgram << ": " << outcome.message << '\n'; return kIncomplete;
    case OutcomeKind::Error: break;
    }
    return reportError(env, outcome.number, outcome.message);
}

}  // namespace stego::cli
