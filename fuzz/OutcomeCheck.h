// What an extraction promises whatever the pixels hold: a defined outcome with
// words for the user, and no failure that no check foresaw.
#pragma once

#include <string>

#include "FuzzCheck.h"
#include "engine/Failure.h"
#include "engine/Outcome.h"

namespace fuzzing {

/// noItemWords: the command's own "This Image has no ..." text.
inline void checkExtractionOutcome(const stego::Outcome& outcome, const std::string& noItemWords) {
    using stego::OutcomeKind;
    switch (outcome.kind) {
    case OutcomeKind::Done: requireThat(!outcome.message.empty(), "a finished extraction says what it wrote"); return;
    case OutcomeKind::TextExtracted:
        requireThat(outcome.number == 0, "an extracted message carries no error number");
        return;
    case OutcomeKind::NoItem:
        requireThat(outcome.message == noItemWords, "no hidden item is reported as \"" + noItemWords + "\"");
        return;
    case OutcomeKind::Incomplete:
        requireThat(!outcome.message.empty(), "an incomplete item is reported in words");
        return;
    case OutcomeKind::Error:
        requireThat(outcome.number != 0 && !outcome.message.empty(), "an error has a number and words");
        requireThat(outcome.number != stego::kInternalError, "no failure goes unforeseen; got: " + outcome.message);
        return;
    case OutcomeKind::CapacityShortfall: requireThat(false, "an extraction never reports a capacity shortfall"); return;
    }
    requireThat(false, "the outcome is one of the defined kinds");
}

}  // namespace fuzzing
