// The file cipher: EncryptFile and DecryptFile pass a whole file through the
// machine in byte mode, byte i of the output being the i-th symbol handled.
#include "cipher/Encryption.h"

#include <algorithm>

#include "cipher/CipherError.h"
#include "cipher/FileSystemError.h"
#include "cipher/InputFile.h"
#include "cipher/OutputFile.h"
#include "support/ClearedOnExit.h"

namespace corvid {

std::int32_t Encryption::EncryptFile(std::string& key, const std::string& filename, const std::string& encfilename) {
    return cipherFile(key, filename, encfilename, true);
}

std::int32_t Encryption::DecryptFile(std::string& key, const std::string& filename, const std::string& decfilename) {
    return cipherFile(key, filename, decfilename, false);
}

std::int32_t Encryption::cipherFile(std::string& key, const std::string& inputPath, const std::string& outputPath,
                                    bool encipher) {
    if (InitBinary(key) == kMissingKey) {
        return kMissingKey;
    }
    // The input is read before the output is touched, and one byte past the counter's limit
    // at most: that byte is where an overlong file fails.
    // One side or the other is the plain file: both copies are cleared on the way out.
    InputFile input = InputFile::read(inputPath, static_cast<std::size_t>(kMaxSymbolCount) + 1);
    const support::ClearedOnExit clearInput(input.bytes);
    OutputFile output(outputPath, input.identity);

    const Encryption atSetUp = *this;
    const std::size_t inReach = std::min(input.bytes.size(), static_cast<std::size_t>(kMaxSymbolCount));
    std::string result(inReach, '\0');
    const support::ClearedOnExit clearResult(result);
    for (std::size_t i = 0; i < inReach; ++i) {
        result[i] = cipherSymbol(input.bytes[i], encipher);
        advance();
    }

    std::size_t written = 0;
    if (const int error = output.writeAll(result, written); error != 0) {
        // Byte by byte, the byte that could not be written had already passed through the
        // machine: leave it in that state, not at the end of the file.
        *this = atSetUp;
        for (std::size_t i = 0; i <= written; ++i) {
            advance();
        }
        throw fileSystemError(error, outputPath);
    }
    if (input.bytes.size() > inReach) {
        // Every byte is a symbol, so only the counter can refuse the next one: error 6, with the
        // bytes before it in the output.
        advance();
    }
    output.close();
    return 0;
}

}  // namespace corvid
