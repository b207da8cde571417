#include "SealedCli.h"

#include <CLI/CLI.hpp>

#include <future>
#include <istream>
#include <ostream>

#include "CliReporting.h"
#include "PassphrasePrompt.h"
#include "engine/FileChecks.h"
#include "engine/NumberFormat.h"
#include "platform/ImageCarrier.h"
#include "platform/PictureFile.h"
#include "platform/SodiumCrypto.h"
#include "sealed/SealedCommands.h"
#include "support/ClearedOnExit.h"
#include "support/SecureClear.h"

namespace stego::cli {

namespace {

constexpr std::int64_t kLongestPassphraseFile = 4096;

// A usage problem found after parsing: no way to get a passphrase.
struct UsageProblem {
    std::string words;
};

std::size_t utf8Characters(const std::string& text) {
    std::size_t count = 0;
    for (const char byte : text)
        count += (static_cast<unsigned char>(byte) & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

std::string passphraseFromFile(const std::string& path, FileStore& files) {
    RequireOrdinaryFile(files, path);
    if (files.sizeOf(path) > kLongestPassphraseFile)
        throw Failure(kOverflow, path + " is longer than a passphrase file can be (4,096 bytes).");
    std::string content = files.readAll(path);
    const support::ClearedOnExit clearContent(content);
    // The first line is the passphrase; its line break is not part of it.
    std::string passphrase = content.substr(0, content.find('\n'));
    if (!passphrase.empty() && passphrase.back() == '\r')
        passphrase.pop_back();
    return passphrase;
}

std::string askPassphrase(const std::string& prompt) {
    std::optional<std::string> answer = askOnTerminal(prompt);
    if (!answer)
        throw UsageProblem{"there is no terminal to ask for the passphrase on: give --passphrase-file FILE"};
    return std::move(*answer);
}

// From the file, or asked for on the terminal (twice when it seals, so that a
// typing slip does not lock the item away).
std::string choosePassphrase(const CliRequest& request, CliEnvironment& env, bool sealing) {
    std::string passphrase;
    if (request.passphraseFileGiven) {
        passphrase = passphraseFromFile(request.passphraseFile, env.files);
    } else {
        passphrase = askPassphrase("Passphrase: ");
        if (sealing) {
            std::string again = askPassphrase("The passphrase again: ");
            const support::ClearedOnExit clearAgain(again);
            if (again != passphrase) {
                support::secureClear(passphrase);
                throw Failure(kInvalidArgument, "The two passphrases differ; nothing was sealed.");
            }
        }
    }
    if (passphrase.empty())
        throw Failure(kInvalidArgument, "The passphrase is empty; a sealed item needs one.");
    if (sealing && utf8Characters(passphrase) < sealed::kShortPassphrase)
        env.err << kProgram << ": warning: the passphrase has fewer than " << sealed::kShortPassphrase
                << " characters; a short passphrase can be guessed\n";
    return passphrase;
}

// Runs body with the passphrase; usage problems and failures become messages and codes.
template <typename Body>
int withPassphrase(const CliRequest& request, CliEnvironment& env, bool sealing, Body&& body) {
    try {
        return reportingFailures(env, [&] {
            std::string passphrase = choosePassphrase(request, env, sealing);
            const support::ClearedOnExit clearPassphrase(passphrase);
            stego::platform::SodiumCrypto crypto;
            sealed::SealedServices services{crypto, env.files};
            return body(passphrase, services);
        });
    } catch (const UsageProblem& problem) {
        return reportUsage(env, problem.words);
    }
}

// Reads in pieces up to limit + 1 bytes: standard input may be a device that never ends.
std::string readUpTo(std::istream& in, std::int64_t limit) {
    std::string text;
    char piece[4096];
    while ((in.read(piece, sizeof piece) || in.gcount() > 0) && static_cast<std::int64_t>(text.size()) <= limit)
        text.append(piece, static_cast<std::size_t>(in.gcount()));
    support::secureClear(piece, sizeof piece);
    return text;
}

// The message as UTF-8, as given: a sealed item keeps any text.
std::string sealedMessageText(const CliRequest& request, CliEnvironment& env, std::int64_t capacity) {
    if (request.textGiven)
        return request.text;
    // Past the capacity and a final line break, the rest need not be read to refuse it.
    const std::int64_t limit = std::max<std::int64_t>(capacity, 0) + 2;
    std::string text;
    if (request.textFileGiven) {
        RequireOrdinaryFile(env.files, request.textFile);
        const std::int64_t size = env.files.sizeOf(request.textFile);
        if (size > limit)
            throw Failure(kOverflow, request.textFile + " holds " + formatGrouped(size, ",") +
                                         " bytes; this picture can hold a sealed message of " +
                                         formatGrouped(std::max<std::int64_t>(capacity, 0), ",") + " bytes.");
        text = env.files.readAll(request.textFile);
    } else {
        text = readUpTo(env.in, limit);
    }
    // One final line break is the end of the line typed or echoed, not part of the text.
    if (!text.empty() && text.back() == '\n') {
        text.pop_back();
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
    }
    return text;
}

// Loads the picture, seals into it in memory, and writes it only on success.
template <typename Seal>
int sealInto(const CliRequest& request, CliEnvironment& env, Seal&& seal) {
    if (const auto refused = refuseOutputName(request, env))
        return *refused;
    return withPassphrase(request, env, true, [&](const std::string& passphrase, sealed::SealedServices& services) {
        // The key derivation needs no picture: it runs on a thread of its own
        // while the picture opens (on failure, it is waited for and dropped).
        std::future<sealed::SealingKeys> keys = std::async(
            std::launch::async, [&] { return sealed::DeriveSealingKeys(services.crypto, passphrase, services.cost); });
        services.keysInAdvance = [&keys] { return keys.get(); };
        QImage picture = platform::loadPicture(request.image);
        platform::ImageCarrier carrier(picture);
        const Outcome outcome = seal(carrier, passphrase, services);
        if (outcome.kind != OutcomeKind::Done)
            return reportOutcome(env, outcome);
        platform::savePicture(picture, request.output);
        return kSuccess;
    });
}

}  // namespace

void addSealOptions(CLI::App& command, CliRequest& request) {
    CLI::Option* seal = command.add_flag(
        "--seal", request.seal,
        "Sealed item: a passphrase asked for on the terminal, authenticated encryption, scattered bits, "
        "and any size up to the picture's sealed capacity");
    CLI::Option* file = command
                            .add_option("--passphrase-file", request.passphraseFile,
                                        "Sealed item, with the passphrase on the first line of FILE")
                            ->type_name("FILE");
    for (const char* keyOption : {"--key", "--key-file"}) {
        if (CLI::Option* key = command.get_option_no_throw(keyOption)) {
            key->excludes(seal);
            key->excludes(file);
        }
    }
}

CommandRun classicOrSealed(CommandRun classic, CommandRun sealedRun) {
    return [classic = std::move(classic), sealedRun = std::move(sealedRun)](const CliRequest& request,
                                                                            CliEnvironment& env) {
        return request.seal || request.passphraseFileGiven ? sealedRun(request, env) : classic(request, env);
    };
}

int hideMessageSealed(const CliRequest& request, CliEnvironment& env) {
    return sealInto(
        request, env, [&](Carrier& carrier, const std::string& passphrase, sealed::SealedServices& services) {
            std::string message =
                sealedMessageText(request, env, sealed::SealedCapacity(carrier.width(), carrier.height(), 0));
            const support::ClearedOnExit clearMessage(message);
            return sealed::SealMessage(carrier, passphrase, message, services);
        });
}

int hideFileSealed(const CliRequest& request, CliEnvironment& env) {
    return sealInto(request, env,
                    [&](Carrier& carrier, const std::string& passphrase, sealed::SealedServices& services) {
                        return sealed::SealFile(carrier, passphrase, request.file, services);
                    });
}

int extractMessageSealed(const CliRequest& request, CliEnvironment& env) {
    return withPassphrase(request, env, false, [&](const std::string& passphrase, sealed::SealedServices& services) {
        QImage picture = platform::loadPicture(request.image);
        const platform::ImageCarrier carrier(picture);
        Outcome outcome = sealed::OpenMessage(carrier, passphrase, services);
        const support::ClearedOnExit clearText(outcome.text);
        if (outcome.kind != OutcomeKind::TextExtracted)
            return reportOutcome(env, outcome);
        env.out << outcome.text << '\n';  // UTF-8 already
        return kSuccess;
    });
}

int extractFileSealed(const CliRequest& request, CliEnvironment& env) {
    if (request.output == request.image || env.files.sameFile(request.output, request.image))
        return reportUsage(env, "--output names the picture given with --image; extract-file never replaces "
                                "the picture: choose another destination");
    return withPassphrase(request, env, false, [&](const std::string& passphrase, sealed::SealedServices& services) {
        QImage picture = platform::loadPicture(request.image);
        const platform::ImageCarrier carrier(picture);
        const Outcome outcome = sealed::OpenFile(carrier, passphrase, request.output, services);
        if (outcome.kind == OutcomeKind::Done && !outcome.text.empty())
            env.err << kProgram << ": note: the file was sealed under the name " << outcome.text << '\n';
        return reportOutcome(env, outcome);
    });
}

int showCapacitySealed(const CliRequest& request, CliEnvironment& env) {
    return reportingFailures(env, [&] {
        const QImage picture = platform::loadPicture(request.image);
        env.out << std::max<std::int64_t>(sealed::SealedCapacity(picture.width(), picture.height(), 0), 0) << '\n';
        return kSuccess;
    });
}

}  // namespace stego::cli
