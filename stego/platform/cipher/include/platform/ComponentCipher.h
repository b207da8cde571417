// Cipher objects created by class identifier through the component runtime:
// Corvid's Encryption class, used through its _Encryption interface.
#pragma once

#include "engine/CipherPort.h"

namespace stego::platform {

/// A factory whose every call creates one Encryption object of the registered
/// Corvid library and wraps it; the object is released when the wrapper goes.
/// Throws Failure(kCipherUnavailable) naming the reason and the command that
/// registers the library when the class is not registered or cannot be loaded.
/// The wrappers turn the component's failures back into Failure with the
/// cipher's number and message.
CipherFactory makeComponentCipherFactory();

}  // namespace stego::platform
