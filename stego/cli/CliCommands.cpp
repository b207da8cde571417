#include "CliCommands.h"

#include <iostream>

#include "CliReporting.h"
#include "ExitCode.h"
#include "Latin1Text.h"
#include "engine/Commands.h"
#include "engine/Failure.h"
#include "engine/FileChecks.h"
#include "engine/MessageAlphabet.h"
#include "engine/NumberFormat.h"
#include "engine/PixelChannel.h"
#include "platform/Picture.h"
#include "platform/ReplacementFile.h"
#include "support/ClearedOnExit.h"
#include "support/Limits.h"
#include "support/SecureClear.h"

namespace stego::cli {

namespace {

constexpr const char* kGroupSeparator = ",";
constexpr std::int64_t kLongestItem = support::kLongestItem;

// The key as given, or the default key with a word on stderr (the window asks instead).
std::string chosenKey(const CliRequest& request, CliEnvironment& env) {
    if (request.keyGiven)
        return request.key;
    env.err << kProgram << ": note: no --key given; using the default key " << kDefaultKey
            << ", with which anyone can read the result\n";
    return kDefaultKey;
}

EngineServices servicesOf(CliEnvironment& env) {
    return EngineServices{env.generator, env.makeCipher, env.files, kGroupSeparator};
}

// A message has at most 32,767 characters, none longer than four bytes in
// UTF-8, and may end in a line break: a text past this is refused unread.
constexpr std::int64_t kLongestMessageBytes = 4 * kLongestItem + 2;

Failure messageTooLong(const std::string& source, const std::string& size) {
    return Failure(kOverflow, source + " holds " + size + " bytes; a message of at most " +
                                  formatGrouped(kLongestItem, kGroupSeparator) + " characters can be hidden.");
}

std::string readStandardInput(std::istream& in) {
    // Read in pieces up to the limit: standard input may be a device that never ends.
    // Room for all of it up front: a growing string would leave copies of the text behind.
    std::string text;
    text.reserve(static_cast<std::size_t>(kLongestMessageBytes) + 1);
    char piece[4096];
    while (in.read(piece, sizeof piece) || in.gcount() > 0) {
        const auto got = static_cast<std::size_t>(in.gcount());
        if (static_cast<std::int64_t>(text.size() + got) > kLongestMessageBytes) {
            support::secureClear(piece, sizeof piece);
            support::secureClear(text);
            throw messageTooLong("Standard input", "more than " + formatGrouped(kLongestMessageBytes, kGroupSeparator));
        }
        text.append(piece, got);
    }
    support::secureClear(piece, sizeof piece);
    // One final line break is the end of the line typed or echoed, not part of the text.
    if (!text.empty() && text.back() == '\n') {
        text.pop_back();
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
    }
    return text;
}

std::string readTextFile(const std::string& path, FileStore& files) {
    RequireOrdinaryFile(files, path);
    const std::int64_t size = files.sizeOf(path);
    if (size > kLongestMessageBytes)
        throw messageTooLong(path, formatGrouped(size, kGroupSeparator));
    return files.readAll(path);
}

// The message as ISO 8859-1; the UTF-8 copy read on the way is cleared.
std::string messageText(const CliRequest& request, CliEnvironment& env) {
    if (request.textGiven)
        return utf8ToLatin1(request.text, "the message");
    std::string utf8 = request.textFileGiven ? readTextFile(request.textFile, env.files) : readStandardInput(env.in);
    const support::ClearedOnExit clearUtf8(utf8);
    return utf8ToLatin1(utf8, "the message");
}

// Shared by the two hide commands: load, change the pixels in memory, and
// write the picture out only when the engine succeeded.
template <typename Insert>
int hideInto(const CliRequest& request, CliEnvironment& env, Insert&& insert) {
    if (const auto refused = refuseOutputName(request, env))
        return *refused;
    platform::Picture picture = platform::loadPicture(request.image);
    platform::PictureCarrier carrier(picture);
    std::string pass = kScrambleKey;
    EngineServices services = servicesOf(env);
    const Outcome outcome = insert(carrier, pass, services);
    if (outcome.kind != OutcomeKind::Done)
        return reportOutcome(env, outcome);
    platform::savePicture(picture, request.output);
    return kSuccess;
}

// Shared by the two extract commands: the picture is only read.
template <typename Extract>
int extractFrom(const CliRequest& request, CliEnvironment& env, Extract&& extract) {
    std::string key = chosenKey(request, env);
    const support::ClearedOnExit clearKey(key);
    return reportingFailures(env, [&] {
        platform::Picture picture = platform::loadPicture(request.image);
        const platform::PictureCarrier carrier(picture);
        std::string pass = kScrambleKey;
        EngineServices services = servicesOf(env);
        Outcome outcome = extract(carrier, key, pass, services);
        const support::ClearedOnExit clearText(outcome.text);
        return reportOutcome(env, outcome);
    });
}

// The cipher's words for a text it cannot take are terse; these name the character.
void checkCipherText(const std::string& text, const std::string& what) {
    if (static_cast<std::int64_t>(text.size()) > kLongestItem)
        throw Failure(kOverflow, "The " + what + " has " + formatGrouped(static_cast<std::int64_t>(text.size()), ",") +
                                     " characters; at most " + formatGrouped(kLongestItem, ",") +
                                     " can be enciphered under one key.");
    if (const auto position = firstCharacterOutsideAlphabet(text))
        throw Failure(kInvalidArgument, "Character " + std::to_string(*position + 1) + " of the " + what + ", " +
                                            describeCharacter(text[*position]) + ", is not in the cipher's alphabet: " +
                                            std::string(kAllowedCharactersInWords) + ".");
}

template <typename Call>
int cipherText(const CliRequest& request, CliEnvironment& env, const std::string& what, Call&& call) {
    std::string key = chosenKey(request, env);
    const support::ClearedOnExit clearKey(key);
    return reportingFailures(env, [&] {
        // Either the text or the result is a plain text.
        std::string text = utf8ToLatin1(request.text, "the " + what);
        const support::ClearedOnExit clearText(text);
        checkCipherText(text, what);
        const std::unique_ptr<CipherObject> cipher = CreateCipher(env.makeCipher);
        std::string result = call(*cipher, key, text);
        const support::ClearedOnExit clearResult(result);
        std::string shown = latin1ToUtf8(result);
        const support::ClearedOnExit clearShown(shown);
        env.out << shown << '\n';
        return kSuccess;
    });
}

// Only an ordinary file of at most 32,767 bytes can be enciphered whole: the
// cipher would create a missing input empty, and stop with a partial output
// past its symbol limit.
void checkCipherInput(const std::string& path, FileStore& files) {
    RequireOrdinaryFile(files, path);
    const std::int64_t size = files.sizeOf(path);
    if (size > kLongestItem)
        throw Failure(kOverflow, path + " has " + formatGrouped(size, kGroupSeparator) + " bytes; at most " +
                                     formatGrouped(kLongestItem, kGroupSeparator) +
                                     " bytes can be enciphered under one key.");
}

using FileCall = std::int32_t (CipherObject::*)(std::string&, const std::string&, const std::string&);

// Failure words with the path through which the cipher reached the new file
// replaced by the destination the user named.
Failure namingDestination(const Failure& failure, const std::string& handlePath, const std::string& destination) {
    std::string words = failure.what();
    for (std::size_t at = words.find(handlePath); at != std::string::npos;
         at = words.find(handlePath, at + destination.size()))
        words.replace(at, handlePath.size(), destination);
    return Failure(failure.number(), words);
}

// The cipher writes into a new file held open beside the destination (reached
// through its handle, never through a folder's name); it replaces the
// destination only when complete. A new output is for its owner only.
int cipherFile(const CliRequest& request, CliEnvironment& env, FileCall call, const char* failureWords) {
    std::string key = chosenKey(request, env);
    const support::ClearedOnExit clearKey(key);
    return reportingFailures(env, [&] {
        checkCipherInput(request.input, env.files);
        RequireReplaceableFile(env.files, request.output);
        platform::ReplacementFile output(request.output, platform::ReplacementFile::NewFileMode::OwnerOnly);
        std::int32_t result = 0;
        try {
            const std::unique_ptr<CipherObject> cipher = CreateCipher(env.makeCipher);
            result = ((*cipher).*call)(key, request.input, output.pathThroughHandle());
        } catch (const Failure& failure) {
            throw namingDestination(failure, output.pathThroughHandle(), request.output);
        }
        if (result != 0)
            return reportError(env, result, std::string(failureWords) + request.input + ".");
        output.commit();
        return kSuccess;
    });
}

}  // namespace

int hideMessage(const CliRequest& request, CliEnvironment& env) {
    std::string key = chosenKey(request, env);
    const support::ClearedOnExit clearKey(key);
    return reportingFailures(env, [&] {
        std::string message = messageText(request, env);
        const support::ClearedOnExit clearMessage(message);
        return hideInto(request, env, [&](Carrier& carrier, std::string& pass, EngineServices& services) {
            return InsertMessage(carrier, key, message, pass, services);
        });
    });
}

int hideFile(const CliRequest& request, CliEnvironment& env) {
    std::string key = chosenKey(request, env);
    const support::ClearedOnExit clearKey(key);
    return reportingFailures(env, [&] {
        return hideInto(request, env, [&](Carrier& carrier, std::string& pass, EngineServices& services) {
            return InsertFile(carrier, key, request.file, pass, services);
        });
    });
}

int extractMessage(const CliRequest& request, CliEnvironment& env) {
    return extractFrom(request, env,
                       [](const Carrier& carrier, const std::string& key, std::string& pass, EngineServices& services) {
                           return ExtractMessage(carrier, key, pass, services);
                       });
}

int extractFile(const CliRequest& request, CliEnvironment& env) {
    if (request.output == request.image || env.files.sameFile(request.output, request.image))
        return reportUsage(env, "--output names the picture given with --image; extract-file never replaces "
                                "the picture: choose another destination");
    return extractFrom(
        request, env, [&](const Carrier& carrier, const std::string& key, std::string& pass, EngineServices& services) {
            return ExtractFile(carrier, key, request.output, pass, services);
        });
}

int showCapacity(const CliRequest& request, CliEnvironment& env) {
    return reportingFailures(env, [&] {
        const platform::Picture picture = platform::loadPicture(request.image);
        env.out << CharacterCapacity(picture.width(), picture.height()) << '\n';
        return kSuccess;
    });
}

int encryptText(const CliRequest& request, CliEnvironment& env) {
    return cipherText(request, env, "text", [](CipherObject& cipher, std::string& key, const std::string& text) {
        return cipher.Encrypt(key, text);
    });
}

int decryptText(const CliRequest& request, CliEnvironment& env) {
    return cipherText(request, env, "ciphertext", [](CipherObject& cipher, std::string& key, const std::string& text) {
        return cipher.Decrypt(key, text);
    });
}

int encryptFile(const CliRequest& request, CliEnvironment& env) {
    return cipherFile(request, env, &CipherObject::EncryptFile, "There was an error encrypting ");
}

int decryptFile(const CliRequest& request, CliEnvironment& env) {
    return cipherFile(request, env, &CipherObject::DecryptFile, "There was an error decrypting ");
}

}  // namespace stego::cli
