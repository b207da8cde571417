// Turning whatever a command's body throws into an Outcome, so that no
// failure leaves a command: the classic and the sealed commands share it.
#pragma once

#include <exception>
#include <new>
#include <string>

#include "Failure.h"
#include "Outcome.h"

namespace stego {

Outcome errorOutcome(int number, std::string message);

/// Runs body and turns anything it throws into an Error outcome, so that no
/// failure leaves a command.
template <typename Body>
Outcome guarded(Body&& body) noexcept {
    try {
        try {
            return body();
        } catch (const Failure& failure) {
            return errorOutcome(failure.number(), failure.what());
        } catch (const std::bad_alloc&) {
            return errorOutcome(kOutOfMemory, "There is not enough memory for this picture or file.");
        } catch (const std::exception& error) {
            return errorOutcome(kInternalError, std::string("Unexpected failure: ") + error.what());
        } catch (...) {
            return errorOutcome(kInternalError, "Unexpected failure.");
        }
    } catch (...) {
        // Building the outcome itself failed: only a bare one can be had.
        return Outcome{OutcomeKind::Error, kOutOfMemory, {}, {}, 0};
    }
}

}  // namespace stego
