// How long the cipher takes for what one command asks of it: a key set-up,
// the longest text, the longest file. Targets: 150 us, 150 us, 2 ms, 3 ms.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <stdlib.h>

#include "cipher/Alphabet.h"
#include "cipher/Encryption.h"
#include "support/Limits.h"

namespace {

constexpr std::size_t kLongest = support::kLongestItem;
const std::string kKey = "408127";

void keySetUpText(benchmark::State& state) {
    corvid::Encryption machine;
    for (auto _ : state) {
        std::string key = kKey;
        benchmark::DoNotOptimize(machine.InitText(key));
    }
}
BENCHMARK(keySetUpText)->Unit(benchmark::kMicrosecond);

void keySetUpBinary(benchmark::State& state) {
    corvid::Encryption machine;
    for (auto _ : state) {
        std::string key = kKey;
        benchmark::DoNotOptimize(machine.InitBinary(key));
    }
}
BENCHMARK(keySetUpBinary)->Unit(benchmark::kMicrosecond);

void encryptLongestText(benchmark::State& state) {
    std::mt19937 random(7);
    std::string text(kLongest, ' ');
    for (char& ch : text)
        ch = corvid::kTextAlphabet[random() % corvid::kTextAlphabet.size()];
    corvid::Encryption machine;
    for (auto _ : state) {
        std::string key = kKey;
        benchmark::DoNotOptimize(machine.Encrypt(key, text));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kLongest));
}
BENCHMARK(encryptLongestText)->Unit(benchmark::kMicrosecond);

// A private folder holding a 32,767-byte input and the output, removed afterwards.
class BenchFiles {
public:
    BenchFiles() {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvid-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot make a temporary folder");
        m_root = pattern;
        std::mt19937 random(11);
        std::string bytes(kLongest, '\0');
        for (char& ch : bytes)
            ch = static_cast<char>(random() & 0xff);
        std::ofstream(input(), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    ~BenchFiles() {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }
    std::string input() const { return (m_root / "plain.bin").string(); }
    std::string output() const { return (m_root / "cipher.bin").string(); }

private:
    std::filesystem::path m_root;
};

void encryptLongestFile(benchmark::State& state) {
    const BenchFiles files;
    corvid::Encryption machine;
    for (auto _ : state) {
        std::string key = kKey;
        benchmark::DoNotOptimize(machine.EncryptFile(key, files.input(), files.output()));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kLongest));
}
BENCHMARK(encryptLongestFile)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
