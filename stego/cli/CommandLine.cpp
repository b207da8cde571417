#include "CommandLine.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "CliCommands.h"
#include "ExitCode.h"
#include "KeyArgument.h"
#include "SealedCli.h"
#include "SecretInput.h"
#include "engine/Failure.h"
#include "support/ClearedOnExit.h"
#include "support/FileErrors.h"
#include "support/SecureClear.h"

namespace stego::cli {

namespace {

using Runner = int (*)(const CliRequest&, CliEnvironment&);

// The options a sub-command takes; each is added in this order, the order --help lists them in.
enum OptionSet : unsigned {
    kImage = 1U << 0,          // --image, required
    kCipherInput = 1U << 1,    // --input, required
    kOutputPicture = 1U << 2,  // --output, the picture to write
    kOutputFile = 1U << 3,     // --output, a file replaced only on success
    kFileToHide = 1U << 4,     // --file, required
    kCipherText = 1U << 5,     // --text, required
    kKey = 1U << 6,            // --key
    kMessage = 1U << 7,        // --text or --text-file, else standard input
    kSeal = 1U << 8,           // --seal and --passphrase-file, for a sealed item instead of a classic one
};

struct SubcommandRow {
    const char* name;
    const char* description;
    unsigned options;
    Runner run;
    Runner runSealed = nullptr;  // with kSeal: the command on a sealed item
};

const SubcommandRow kSubcommands[] = {
    {"hide-message", "Hide a message in a picture, written as BMP or PNG",
     kImage | kOutputPicture | kKey | kMessage | kSeal, hideMessage, hideMessageSealed},
    {"extract-message", "Print the message hidden in a picture", kImage | kKey | kSeal, extractMessage,
     extractMessageSealed},
    {"hide-file", "Hide a file of up to 32,767 bytes in a picture",
     kImage | kOutputPicture | kFileToHide | kKey | kSeal, hideFile, hideFileSealed},
    {"extract-file", "Write the file hidden in a picture", kImage | kOutputFile | kKey | kSeal, extractFile,
     extractFileSealed},
    {"capacity", "Print how many message characters (or file bytes) a picture can hold", kImage | kSeal, showCapacity,
     showCapacitySealed},
    {"encrypt-text", "Print the ciphertext of a text", kCipherText | kKey, encryptText},
    {"decrypt-text", "Print the plain text of a ciphertext", kCipherText | kKey, decryptText},
    {"encrypt-file", "Encipher a file of up to 32,767 bytes", kCipherInput | kOutputFile | kKey, encryptFile},
    {"decrypt-file", "Decipher a file of up to 32,767 bytes", kCipherInput | kOutputFile | kKey, decryptFile},
};

const CLI::Validator& keyValidator() {
    static const CLI::Validator validator(
        [](std::string& text) {
            return isValidKey(text) || text == kKeyFromStandardInput ? std::string() : std::string(kKeyExplanation);
        },
        "DIGITS|-");
    return validator;
}

void addOptions(CLI::App& command, unsigned options, CliRequest& request) {
    if (options & kImage)
        command.add_option("--image", request.image, "Picture to read (BMP or JPEG); it is never changed")->required();
    if (options & kCipherInput)
        command.add_option("--input", request.input, "File to read")->required();
    if (options & kOutputPicture)
        command
            .add_option("--output", request.output,
                        "Picture to write: PNG for a .png name, else BMP (may be the --image file)")
            ->required();
    if (options & kOutputFile)
        command.add_option("--output", request.output, "File to write; replaced only on success")->required();
    if (options & kFileToHide)
        command.add_option("--file", request.file, "File to hide")->required();
    if (options & kCipherText)
        command.add_option("--text", request.text, "The text")->required();
    if (options & kKey) {
        CLI::Option* key =
            command
                .add_option("--key", request.key,
                            "Encryption key, one or more digits (default 408127). Other users can read it in the "
                            "process list: prefer --key-file, or --key - to type it unseen")
                ->check(keyValidator());
        CLI::Option* keyFile = command.add_option("--key-file", request.keyFile,
                                                  "File whose first line is the key (- for standard input)");
        key->excludes(keyFile);
    }
    if (options & kMessage) {
        CLI::Option* text = command.add_option("--text", request.text, "The message (default: standard input)");
        CLI::Option* textFile =
            command.add_option("--text-file", request.textFile, "File holding the message, as UTF-8");
        text->excludes(textFile);
    }
    if (options & kSeal)
        addSealOptions(command, request);
}

// CLI11 repeats unexpected arguments word for word, and one of them may be a
// key or a message typed after the wrong option: name the options only.
std::string unexpectedArguments(const std::vector<std::string>& arguments) {
    std::string options;
    std::size_t values = 0;
    for (const std::string& argument : arguments) {
        if (argument.size() > 1 && argument.front() == '-') {
            options += (options.empty() ? "" : " ") + argument.substr(0, argument.find('='));
        } else {
            ++values;
        }
    }
    std::string message = "Unexpected arguments";
    if (!options.empty())
        message += ": " + options;
    if (values > 0)
        message += std::string(options.empty() ? ": " : " and ") + std::to_string(values) +
                   (values == 1 ? " value" : " values") +
                   " (not repeated here, since a value may be a key or a message)";
    return message;
}

// Whether the sub-command has the option and it was given.
bool given(const CLI::App& command, const std::string& name) {
    const CLI::Option* option = command.get_option_no_throw(name);
    return option != nullptr && option->count() > 0;
}

int usageError(CliEnvironment& env, const std::string& message) {
    env.err << "pixquill-cli: error: " << message << "\nRun with --help for more information.\n";
    return kUsage;
}

bool messageFromStandardInput(const SubcommandRow& row, const CliRequest& request) {
    return (row.options & kMessage) != 0 && !request.textGiven && !request.textFileGiven;
}

// Puts the key read from --key-file or typed after --key - into request.key.
int readKey(const SubcommandRow& row, CliRequest& request, CliEnvironment& env) {
    const bool typed = !request.keyFileGiven && request.key == kKeyFromStandardInput;
    if (!request.keyFileGiven && !typed)
        return kSuccess;
    const bool fromStandardInput = typed || request.keyFile == kKeyFromStandardInput;
    const bool terminal = fromStandardInput && standardInputIsTerminal();
    if (fromStandardInput && !terminal && messageFromStandardInput(row, request))
        return usageError(env, "the key and the message cannot both come from standard input: give the message "
                               "with --text-file, or the key with --key-file FILE");
    try {
        std::string key = fromStandardInput ? readSecretLine(env.in, terminal, env.err, "Key: ")
                                            : readSecretFromFile(request.keyFile);
        support::secureClear(request.key);
        request.key.swap(key);
    } catch (const Failure& failure) {
        env.err << "pixquill-cli: error " << failure.number() << ": " << failure.what() << '\n';
        return kError;
    }
    if (!isValidKey(request.key))
        return usageError(env, "the key read from " +
                                   (fromStandardInput ? std::string("standard input") : request.keyFile) +
                                   " is not one: " + std::string(kKeyExplanation));
    return kSuccess;
}

// No command writes over one of its own inputs, except a hide command over its picture.
std::string overwrittenInput(const SubcommandRow& row, const CliRequest& request, const FileStore& files) {
    if ((row.options & (kOutputFile | kOutputPicture)) == 0)
        return {};
    const auto names = [&](const std::string& input) {
        return !input.empty() && input != kKeyFromStandardInput &&
               (input == request.output || files.sameFile(input, request.output));
    };
    const std::pair<const char*, const std::string*> inputs[] = {
        {"--input", &request.input},
        {"--file", &request.file},
        {"--text-file", &request.textFile},
        {"--key-file", &request.keyFile},
        {"--passphrase-file", &request.passphraseFile},
    };
    for (const auto& [option, input] : inputs)
        if (names(*input))
            return std::string("--output names the file given with ") + option + "; " + row.name +
                   " never writes over its own inputs: choose another destination";
    return {};
}

int parseAndRun(int argc, const char* const* argv, CliEnvironment& env) {
    CLI::App app("Hides encrypted messages and files in the low bits of pictures, and extracts them.", "pixquill-cli");
    app.set_version_flag("--version", std::string("pixquill-cli ") + PIXQUILL_VERSION);
    app.require_subcommand(1);
    app.footer("Exit codes: 0 success, 1 error, 2 usage, 3 no hidden item, 4 a hidden item without its end.");

    CliRequest request;
    // The key and the message are secrets; CLI11's own copies and argv are out of reach.
    const support::ClearedOnExit clearKey(request.key);
    const support::ClearedOnExit clearText(request.text);
    std::vector<std::pair<CLI::App*, const SubcommandRow*>> commands;
    for (const SubcommandRow& row : kSubcommands) {
        CLI::App* command = app.add_subcommand(row.name, row.description);
        addOptions(*command, row.options, request);
        commands.emplace_back(command, &row);
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e, env.out, env.err);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e, env.out, env.err);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e, env.out, env.err);
    } catch (const CLI::ExtrasError&) {
        env.err << "pixquill-cli: error: " << unexpectedArguments(app.remaining(true))
                << "\nRun with --help for more information.\n";
        return kUsage;
    } catch (const CLI::ParseError& e) {
        return usageError(env, e.what());
    }

    for (const auto& [command, row] : commands) {
        if (!command->parsed())
            continue;
        request.keyGiven = given(*command, "--key") || given(*command, "--key-file");
        request.keyFileGiven = given(*command, "--key-file");
        request.textGiven = given(*command, "--text");
        request.textFileGiven = given(*command, "--text-file");
        request.passphraseFileGiven = given(*command, "--passphrase-file");
        if (const std::string refusal = overwrittenInput(*row, request, env.files); !refusal.empty())
            return usageError(env, refusal);
        if (const int code = readKey(*row, request, env); code != kSuccess)
            return code;
        return row->runSealed ? classicOrSealed(row->run, row->runSealed)(request, env) : row->run(request, env);
    }
    return kUsage;  // require_subcommand(1) has already refused this
}

// A script must learn that its result never reached standard output (a full
// disk, a closed pipe): the stream is flushed and checked before the exit.
int checkedOutput(int code, CliEnvironment& env) {
    errno = 0;
    env.out.flush();
    if (env.out)
        return code;
    const support::FileErrorInfo info = support::describeFileError(errno != 0 ? errno : EIO);
    env.err << "pixquill-cli: error " << info.number << ": Cannot write standard output: " << info.text << '\n';
    return code == kSuccess ? kError : code;
}

}  // namespace

int runCommandLine(int argc, const char* const* argv, CliEnvironment& env) {
    try {
        return checkedOutput(parseAndRun(argc, argv, env), env);
    } catch (const std::exception& error) {
        env.err << "pixquill-cli: error " << kInternalError << ": Unexpected failure: " << error.what() << '\n';
    } catch (...) {
        env.err << "pixquill-cli: error " << kInternalError << ": Unexpected failure.\n";
    }
    return kError;
}

}  // namespace stego::cli
