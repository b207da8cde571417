#include "CommandSupport.h"

#include "engine/PixelChannel.h"
#include "engine/Scrambler.h"

namespace stego {

Outcome errorOutcome(int number, std::string message) {
    Outcome outcome;
    outcome.kind = OutcomeKind::Error;
    outcome.number = number;
    outcome.message = std::move(message);
    return outcome;
}

}  // namespace stego

namespace stego::command {

std::string chooseKey(const std::string& keyText) { return keyText.empty() ? std::string(kDefaultKey) : keyText; }

std::string trimSpaces(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

}  // namespace stego::command

namespace stego {

std::unique_ptr<CipherObject> CreateCipher(const CipherFactory& factory) {
    if (!factory)
        throw Failure(kCipherUnavailable, "The cipher is not available.");
    std::unique_ptr<CipherObject> cipher = factory();
    if (!cipher)
        throw Failure(kCipherUnavailable, "The cipher object could not be created.");
    return cipher;
}

}  // namespace stego

namespace stego::command {

std::unique_ptr<CipherObject> makeCipher(const EngineServices& services) { return CreateCipher(services.makeCipher); }

Outcome hideBody(Carrier& carrier, const std::string& body, const std::string& what, std::string& pass,
                 EngineServices& services) {
    if (body.find(FrameEndMarker) != std::string::npos)
        throw Failure(kInvalidArgument, "Under this key the encrypted " + what + " contains \"" +
                                            std::string(FrameEndMarker) +
                                            "\", the mark that ends hidden data, so it could not be extracted "
                                            "whole. Please choose another key.");
    const std::string framed = std::string(FrameStartMarker) + body + std::string(FrameEndMarker);

    const std::int32_t shortfall =
        CapacityShortfall(static_cast<std::int64_t>(framed.size()), carrier.width(), carrier.height());
    if (shortfall > 0) {
        Outcome outcome;
        outcome.kind = OutcomeKind::CapacityShortfall;
        outcome.shortfall = shortfall;
        outcome.message =
            CapacityMessage(what, static_cast<std::int64_t>(body.size()),
                            CharacterCapacity(carrier.width(), carrier.height()), services.groupSeparator);
        return outcome;
    }

    const std::string trimmedPass = trimSpaces(pass);
    Scrambler scrambler(services.generator);
    scrambler.BuildScrambleTable(trimmedPass);
    EmbedFramedText(carrier, scrambler, framed);
    pass = trimmedPass;
    return Outcome{};
}

ScanResult scanPicture(const Carrier& carrier, const std::string& trimmedPass, EngineServices& services) {
    Scrambler scrambler(services.generator);
    scrambler.BuildScrambleTable(trimmedPass);
    return ScanFramedText(carrier, scrambler);
}

Outcome incompleteOutcome() {
    Outcome outcome;
    outcome.kind = OutcomeKind::Incomplete;
    outcome.message = "The picture holds the start of a hidden item but not its end; it may have been cut or changed.";
    return outcome;
}

}  // namespace stego::command
