// pixquill-cli: the engine's hide and extract commands, for scripts.
#include <QLoggingCategory>

#include <iostream>

#include "CommandLine.h"
#include "platform/DirectCipher.h"
#include "platform/LcgGenerator.h"
#include "platform/PosixFileStore.h"

int main(int argc, char** argv) {
    // Unreadable pictures are reported as one error line; Qt's own warnings would repeat it.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false"));
    stego::platform::PosixFileStore files;
    stego::cli::CliEnvironment environment{
        std::cin, std::cout, std::cerr, stego::platform::sharedGenerator(),
        stego::platform::makeDirectCipherFactory(),  // the one place that chooses how the cipher is made
        files,
    };
    return stego::cli::runCommandLine(argc, argv, environment);
}
