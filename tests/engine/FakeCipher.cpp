#include "FakeCipher.h"

#include <memory>

#include "engine/Failure.h"
#include "engine/MessageAlphabet.h"
#include "support/Limits.h"

namespace stego::test {

namespace {

constexpr std::size_t kMaxSymbols = support::kLongestItem;
constexpr int kMissingKey = 99;

// The key's digits summed: any two keys with different sums garble each other.
int keyShift(const std::string& key) {
    int sum = 0;
    for (const char ch : key) {
        if (ch < '0' || ch > '9')
            throw Failure(kInvalidArgument, "The key may hold only digits");
        sum += ch - '0';
    }
    return sum;
}

void normalise(std::string& key) {
    while (key.size() < 18)
        key += key;
    key.resize(18);
}

char shiftSymbol(char ch, std::size_t position, int shift, int direction) {
    const auto at = kMessageAlphabet.find(ch);
    if (at == std::string_view::npos)
        throw Failure(kInvalidArgument, "Invalid procedure call or argument");
    const auto size = static_cast<long>(kMessageAlphabet.size());
    const long moved = (static_cast<long>(at) + direction * (shift + static_cast<long>(position % 84))) % size;
    return kMessageAlphabet[static_cast<std::size_t>((moved + size) % size)];
}

char shiftByte(char ch, std::size_t position, int shift, int direction) {
    const long moved = static_cast<unsigned char>(ch) + direction * (shift + static_cast<long>(position % 256));
    return static_cast<char>(static_cast<unsigned char>(((moved % 256) + 256) % 256));
}

}  // namespace

FakeCipher::FakeCipher(FileStore& files, FakeCipherLog& log) : m_files(files), m_log(log) {
    ++m_log.created;
    ++m_log.alive;
}

FakeCipher::~FakeCipher() { --m_log.alive; }

std::string FakeCipher::shiftText(std::string& key, const std::string& text, int direction) {
    if (m_log.beforeEachCall)
        m_log.beforeEachCall();
    if (key.empty())
        return "Error - Missing Key";
    const int shift = keyShift(key);
    normalise(key);
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == kMaxSymbols)
            throw Failure(kOverflow, "Overflow");
        result += shiftSymbol(text[i], i, shift, direction);
    }
    return result;
}

std::int32_t FakeCipher::shiftFile(std::string& key, const std::string& from, const std::string& to, int direction) {
    if (m_log.beforeEachCall)
        m_log.beforeEachCall();
    if (key.empty())
        return kMissingKey;
    if (m_log.fileResult != 0)
        return m_log.fileResult;
    const int shift = keyShift(key);
    normalise(key);
    const std::string input = m_files.readAll(from);
    std::string output;
    for (std::size_t i = 0; i < input.size() && i < kMaxSymbols; ++i)
        output += shiftByte(input[i], i, shift, direction);
    m_log.filesWritten.push_back(to);
    m_files.writeAll(to, output);
    if (input.size() > kMaxSymbols)
        throw Failure(kOverflow, "Overflow");
    return 0;
}

std::string FakeCipher::Encrypt(std::string& key, const std::string& encstr) { return shiftText(key, encstr, +1); }

std::string FakeCipher::Decrypt(std::string& key, const std::string& encstr) { return shiftText(key, encstr, -1); }

std::int32_t FakeCipher::EncryptFile(std::string& key, const std::string& filename, const std::string& encfilename) {
    return shiftFile(key, filename, encfilename, +1);
}

std::int32_t FakeCipher::DecryptFile(std::string& key, const std::string& filename, const std::string& decfilename) {
    return shiftFile(key, filename, decfilename, -1);
}

CipherFactory makeFakeCipherFactory(FileStore& files, FakeCipherLog& log) {
    return [&files, &log]() -> std::unique_ptr<CipherObject> {
        if (log.refuseCreation)
            return nullptr;
        return std::make_unique<FakeCipher>(files, log);
    };
}

std::string fakePlainTextFor(const std::string& key, const std::string& ciphertext) {
    const int shift = keyShift(key);
    std::string plain;
    for (std::size_t i = 0; i < ciphertext.size(); ++i)
        plain += shiftSymbol(ciphertext[i], i, shift, -1);
    return plain;
}

std::string fakePlainBytesFor(const std::string& key, const std::string& cipherBytes) {
    const int shift = keyShift(key);
    std::string plain;
    for (std::size_t i = 0; i < cipherBytes.size(); ++i)
        plain += shiftByte(cipherBytes[i], i, shift, -1);
    return plain;
}

}  // namespace stego::test
