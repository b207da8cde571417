// Cipher objects made in-process from the cipher library, for builds and tests
// that do not go through the component runtime.
#pragma once

#include "engine/CipherPort.h"

namespace stego::platform {

/// A factory whose objects wrap corvid::Encryption and turn its errors into stego::Failure.
CipherFactory makeDirectCipherFactory();

}  // namespace stego::platform
