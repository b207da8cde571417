#include "CliReporting.h"

#include <cerrno>
#include <ostream>

#include "Latin1Text.h"
#include "cipher/ClearedOnExit.h"
#include "cipher/FileErrors.h"

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

int reportOutcome(CliEnvironment& env, const Outcome& outcome) {
    switch (outcome.kind) {
    case OutcomeKind::Done: return kSuccess;
    case OutcomeKind::TextExtracted: {
        std::string shown = latin1ToUtf8(outcome.text);
        const corvid::ClearedOnExit clearShown(shown);
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

void checkOrdinaryFile(const std::string& path, FileStore& files) {
    switch (files.kindOf(path)) {
    case FileStore::Kind::Missing:
        throw Failure(corvid::describeFileError(ENOENT).number, path + " does not exist.");
    case FileStore::Kind::Directory:
        throw Failure(corvid::describeFileError(EISDIR).number, path + " is a folder, not a file.");
    case FileStore::Kind::Other:
        throw Failure(corvid::describeFileError(EISDIR).number, path + " is not an ordinary file.");
    case FileStore::Kind::RegularFile: break;
    }
}

}  // namespace stego::cli
