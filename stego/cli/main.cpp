// pixquill-cli: the engine's hide and extract commands, for scripts.
#include <QtGlobal>

#include <csignal>
#include <iostream>

#include "CommandLine.h"
#include "engine/LcgGenerator.h"
#include "platform/ComponentCipher.h"
#include "platform/CoreDumps.h"
#include "platform/PosixFileStore.h"

int main(int argc, char** argv) {
    // Before any key or plain text is held.
    stego::platform::keepSecretsOutOfCoreDumps();
    // Every failure is reported as one error line; Qt's own warnings (an
    // unreadable picture, a picture too large for memory) would only repeat it.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    // A reader that closes the pipe early (`| head`) should end output, and a
    // file-size limit should fail a write like a full disk does, rather than
    // end the program halfway through replacing a file.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    stego::platform::PosixFileStore files;
    stego::cli::CliEnvironment environment{
        std::cin,
        std::cout,
        std::cerr,
        stego::platform::sharedGenerator(),
        stego::platform::makeComponentCipherFactory(),  // the one place that chooses how the cipher is made
        files,
    };
    return stego::cli::runCommandLine(argc, argv, environment);
}
