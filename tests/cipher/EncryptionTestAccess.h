// Test-only view of an Encryption object's private fields (it is the friend the
// class names); tests read state through it, never change it.
#pragma once

#include "MachineFields.h"
#include "cipher/Encryption.h"

namespace corvid {

struct EncryptionTestAccess {
    static MachineFields fields(const Encryption& machine);
};

}  // namespace corvid
