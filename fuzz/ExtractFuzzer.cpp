// Extract Message and Extract Data on arbitrary pixels, under the default key
// and under a key from the input: each must give a defined outcome, leave the
// picture as it was, and write nothing but its destination.
//
// Input: width - 1 and height - 1 (one byte each, below 128), a flags byte
// (1: a scramble key follows the key; 2: a file already stands at the
// destination), the key's length (below 32) and its bytes, when flagged the
// scramble key's length (below 16) and its bytes, then red, green and blue of
// each pixel, down the rows from the top-left; missing bytes are 0.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "DirectCipher.h"
#include "FolderEntries.h"
#include "FuzzCheck.h"
#include "FuzzFiles.h"
#include "OutcomeCheck.h"
#include "engine/Commands.h"
#include "engine/LcgGenerator.h"
#include "engine/MemoryCarrier.h"

namespace {

using fuzzing::entriesOf;
using fuzzing::privateFolder;
using fuzzing::requireThat;

constexpr std::uint8_t kHasScrambleKey = 1;
constexpr std::uint8_t kDestinationExists = 2;
constexpr const char* kPreviousContent = "the file that stood here before";
constexpr const char* kDestinationName = "extracted.bin";

struct ExtractInput {
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint8_t flags = 0;
    std::string key;
    std::string pass = stego::kScrambleKey;
    std::string pixels;
};

class InputReader {
public:
    InputReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::uint8_t byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    std::string bytes(std::size_t count) {
        count = std::min(count, m_size - m_at);
        std::string taken(reinterpret_cast<const char*>(m_data + m_at), count);
        m_at += count;
        return taken;
    }
    std::string rest() { return bytes(m_size - m_at); }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

ExtractInput parse(const std::uint8_t* data, std::size_t size) {
    InputReader reader(data, size);
    ExtractInput input;
    input.width = 1 + reader.byte() % 128;
    input.height = 1 + reader.byte() % 128;
    input.flags = reader.byte();
    input.key = reader.bytes(reader.byte() % 32);
    if (input.flags & kHasScrambleKey)
        input.pass = reader.bytes(reader.byte() % 16);
    input.pixels = reader.rest();
    return input;
}

stego::MemoryCarrier carrierOf(const ExtractInput& input) {
    stego::MemoryCarrier carrier(input.width, input.height);
    auto& pixels = carrier.pixels();
    for (std::size_t i = 0; i < pixels.size() && 3 * i + 2 < input.pixels.size(); ++i)
        pixels[i] = stego::Rgb{static_cast<std::uint8_t>(input.pixels[3 * i]),
                               static_cast<std::uint8_t>(input.pixels[3 * i + 1]),
                               static_cast<std::uint8_t>(input.pixels[3 * i + 2])};
    return carrier;
}

bool isNamed(stego::OutcomeKind kind) {
    return kind == stego::OutcomeKind::NoItem || kind == stego::OutcomeKind::Incomplete;
}

void extractUnder(const stego::Carrier& carrier, const std::string& key, const ExtractInput& input,
                  const std::string& runFolder) {
    // The run folder is reached through its handle; the temporary folder must hold it alone.
    stego::platform::LcgGenerator generator;
    stego::EngineServices services{generator, stego::platform::makeDirectCipherFactory(), fuzzing::fileStore(), ","};

    std::string pass = input.pass;
    const stego::Outcome message = stego::ExtractMessage(carrier, key, pass, services);
    fuzzing::checkExtractionOutcome(message, "This Image has no Message");
    requireThat(entriesOf(runFolder).empty(), "Extract Message writes no file");
    requireThat(entriesOf(privateFolder()->path()).size() == 1,
                "Extract Message leaves nothing in the temporary folder");

    const std::string destination = runFolder + "/" + kDestinationName;
    const bool existed = input.flags & kDestinationExists;
    if (existed)
        std::ofstream(destination, std::ios::binary) << kPreviousContent;
    pass = input.pass;
    const stego::Outcome file = stego::ExtractFile(carrier, key, destination, pass, services);
    fuzzing::checkExtractionOutcome(file, "This Image has no Embedded File");

    const bool written = file.kind == stego::OutcomeKind::Done;
    if (written)
        requireThat(file.message == destination + " has been extracted.", "Extract Data names what it wrote");
    const std::set<std::string> expected =
        written || existed ? std::set<std::string>{kDestinationName} : std::set<std::string>{};
    requireThat(entriesOf(runFolder) == expected, "Extract Data leaves its destination and nothing else");
    if (existed && !written)
        requireThat(fuzzing::readFile(destination) == kPreviousContent,
                    "a failed Extract Data keeps the file it would replace");
    requireThat(entriesOf(privateFolder()->path()).size() == 1, "Extract Data leaves nothing in the temporary folder");
    std::filesystem::remove(destination);

    // Both commands scan the same pixels under the same scramble key.
    if (isNamed(message.kind) || isNamed(file.kind))
        requireThat(message.kind == file.kind, "both extractions find the same start and end markers");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The temporary folder of every command run here, so that anything a
    // command leaves behind shows in it.
    ::setenv("TMPDIR", fuzzing::makePrivateFolder().c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ExtractInput input = parse(data, size);
    const stego::MemoryCarrier carrier = carrierOf(input);
    const std::vector<stego::Rgb> before = carrier.pixels();

    {
        const std::unique_ptr<stego::ScratchDirectory> run = fuzzing::fileStore().makeScratchDirectory({});
        extractUnder(carrier, "", input, run->path());
        extractUnder(carrier, input.key, input, run->path());
    }
    requireThat(carrier.pixels() == before, "extraction leaves the picture as it was");
    requireThat(entriesOf(privateFolder()->path()).empty(), "each run's folder goes with it");
    return 0;
}
