#include "ShellTestKit.h"

#include <QAction>
#include <QFile>

#include "DirectCipher.h"
#include "platform/PictureFile.h"

namespace stego::shell::test {

QImage patternPicture(QSize size) {
    QImage picture(size, platform::kPictureFormat);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            picture.setPixel(x, y, qRgb((x * 7 + y * 3) & 0xFF, (x * 13 + y * 29) & 0xFF, (x + y * 5) & 0xFF));
    return picture;
}

ShellTestKit::ShellTestKit()
    : engine{generator, platform::makeDirectCipherFactory(), files, ","},
      services{fileDialogs, messageBoxes, modalWindows, timers, engine, [this] { ++endProgramCalls; }} {
    if (!folder.isValid())
        qFatal("no temporary folder");
}

QString ShellTestKit::path(const QString& name) const { return folder.filePath(name); }

QString ShellTestKit::writePicture(const QString& name, const QImage& picture) const {
    const QString file = path(name);
    if (!picture.save(file, "BMP"))
        qFatal("cannot write %s", qPrintable(file));
    return file;
}

std::unique_ptr<MainWindow> ShellTestKit::startedWindow(QSize pictureSize) {
    fileDialogs.answer(writePicture(QStringLiteral("start.bmp"), patternPicture(pictureSize)));
    auto window = std::make_unique<MainWindow>(services);
    if (!window->startUp())
        qFatal("start-up opened no picture");
    window->show();
    return window;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

void choose(const QWidget& window, const char* item) {
    auto* action = window.findChild<QAction*>(QString::fromLatin1(item));
    if (!action)
        qFatal("no menu item %s", item);
    action->trigger();
}

}  // namespace stego::shell::test
