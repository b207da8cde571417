// The scan's worst case: a 100-megapixel picture with a start marker and no
// end marker, so that every pixel is read. Budget: 0.3 s in a release build.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/LcgGenerator.h"
#include "engine/MemoryCarrier.h"
#include "engine/PixelChannel.h"

namespace stego {
namespace {

using platform::LcgGenerator;

MemoryCarrier noisyCarrier(std::int32_t width, std::int32_t height) {
    MemoryCarrier carrier(width, height);
    std::uint64_t state = 0x9E3779B97F4A7C15ULL;
    for (Rgb& pixel : carrier.pixels()) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        pixel = Rgb{static_cast<std::uint8_t>(state), static_cast<std::uint8_t>(state >> 8),
                    static_cast<std::uint8_t>(state >> 16)};
    }
    return carrier;
}

void embed(Carrier& carrier, const std::string& text) {
    LcgGenerator generator;
    Scrambler scrambler(generator);
    scrambler.BuildScrambleTable("Wren5");
    EmbedFramedText(carrier, scrambler, text);
}

void BM_ScanFramedTextWithoutEndMarker(benchmark::State& state) {
    const auto side = static_cast<std::int32_t>(state.range(0));
    static MemoryCarrier carrier = [&] {
        MemoryCarrier noisy = noisyCarrier(side, side);
        embed(noisy, std::string(FrameStartMarker));
        return noisy;
    }();
    for (auto _ : state) {
        LcgGenerator generator;
        Scrambler scrambler(generator);
        scrambler.BuildScrambleTable("Wren5");
        const ScanResult result = ScanFramedText(carrier, scrambler);
        if (result.kind != ScanResult::Kind::Exhausted)
            state.SkipWithError("the noise held an end marker");
        benchmark::DoNotOptimize(result.body.data());
    }
    state.counters["pixels"] = static_cast<double>(side) * side;
}
BENCHMARK(BM_ScanFramedTextWithoutEndMarker)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EmbedLargestFile(benchmark::State& state) {
    MemoryCarrier carrier = noisyCarrier(320, 320);
    const std::string framed = std::string(FrameStartMarker) + std::string(32767, 'f') + std::string(FrameEndMarker);
    for (auto _ : state)
        embed(carrier, framed);
}
BENCHMARK(BM_EmbedLargestFile)->Unit(benchmark::kMillisecond);

void BM_BuildScrambleTable(benchmark::State& state) {
    LcgGenerator generator;
    Scrambler scrambler(generator);
    for (auto _ : state)
        scrambler.BuildScrambleTable("Wren5");
}
BENCHMARK(BM_BuildScrambleTable)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace stego
