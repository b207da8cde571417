#include "MachineFields.h"

#include <iomanip>

namespace corvid {

namespace {

void printHex(const std::string& text, std::ostream* out) {
    for (unsigned char ch : text) {
        *out << std::hex << std::setw(2) << std::setfill('0') << static_cast<int>(ch);
    }
    *out << std::dec;
}

}  // namespace

void PrintTo(const MachineFields& fields, std::ostream* out) {
    *out << "{SymbolCount " << fields.SymbolCount << ", RotateAfter " << fields.RotateAfter << ", RotorStep";
    for (int place = 1; place <= 10; ++place) {
        *out << ' ' << fields.RotorStep[place];
    }
    *out << ", RotorDirection";
    for (int place = 1; place <= 10; ++place) {
        *out << ' ' << fields.RotorDirection[place];
    }
    *out << ", TextAlphabet " << fields.TextAlphabet.size() << " chars, ByteAlphabet " << fields.ByteAlphabet.size()
         << " chars";
    for (int place = 1; place <= 10; ++place) {
        *out << ",\n Rotor(" << place << ") ";
        printHex(fields.Rotor[place], out);
    }
    *out << '}';
}

}  // namespace corvid
