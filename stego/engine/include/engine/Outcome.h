// What a hide or extract command ended with, for the window or the command line to show.
#pragma once

#include <cstdint>
#include <string>

namespace stego {

enum class OutcomeKind {
    Done,               // inserted (nothing to show), or a file extracted (message holds the success text)
    TextExtracted,      // text holds the extracted message
    CapacityShortfall,  // message holds "The message needs N characters of room; this picture holds C."
    NoItem,             // message holds "This Image has no Message" or "This Image has no Embedded File"
    Incomplete,         // a start marker but no end marker; message says so
    Error,              // number and message say what failed; nothing changed
};

struct Outcome {
    OutcomeKind kind = OutcomeKind::Done;
    int number = 0;              // error number (Error only)
    std::string message;         // the words for the user
    std::string text;            // the extracted message (TextExtracted only)
    std::int32_t shortfall = 0;  // pixels missing (CapacityShortfall only)
};

}  // namespace stego
