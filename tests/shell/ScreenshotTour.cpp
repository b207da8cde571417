// Walks through the program's windows on a real display (a virtual X server in
// scripts/screenshots) and saves a PNG of each: the splash, the main window
// with a picture, the key pad, Help and About. Only the picture dialog is
// scripted; the splash timer, the windows and the engine are the program's own.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QtTest>
#include <cstdio>
#include <deque>

#include "DirectCipher.h"
#include "MainWindow.h"
#include "ShellServices.h"
#include "SplashWindow.h"
#include "Startup.h"
#include "engine/LcgGenerator.h"
#include "platform/PosixFileStore.h"
#include "platform/QtMessageBoxes.h"
#include "platform/QtTimerFactory.h"
#include "platform/ScriptedFileDialogs.h"

using namespace stego;

namespace {

QDir outputFolder;

bool save(QWidget& window, const QString& name) {
    if (!QTest::qWaitForWindowExposed(&window, 5000))
        return false;
    QTest::qWait(200);  // let the first paint settle
    const QString path = outputFolder.filePath(name);
    const bool saved = window.grab().save(path, "PNG");
    std::printf("%s %s\n", saved ? "saved" : "could not save", qPrintable(path));
    return saved;
}

// Shows each modal window, lets the step act on it, takes its picture and closes it.
class PhotographedModalWindows : public platform::ModalWindows {
public:
    struct Step {
        QString fileName;
        std::function<void(QDialog&)> action;
    };
    void then(Step step) { m_steps.push_back(std::move(step)); }

    void runModal(QDialog& window) override {
        window.setModal(true);
        window.show();
        if (!m_steps.empty()) {
            Step step = std::move(m_steps.front());
            m_steps.pop_front();
            if (step.action)
                step.action(window);
            m_ok = save(window, step.fileName) && m_ok;
        }
        window.close();
    }
    bool ok() const { return m_ok; }

private:
    std::deque<Step> m_steps;
    bool m_ok = true;
};

void clickDigits(QDialog& pad, const QString& digits) {
    for (const QChar digit : digits)
        for (QPushButton* button : pad.findChildren<QPushButton*>(QStringLiteral("cmdNum")))
            if (button->text() == QString(digit))
                button->click();
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pixquill"));
    QApplication::setApplicationDisplayName(QStringLiteral("Pixquill"));
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER PICTURE\n", argv[0]);
        return 2;
    }
    outputFolder = QDir(QString::fromLocal8Bit(argv[1]));
    if (!outputFolder.mkpath(QStringLiteral(".")))
        return 1;

    platform::PosixFileStore files;
    EngineServices engine{platform::sharedGenerator(), platform::makeDirectCipherFactory(), files,
                          QLocale().groupSeparator().toStdString()};
    platform::ScriptedFileDialogs fileDialogs;
    fileDialogs.answer(QString::fromLocal8Bit(argv[2]));
    platform::QtMessageBoxes messageBoxes;
    PhotographedModalWindows modalWindows;
    platform::QtTimerFactory timers;
    shell::ShellServices services{fileDialogs, messageBoxes, modalWindows, timers, engine, [] {}};

    shell::Startup startup(services);
    startup.begin();
    bool ok = save(*startup.splash(), QStringLiteral("splash.png"));

    // The splash hands over on its second tick, about two seconds on.
    if (!QTest::qWaitFor([&] { return startup.mainWindow() != nullptr; }, 10000)) {
        std::fprintf(stderr, "the main window did not open\n");
        return 1;
    }
    shell::MainWindow& window = *startup.mainWindow();
    window.findChild<QLineEdit*>(QStringLiteral("txtKey"))->setText(QStringLiteral("4711"));
    window.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("Meet me at the old mill at 5"));
    // Maximised (the virtual display has no window manager: the window takes
    // the screen), the photograph fitted, and the message hidden: the title's
    // * and the status bar show it.
    window.setGeometry(window.screen()->availableGeometry());
    QTest::qWait(300);
    window.fitToWindow();
    window.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    ok = save(window, QStringLiteral("main-window.png")) && ok;

    modalWindows.then({QStringLiteral("key-pad.png"), [](QDialog& pad) { clickDigits(pad, QStringLiteral("4711")); }});
    QTest::mouseDClick(window.findChild<QLineEdit*>(QStringLiteral("txtKey")), Qt::LeftButton);

    modalWindows.then({QStringLiteral("help.png"), {}});
    window.findChild<QAction*>(QStringLiteral("hlpus"))->trigger();
    modalWindows.then({QStringLiteral("about.png"), {}});
    window.findChild<QAction*>(QStringLiteral("hlpst"))->trigger();

    return ok && modalWindows.ok() ? 0 : 1;
}
