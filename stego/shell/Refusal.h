// The one way the window runs work that may fail: whatever the work throws
// comes back as a number and words for a box, and never ends the program.
#pragma once

#include <QString>

#include <exception>
#include <new>
#include <optional>

#include "EngineText.h"
#include "engine/Failure.h"
#include "support/ErrorNumbers.h"

namespace stego::shell {

struct Refusal {
    int number = 0;
    QString message;
};

/// Runs work; on failure returns what to tell the user. subject names what ran
/// short of memory ("Out of memory: subject").
template <typename Work>
std::optional<Refusal> refusalOf(Work&& work, const QString& subject = {}) {
    try {
        work();
        return std::nullopt;
    } catch (const Failure& error) {
        return Refusal{error.number(), fromEngineMessage(error.what())};
    } catch (const std::bad_alloc&) {
        return Refusal{support::kOutOfMemory, subject.isEmpty() ? QStringLiteral("Out of memory")
                                                                : QStringLiteral("Out of memory: ") + subject};
    } catch (const std::exception& error) {
        return Refusal{support::kInternalError, QStringLiteral("Internal error: ") + fromEngineMessage(error.what())};
    }
}

/// "Error n: message", as every box of the window says a failure.
inline QString errorText(int number, const QString& message) {
    return QStringLiteral("Error %1: %2").arg(number).arg(message);
}

inline QString errorText(const Refusal& refusal) { return errorText(refusal.number, refusal.message); }

}  // namespace stego::shell
