// pixquill: the desktop program. Wires the real platform objects together and
// hands over to the splash.
#include <QApplication>
#include <QIcon>
#include <QLocale>

#include <csignal>

#include "Startup.h"
#include "engine/Commands.h"
#include "engine/LcgGenerator.h"
#include "platform/ComponentCipher.h"
#include "platform/CoreDumps.h"
#include "platform/PosixFileStore.h"
#include "platform/QtFileDialogs.h"
#include "platform/QtMessageBoxes.h"
#include "platform/QtModalWindows.h"
#include "platform/QtTimerFactory.h"

int main(int argc, char* argv[]) {
    stego::platform::keepSecretsOutOfCoreDumps();  // before any key or plain text is held
    // A file-size limit fails a save like a full disk does (and says so), instead
    // of ending the program with the picture unsaved.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pixquill"));
    QApplication::setApplicationDisplayName(QStringLiteral("Pixquill"));
    QApplication::setDesktopFileName(QStringLiteral("pixquill"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pixquill.svg")));

    stego::platform::PosixFileStore files;
    // The one place where the program chooses how cipher objects are made.
    stego::EngineServices engine{stego::platform::sharedGenerator(), stego::platform::makeComponentCipherFactory(),
                                 files, QLocale().groupSeparator().toStdString()};

    stego::platform::QtFileDialogs fileDialogs;
    stego::platform::QtMessageBoxes messageBoxes;
    stego::platform::QtModalWindows modalWindows;
    stego::platform::QtTimerFactory timers;
    stego::shell::ShellServices services{fileDialogs, messageBoxes, modalWindows, timers, engine, [] {
                                             QApplication::closeAllWindows();
                                             QCoreApplication::exit(0);
                                         }};

    // "pixquill PICTURE", as a file manager's "Open with" runs it.
    const QStringList arguments = QApplication::arguments();
    stego::shell::Startup startup(services);
    startup.begin(arguments.size() > 1 ? arguments.at(1) : QString());
    return QApplication::exec();
}
