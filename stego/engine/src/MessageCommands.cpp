// Insert Message and Extract Message.
#include "CommandSupport.h"
#include "engine/Commands.h"
#include "engine/MessageAlphabet.h"
#include "engine/NumberFormat.h"
#include "support/ClearedOnExit.h"

namespace stego {

using namespace command;

namespace {

void checkMessage(const std::string& message, const EngineServices& services) {
    if (static_cast<std::int64_t>(message.size()) > kMaxItemLength)
        throw Failure(kOverflow, "The message has " +
                                     formatGrouped(static_cast<std::int64_t>(message.size()), services.groupSeparator) +
                                     " characters; at most " + formatGrouped(kMaxItemLength, services.groupSeparator) +
                                     " can be hidden.");
    if (const auto position = firstCharacterOutsideAlphabet(message))
        throw Failure(kInvalidArgument, "Character " + std::to_string(*position + 1) + " of the message, " +
                                            describeCharacter(message[*position]) +
                                            ", cannot be hidden. A message may hold " +
                                            std::string(kAllowedCharactersInWords) + ".");
}

// A file's body is bytes, a message's body only alphabet characters: a
// character outside it means that what the picture holds is a file.
void checkHiddenMessage(const std::string& body, const EngineServices& services) {
    if (firstCharacterOutsideAlphabet(body))
        throw Failure(kInvalidArgument,
                      "This picture holds a hidden file, not a message. Use \"Extract Data\" to extract it.");
    if (static_cast<std::int64_t>(body.size()) > kMaxItemLength)
        throw Failure(kOverflow, "The hidden item has " +
                                     formatGrouped(static_cast<std::int64_t>(body.size()), services.groupSeparator) +
                                     " characters; a message has at most " +
                                     formatGrouped(kMaxItemLength, services.groupSeparator) + ".");
}

}  // namespace

Outcome InsertMessage(Carrier& carrier, const std::string& keyText, const std::string& message, std::string& pass,
                      EngineServices& services) {
    return guarded([&] {
        checkMessage(message, services);

        std::string ciphertext;
        {
            const std::unique_ptr<CipherObject> cipher = makeCipher(services);
            std::string key = chooseKey(keyText);
            const support::ClearedOnExit clearKey(key);
            ciphertext = cipher->Encrypt(key, message);
        }
        return hideBody(carrier, ciphertext, "message", pass, services);
    });
}

Outcome ExtractMessage(const Carrier& carrier, const std::string& keyText, std::string& pass,
                       EngineServices& services) {
    return guarded([&] {
        std::unique_ptr<CipherObject> cipher = makeCipher(services);
        std::string key = chooseKey(keyText);
        const support::ClearedOnExit clearKey(key);

        const std::string trimmedPass = trimSpaces(pass);
        ScanResult scan = scanPicture(carrier, trimmedPass, services);

        Outcome outcome;
        switch (scan.kind) {
        case ScanResult::Kind::NoStartMarker:
            outcome.kind = OutcomeKind::NoItem;
            outcome.message = "This Image has no Message";
            break;
        case ScanResult::Kind::Exhausted: outcome = incompleteOutcome(); break;
        case ScanResult::Kind::Found:
            checkHiddenMessage(scan.body, services);
            outcome.kind = OutcomeKind::TextExtracted;
            outcome.text = cipher->Decrypt(key, scan.body);
            break;
        }
        cipher.reset();
        pass = trimmedPass;
        return outcome;
    });
}

}  // namespace stego
