// Sealing a 1 MB file into a 24-megapixel photograph against the classic
// hide-file of the same picture (its largest file, 32,767 bytes), each as the
// command line runs it: open the JPEG, hide, write the BMP. Budget: sealing
// costs at most the key derivation plus 1.2 times the classic, whether the
// keys are derived after the picture opens or (as the command line does it)
// while it opens. Opening and the
// classic extract-file are measured the same way, from the BMP.
// The photograph is $PIXQUILL_BENCH_PHOTO, or the benchmark corpus's
// photo-24mp.jpg in /tmp/corpus (made by the corpus script).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <future>
#include <optional>
#include <random>
#include <string>

#include "DirectCipher.h"
#include "TestFolder.h"
#include "engine/Commands.h"
#include "engine/LcgGenerator.h"
#include "platform/ImageCarrier.h"
#include "platform/PictureFile.h"
#include "platform/PosixFileStore.h"
#include "platform/SodiumCrypto.h"
#include "sealed/SealedCommands.h"

namespace {

std::string photoPath() {
    const char* given = std::getenv("PIXQUILL_BENCH_PHOTO");
    return given != nullptr ? given : "/tmp/corpus/photo-24mp.jpg";
}

std::string randomBytes(std::size_t count) {
    std::mt19937 random(1);
    std::string bytes(count, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random());
    return bytes;
}

void writeBytes(stego::FileStore& files, const std::string& path, std::size_t count) {
    files.writeAll(path, randomBytes(count));
}

const std::string kPassphrase = "a passphrase of some length";

void BM_KeyDerivation(benchmark::State& state) {
    stego::platform::SodiumCrypto crypto;
    const sealed::Salt salt{};
    sealed::Key key;
    for (auto _ : state)
        if (!crypto.deriveKey(key, kPassphrase, salt, sealed::kDefaultCost))
            state.SkipWithError("no memory for the key derivation");
}
BENCHMARK(BM_KeyDerivation)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// A folder holding a 1 MB payload, and the sealed commands' services over it.
struct SealedBench {
    testsupport::TestFolder folder;
    stego::platform::PosixFileStore files;
    stego::platform::SodiumCrypto crypto;
    sealed::SealedServices services{crypto, files};

    SealedBench() { writeBytes(files, folder / "payload.bin", 1 << 20); }

    // Opens the photograph, seals the payload into it and writes sealed.bmp;
    // inAdvance: the keys derived while the picture opens. Why it failed, if it did.
    std::optional<std::string> sealPhotograph(bool inAdvance) {
        std::future<sealed::SealingKeys> keys;
        services.keysInAdvance = nullptr;
        if (inAdvance) {
            keys = std::async(std::launch::async,
                              [&] { return sealed::DeriveSealingKeys(crypto, kPassphrase, services.cost); });
            services.keysInAdvance = [&keys] { return keys.get(); };
        }
        QImage picture = stego::platform::loadPicture(photoPath());
        stego::platform::ImageCarrier carrier(picture);
        const stego::Outcome outcome = sealed::SealFile(carrier, kPassphrase, folder / "payload.bin", services);
        if (outcome.kind != stego::OutcomeKind::Done)
            return outcome.message;
        stego::platform::savePictureAsBmp(picture, folder / "sealed.bmp");
        return std::nullopt;
    }
};

void BM_SealOneMegabyteFile(benchmark::State& state) {
    if (!std::filesystem::exists(photoPath()))
        return state.SkipWithError(("no photograph at " + photoPath()).c_str());
    SealedBench bench;
    for (auto _ : state)
        if (const auto failure = bench.sealPhotograph(state.range(0) == 1))
            return state.SkipWithError(failure->c_str());
}
// Argument 0: the key derivation after the picture opens; 1: while it opens,
// as the command line does it.
BENCHMARK(BM_SealOneMegabyteFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// A folder holding the classic's largest file, and the engine's services over it.
struct ClassicBench {
    testsupport::TestFolder folder;
    stego::platform::PosixFileStore files;
    stego::platform::LcgGenerator generator;
    stego::EngineServices services{generator, stego::platform::makeDirectCipherFactory(), files, ","};

    ClassicBench() { writeBytes(files, folder / "payload.bin", 32767); }

    // Opens the photograph, hides the file in it and writes classic.bmp. Why it failed, if it did.
    std::optional<std::string> hideInPhotograph() {
        QImage picture = stego::platform::loadPicture(photoPath());
        stego::platform::ImageCarrier carrier(picture);
        std::string pass = "Wren5";
        const stego::Outcome outcome = stego::InsertFile(carrier, "123456", folder / "payload.bin", pass, services);
        if (outcome.kind != stego::OutcomeKind::Done)
            return outcome.message;
        stego::platform::savePictureAsBmp(picture, folder / "classic.bmp");
        return std::nullopt;
    }
};

void BM_ClassicHideFile(benchmark::State& state) {
    if (!std::filesystem::exists(photoPath()))
        return state.SkipWithError(("no photograph at " + photoPath()).c_str());
    ClassicBench bench;
    for (auto _ : state)
        if (const auto failure = bench.hideInPhotograph())
            return state.SkipWithError(failure->c_str());
}
BENCHMARK(BM_ClassicHideFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The other way: opening the 1 MB file from the sealed BMP, and the classic
// extract-file of its 32,767 bytes, each with the BMP loaded.
void BM_OpenOneMegabyteFile(benchmark::State& state) {
    if (!std::filesystem::exists(photoPath()))
        return state.SkipWithError(("no photograph at " + photoPath()).c_str());
    SealedBench bench;
    if (const auto failure = bench.sealPhotograph(false))
        return state.SkipWithError(failure->c_str());
    for (auto _ : state) {
        QImage picture = stego::platform::loadPicture(bench.folder / "sealed.bmp");
        const stego::platform::ImageCarrier carrier(picture);
        const stego::Outcome outcome =
            sealed::OpenFile(carrier, kPassphrase, bench.folder / "opened.bin", bench.services);
        if (outcome.kind != stego::OutcomeKind::Done)
            return state.SkipWithError(outcome.message.c_str());
    }
}
BENCHMARK(BM_OpenOneMegabyteFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_ClassicExtractFile(benchmark::State& state) {
    if (!std::filesystem::exists(photoPath()))
        return state.SkipWithError(("no photograph at " + photoPath()).c_str());
    ClassicBench bench;
    if (const auto failure = bench.hideInPhotograph())
        return state.SkipWithError(failure->c_str());
    for (auto _ : state) {
        QImage picture = stego::platform::loadPicture(bench.folder / "classic.bmp");
        const stego::platform::ImageCarrier carrier(picture);
        std::string pass = "Wren5";
        const stego::Outcome outcome =
            stego::ExtractFile(carrier, "123456", bench.folder / "extracted.bin", pass, bench.services);
        if (outcome.kind != stego::OutcomeKind::Done)
            return state.SkipWithError(outcome.message.c_str());
    }
}
BENCHMARK(BM_ClassicExtractFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
