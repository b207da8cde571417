// What every window test needs: scripted dialogs, boxes, modal windows and
// timers, the real engine over a private generator, and a folder of its own.
#pragma once

#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>

#include "MainWindow.h"
#include "ShellServices.h"
#include "engine/Commands.h"
#include "engine/LcgGenerator.h"
#include "platform/ManualTimerFactory.h"
#include "platform/PosixFileStore.h"
#include "platform/ScriptedFileDialogs.h"
#include "platform/ScriptedMessageBoxes.h"
#include "platform/ScriptedModalWindows.h"

namespace stego::shell::test {

/// A picture whose every pixel differs from its neighbours, so that moved or
/// lost pixels show.
QImage patternPicture(QSize size);

struct ShellTestKit {
    ShellTestKit();

    platform::ScriptedFileDialogs fileDialogs;
    platform::ScriptedMessageBoxes messageBoxes;
    platform::ScriptedModalWindows modalWindows;
    platform::ManualTimerFactory timers;
    platform::LcgGenerator generator;
    platform::PosixFileStore files;
    EngineServices engine;
    int endProgramCalls = 0;
    ShellServices services;
    QTemporaryDir folder;

    /// A path inside the test's folder.
    QString path(const QString& name) const;
    /// Writes picture as a lossless BMP into the folder and returns its path.
    QString writePicture(const QString& name, const QImage& picture) const;
    /// A main window whose start-up opened a pattern picture of the given size.
    std::unique_ptr<MainWindow> startedWindow(QSize pictureSize = QSize(200, 150));
};

template <typename Widget = QWidget>
Widget* control(const QWidget& window, const char* name) {
    auto* widget = window.findChild<Widget*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no control %s in %s", name, qPrintable(window.objectName()));
    return widget;
}

inline QLineEdit* textBox(const QWidget& window, const char* name) { return control<QLineEdit>(window, name); }

inline void click(const QWidget& window, const char* name) { control<QPushButton>(window, name)->click(); }

/// A file's bytes (empty when it cannot be read).
QByteArray readFile(const QString& path);
/// Writes bytes as the whole file; ends the test program when it cannot.
void writeFile(const QString& path, const QByteArray& bytes);

/// Triggers a menu item by its name.
void choose(const QWidget& window, const char* item);

}  // namespace stego::shell::test
