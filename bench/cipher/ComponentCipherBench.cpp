// The longest text enciphered through the component interface (the built
// library, registered into a private registry, created by class identifier)
// beside the same text enciphered directly. Target: at most 1.3 times direct.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>

#include "cipher/Alphabet.h"
#include "cipher/Encryption.h"
#include "comrt/ComPtr.h"
#include "comrt/ComString.h"
#include "comrt/Creation.h"
#include "corvid/_Encryption.h"
#include "support/Limits.h"

namespace {

const std::string kKey = "408127";

std::string longestText() {
    std::mt19937 random(7);
    std::string text(support::kLongestItem, ' ');
    for (char& ch : text)
        ch = corvid::kTextAlphabet[random() % corvid::kTextAlphabet.size()];
    return text;
}

// A private registry holding the built library, removed at the end.
class PrivateRegistry {
public:
    PrivateRegistry() {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvid-bench-registry-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot make a temporary folder");
        m_root = pattern;
        ::setenv("COMPONENT_REGISTRY_DIR", (m_root / "user").c_str(), 1);
        ::setenv("COMPONENT_SYSTEM_REGISTRY_DIR", (m_root / "system").c_str(), 1);
        if (ComCallServerEntry(CORVID_LIBRARY_PATH, "DllRegisterServer") != S_OK)
            throw std::runtime_error("the built library does not register");
    }
    ~PrivateRegistry() {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

private:
    std::filesystem::path m_root;
};

void encryptLongestTextDirectly(benchmark::State& state) {
    const std::string text = longestText();
    corvid::Encryption machine;
    for (auto _ : state) {
        std::string key = kKey;
        benchmark::DoNotOptimize(machine.Encrypt(key, text));
    }
}
BENCHMARK(encryptLongestTextDirectly)->Unit(benchmark::kMillisecond);

void encryptLongestTextThroughTheComponent(benchmark::State& state) {
    static const PrivateRegistry registry;
    com::ComPtr<_Encryption> object;
    if (CoCreateInstance(CLSID_Encryption, nullptr, CLSCTX_INPROC_SERVER, IID__Encryption, object.put()) != S_OK) {
        state.SkipWithError("no Encryption object");
        return;
    }
    const com::ComString text(longestText());
    for (auto _ : state) {
        com::ComString key(kKey);
        com::ComString plain(text.view());
        BSTR cipher = nullptr;
        if (object->Encrypt(key.slot(), plain.slot(), &cipher) != S_OK)
            state.SkipWithError("Encrypt failed");
        benchmark::DoNotOptimize(cipher);
        com::ComString::adopt(cipher);
    }
}
BENCHMARK(encryptLongestTextThroughTheComponent)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
