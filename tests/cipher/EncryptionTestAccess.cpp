#include "EncryptionTestAccess.h"

namespace corvid {

MachineFields EncryptionTestAccess::fields(const Encryption& machine) {
    MachineFields fields;
    for (int place = 0; place < Encryption::kPlaces; ++place) {
        fields.Rotor[place + 1] = machine.rotorText(place);
        fields.RotorStep[place + 1] = machine.RotorStep[place];
        fields.RotorDirection[place + 1] = machine.RotorDirection[place];
    }
    fields.RotateAfter = machine.RotateAfter;
    fields.SymbolCount = machine.SymbolCount;
    fields.TextAlphabet = machine.TextAlphabet;
    fields.ByteAlphabet = machine.ByteAlphabet;
    return fields;
}

}  // namespace corvid
