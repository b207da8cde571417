// What a run of pixquill-cli reaches beyond its arguments: its streams, the
// generator, the cipher and the files. main() wires the real ones, tests fakes.
#pragma once

#include <iosfwd>

#include "engine/CipherPort.h"
#include "engine/FileStore.h"
#include "engine/RandomSource.h"

namespace stego::cli {

struct CliEnvironment {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    RandomSource& generator;
    CipherFactory makeCipher;
    FileStore& files;
};

}  // namespace stego::cli
