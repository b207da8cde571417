// Everything a command test needs: a noisy picture, the generator, an
// in-memory file store and the fake cipher, with a snapshot to compare.
#pragma once

#include <string>

#include "FakeCipher.h"
#include "MemoryFileStore.h"
#include "NoisePictures.h"
#include "engine/Commands.h"
#include "engine/LcgGenerator.h"
#include "engine/MemoryCarrier.h"

namespace stego::test {

struct CommandBench {
    explicit CommandBench(std::int32_t width = 100, std::int32_t height = 100) : picture(noisyPicture(width, height)) {}

    platform::LcgGenerator generator;
    MemoryFileStore files;
    FakeCipherLog cipherLog;
    EngineServices services{generator, makeFakeCipherFactory(files, cipherLog), files, ","};
    MemoryCarrier picture;
    std::string pass = kScrambleKey;
};

/// What a refused command must leave as it was.
struct Snapshot {
    explicit Snapshot(const CommandBench& bench)
        : pixels(bench.picture.pixels()), pass(bench.pass), files(bench.files.files), folders(bench.files.folders) {}

    bool operator==(const Snapshot&) const = default;

    std::vector<Rgb> pixels;
    std::string pass;
    std::map<std::string, std::string> files;
    std::set<std::string> folders;
};

inline std::ostream& operator<<(std::ostream& out, const Snapshot& snapshot) {
    out << "pass \"" << snapshot.pass << "\", files:";
    for (const auto& [path, data] : snapshot.files)
        out << " " << path << " (" << data.size() << " bytes)";
    return out << ", " << snapshot.folders.size() << " folders";
}

}  // namespace stego::test

namespace stego {

inline std::ostream& operator<<(std::ostream& out, const Outcome& outcome) {
    return out << "kind " << static_cast<int>(outcome.kind) << ", number " << outcome.number << ", \""
               << outcome.message << "\"";
}

}  // namespace stego
