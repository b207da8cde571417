#include "CommandLine.h"

#include <CLI/CLI.hpp>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "CliCommands.h"
#include "ExitCode.h"
#include "KeyArgument.h"
#include "SealedCli.h"
#include "cipher/ClearedOnExit.h"
#include "engine/Failure.h"

namespace stego::cli {

namespace {

struct Subcommand {
    CLI::App* app;
    std::function<int(const CliRequest&, CliEnvironment&)> run;
};

const CLI::Validator& keyValidator() {
    static const CLI::Validator validator(
        [](std::string& text) { return isValidKey(text) ? std::string() : std::string(kKeyExplanation); }, "DIGITS");
    return validator;
}

void addKey(CLI::App& command, CliRequest& request) {
    command.add_option("--key", request.key, "Encryption key, one or more digits (default 408127)")
        ->check(keyValidator());
}

void addImage(CLI::App& command, CliRequest& request) {
    command.add_option("--image", request.image, "Picture to read (BMP or JPEG); it is never changed")
        ->required();
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
                   (values == 1 ? " value" : " values") + " (not repeated here, since a value may be a key or a message)";
    return message;
}

// Whether the sub-command has the option and it was given.
bool given(const CLI::App& command, const std::string& name) {
    const CLI::Option* option = command.get_option_no_throw(name);
    return option != nullptr && option->count() > 0;
}

int parseAndRun(int argc, const char* const* argv, CliEnvironment& env) {
    CLI::App app("Hides encrypted messages and files in the low bits of pictures, and extracts them.",
                 "pixquill-cli");
    app.set_version_flag("--version", std::string("pixquill-cli ") + PIXQUILL_VERSION);
    app.require_subcommand(1);
    app.footer("Exit codes: 0 success, 1 error, 2 usage, 3 no hidden item, 4 a hidden item without its end.");

    CliRequest request;
    // The key and the message are secrets; CLI11's own copies and argv are out of reach.
    const corvid::ClearedOnExit clearKey(request.key);
    const corvid::ClearedOnExit clearText(request.text);
    std::vector<Subcommand> commands;

    CLI::App* hideMessageCommand = app.add_subcommand("hide-message", "Hide a message in a picture, written as BMP");
    addImage(*hideMessageCommand, request);
    hideMessageCommand->add_option("--output", request.output, "BMP file to write (may be the --image file)")
        ->required();
    addKey(*hideMessageCommand, request);
    CLI::Option* text = hideMessageCommand->add_option("--text", request.text, "The message (default: standard input)");
    CLI::Option* textFile =
        hideMessageCommand->add_option("--text-file", request.textFile, "File holding the message, as UTF-8");
    text->excludes(textFile);
    addSealOptions(*hideMessageCommand, request);
    commands.push_back({hideMessageCommand, classicOrSealed(hideMessage, hideMessageSealed)});

    CLI::App* extractMessageCommand =
        app.add_subcommand("extract-message", "Print the message hidden in a picture");
    addImage(*extractMessageCommand, request);
    addKey(*extractMessageCommand, request);
    addSealOptions(*extractMessageCommand, request);
    commands.push_back({extractMessageCommand, classicOrSealed(extractMessage, extractMessageSealed)});

    CLI::App* hideFileCommand = app.add_subcommand("hide-file", "Hide a file of up to 32,767 bytes in a picture");
    addImage(*hideFileCommand, request);
    hideFileCommand->add_option("--output", request.output, "BMP file to write (may be the --image file)")
        ->required();
    hideFileCommand->add_option("--file", request.file, "File to hide")->required();
    addKey(*hideFileCommand, request);
    addSealOptions(*hideFileCommand, request);
    commands.push_back({hideFileCommand, classicOrSealed(hideFile, hideFileSealed)});

    CLI::App* extractFileCommand = app.add_subcommand("extract-file", "Write the file hidden in a picture");
    addImage(*extractFileCommand, request);
    extractFileCommand->add_option("--output", request.output, "File to write; replaced only on success")
        ->required();
    addKey(*extractFileCommand, request);
    addSealOptions(*extractFileCommand, request);
    commands.push_back({extractFileCommand, classicOrSealed(extractFile, extractFileSealed)});

    CLI::App* capacityCommand =
        app.add_subcommand("capacity", "Print how many message characters (or file bytes) a picture can hold");
    addImage(*capacityCommand, request);
    addSealOptions(*capacityCommand, request);
    commands.push_back({capacityCommand, classicOrSealed(showCapacity, showCapacitySealed)});

    const auto addTextCipher = [&](const char* name, const char* description, auto run) {
        CLI::App* command = app.add_subcommand(name, description);
        command->add_option("--text", request.text, "The text")->required();
        addKey(*command, request);
        commands.push_back({command, run});
    };
    addTextCipher("encrypt-text", "Print the ciphertext of a text", encryptText);
    addTextCipher("decrypt-text", "Print the plain text of a ciphertext", decryptText);

    const auto addFileCipher = [&](const char* name, const char* description, auto run) {
        CLI::App* command = app.add_subcommand(name, description);
        command->add_option("--input", request.input, "File to read")->required();
        command->add_option("--output", request.output, "File to write; replaced only on success")->required();
        addKey(*command, request);
        commands.push_back({command, run});
    };
    addFileCipher("encrypt-file", "Encipher a file of up to 32,767 bytes", encryptFile);
    addFileCipher("decrypt-file", "Decipher a file of up to 32,767 bytes", decryptFile);

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
        env.err << "pixquill-cli: error: " << e.what() << "\nRun with --help for more information.\n";
        return kUsage;
    }

    for (const Subcommand& command : commands) {
        if (!command.app->parsed())
            continue;
        request.keyGiven = given(*command.app, "--key");
        request.textGiven = given(*command.app, "--text");
        request.textFileGiven = given(*command.app, "--text-file");
        request.passphraseFileGiven = given(*command.app, "--passphrase-file");
        return command.run(request, env);
    }
    return kUsage;  // require_subcommand(1) has already refused this
}

}  // namespace

int runCommandLine(int argc, const char* const* argv, CliEnvironment& env) {
    try {
        return parseAndRun(argc, argv, env);
    } catch (const std::exception& error) {
        env.err << "pixquill-cli: error " << kInternalError << ": Unexpected failure: " << error.what() << '\n';
    } catch (...) {
        env.err << "pixquill-cli: error " << kInternalError << ": Unexpected failure.\n";
    }
    return kError;
}

}  // namespace stego::cli
