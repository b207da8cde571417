// Insert Data and Extract Data, and the file reading they share.

#include "CommandSupport.h"
#include "engine/Commands.h"
#include "engine/FileChecks.h"
#include "engine/NumberFormat.h"
#include "support/ClearedOnExit.h"

namespace stego {

using namespace command;

namespace {

// The cipher's file format and the scratch folder's content, both ours.
constexpr const char* kEncryptedFileName = "corvid.enc";
constexpr const char* kDecryptedFileName = "corvid.dec";

std::string inFolder(const std::string& folder, const char* name) { return folder + "/" + name; }

Failure tooLargeToHide(const std::string& sourcePath, std::int64_t size, const EngineServices& services) {
    return Failure(kOverflow, sourcePath + " has " + formatGrouped(size, services.groupSeparator) +
                                  " bytes; a file of at most " +
                                  formatGrouped(kMaxItemLength, services.groupSeparator) + " bytes can be hidden.");
}

// Only an ordinary file can be hidden: a missing path would otherwise be
// created empty by the cipher, and a device or pipe read without end.
void checkSource(const std::string& sourcePath, const EngineServices& services) {
    if (sourcePath.empty())
        throw Failure(kInvalidArgument, "Missing Filename to encrypt and embed.  Please define file to process.");
    RequireOrdinaryFile(services.files, sourcePath);
    const std::int64_t size = services.files.sizeOf(sourcePath);
    if (size > kMaxItemLength)
        throw tooLargeToHide(sourcePath, size, services);
}

// The destination is replaced by a rename; that must not swap out a folder or a device.
void checkDestination(const std::string& destinationPath, const EngineServices& services) {
    if (destinationPath.empty())
        throw Failure(kInvalidArgument, "Missing Filename to extract and decrypt.  Please define file to process.");
    RequireReplaceableFile(services.files, destinationPath);
}

// A failure's words with the scratch file it names replaced by the destination.
std::string nameDestination(std::string words, const std::string& scratchFolder, const std::string& destinationPath) {
    for (const char* name : {kEncryptedFileName, kDecryptedFileName}) {
        const std::string scratchFile = inFolder(scratchFolder, name);
        for (std::size_t at = words.find(scratchFile); at != std::string::npos;
             at = words.find(scratchFile, at + destinationPath.size()))
            words.replace(at, scratchFile.size(), destinationPath);
    }
    return words;
}

void checkHiddenFile(const std::string& body, const EngineServices& services) {
    if (static_cast<std::int64_t>(body.size()) > kMaxItemLength)
        throw Failure(kOverflow, "The hidden item has " +
                                     formatGrouped(static_cast<std::int64_t>(body.size()), services.groupSeparator) +
                                     " bytes; a file of at most " +
                                     formatGrouped(kMaxItemLength, services.groupSeparator) +
                                     " bytes can be extracted.");
}

}  // namespace

void GetFileStringData(FileStore& files, const std::string& path, std::string& data) { data += files.readAll(path); }

Outcome InsertFile(Carrier& carrier, const std::string& keyText, const std::string& sourcePath, std::string& pass,
                   EngineServices& services) {
    return guarded([&] {
        checkSource(sourcePath, services);

        std::string data;
        {
            // The folder, and corvid.enc in it, go whatever happens from here on.
            const std::unique_ptr<ScratchDirectory> scratch = services.files.makeScratchDirectory({});
            const std::string encrypted = inFolder(scratch->path(), kEncryptedFileName);
            std::int32_t result = 0;
            {
                const std::unique_ptr<CipherObject> cipher = makeCipher(services);
                std::string key = chooseKey(keyText);
                const support::ClearedOnExit clearKey(key);
                result = cipher->EncryptFile(key, sourcePath, encrypted);
            }
            if (result != 0)
                return errorOutcome(result,
                                    "There was an error encrypting the " + sourcePath + " file.  Operation cancelled.");
            GetFileStringData(services.files, encrypted, data);
        }
        // The file may have grown since it was measured.
        if (static_cast<std::int64_t>(data.size()) > kMaxItemLength)
            throw tooLargeToHide(sourcePath, static_cast<std::int64_t>(data.size()), services);
        return hideBody(carrier, data, "file", pass, services);
    });
}

Outcome ExtractFile(const Carrier& carrier, const std::string& keyText, const std::string& destinationPath,
                    std::string& pass, EngineServices& services) {
    return guarded([&] {
        checkDestination(destinationPath, services);
        // Made beside the destination before the scan, so that a folder that is
        // missing or cannot be written is reported before a long scan, and the
        // finished file is renamed into place from it.
        const std::unique_ptr<ScratchDirectory> scratch = services.files.makeScratchDirectory(destinationPath);
        std::unique_ptr<CipherObject> cipher = makeCipher(services);
        std::string key = chooseKey(keyText);
        const support::ClearedOnExit clearKey(key);

        const std::string trimmedPass = trimSpaces(pass);
        ScanResult scan = scanPicture(carrier, trimmedPass, services);

        Outcome outcome;
        if (scan.kind == ScanResult::Kind::NoStartMarker) {
            outcome.kind = OutcomeKind::NoItem;
            outcome.message = "This Image has no Embedded File";
        } else if (scan.kind == ScanResult::Kind::Exhausted) {
            outcome = incompleteOutcome();
        } else {
            checkHiddenFile(scan.body, services);
            const std::string encrypted = inFolder(scratch->path(), kEncryptedFileName);
            const std::string decrypted = inFolder(scratch->path(), kDecryptedFileName);
            std::int32_t result = 0;
            try {
                services.files.writeAll(encrypted, scan.body);
                result = cipher->DecryptFile(key, encrypted, decrypted);
            } catch (const Failure& failure) {
                // The user knows the destination, not our scratch files beside it.
                throw Failure(failure.number(), nameDestination(failure.what(), scratch->path(), destinationPath));
            }
            cipher.reset();
            if (result != 0)
                return errorOutcome(result, "There was an error decrypting the embedded file.  Operation cancelled.");
            services.files.replaceFile(decrypted, destinationPath);
            outcome.message = destinationPath + " has been extracted.";
        }
        cipher.reset();
        pass = trimmedPass;
        return outcome;
    });
}

}  // namespace stego
