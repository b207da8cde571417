// The engine's one error type: a number and a message a person understands.
#pragma once

#include <stdexcept>
#include <string>

#include "support/ErrorNumbers.h"

namespace stego {

// The engine names its refusals by the numbers every layer shares.
using support::kCipherUnavailable;
using support::kInternalError;
using support::kInvalidArgument;
using support::kNotOrdinaryFile;
using support::kOutOfMemory;
using support::kOverflow;
using support::kSubscriptOutOfRange;

class Failure : public std::runtime_error {
public:
    Failure(int number, const std::string& message) : std::runtime_error(message), m_number(number) {}
    int number() const noexcept { return m_number; }

private:
    int m_number;
};

}  // namespace stego
