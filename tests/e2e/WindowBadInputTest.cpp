// Bad input through the window, where it differs from the command line: it
// shows a box instead of an exit code. Each row checks the box, that the window
// goes on with its picture and texts as they were, that every file is byte for
// byte as it was, and that no temporary folder is left anywhere.
#include <QDir>
#include <QtTest>

#include <optional>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "CraftedPictures.h"
#include "FolderSnapshot.h"
#include "ShellTestKit.h"
#include "platform/MessageBoxes.h"
#include "platform/PictureFile.h"

using namespace stego::shell;
using namespace stego::shell::test;
using testsupport::FolderSnapshot;
using Icon = stego::platform::MessageBoxes::Icon;

namespace {

const QString kPictures = QStringLiteral(PIXQUILL_TEST_DATA "/pictures/");
const QString kKept = QStringLiteral("kept");

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray bytesOf(const std::string& text) { return QByteArray(text.data(), static_cast<qsizetype>(text.size())); }

// Root may write anywhere; for the length of one save it acts as nobody.
class ActingAsNobody {
public:
    ActingAsNobody() {
        if (::geteuid() == 0)
            m_acting = ::setegid(65534) == 0 && ::seteuid(65534) == 0;
    }
    ActingAsNobody(const ActingAsNobody&) = delete;
    ActingAsNobody& operator=(const ActingAsNobody&) = delete;
    ~ActingAsNobody() {
        if (m_acting) {
            [[maybe_unused]] const int user = ::seteuid(0);
            [[maybe_unused]] const int group = ::setegid(0);
        }
    }

private:
    bool m_acting = false;
};

}  // namespace

class WindowBadInputTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void openImageRefusesAndKeepsThePicture_data();
    void openImageRefusesAndKeepsThePicture();
    void saveImageFailsAndKeepsThePreviousFile_data();
    void saveImageFailsAndKeepsThePreviousFile();
    void insertMessageRefusesTheText_data();
    void insertMessageRefusesTheText();
    void extractionOfACutOrWrongItemChangesNothing_data();
    void extractionOfACutOrWrongItemChangesNothing();

private:
    // Where the engine makes its scratch folders when no destination says
    // where: private to each test, and empty again after every command.
    QTemporaryDir* m_tmp = nullptr;
    QByteArray m_previousTmp;
};

void WindowBadInputTest::init() {
    m_tmp = new QTemporaryDir;
    QVERIFY(m_tmp->isValid());
    m_previousTmp = qgetenv("TMPDIR");
}

void WindowBadInputTest::cleanup() {
    qputenv("TMPDIR", m_previousTmp);
    delete m_tmp;
    m_tmp = nullptr;
}

void WindowBadInputTest::openImageRefusesAndKeepsThePicture_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");  // empty with a kind below: not a plain file
    QTest::addColumn<QString>("kind");        // "file", "folder", "pipe", "device"
    QTest::addColumn<QString>("reason");

    const std::string bmp = bytesOf(testsupport::bmpClaiming(8, 8, 8 * 24)).toStdString();
    const std::string jpeg = readBytes(kPictures + QStringLiteral("baseline.jpg")).toStdString();
    QTest::newRow("empty file") << "empty.bmp" << QByteArray() << "file"
                                << "Error 481: Cannot open picture %1: Invalid picture: the file is empty";
    QTest::newRow("text named .bmp")
        << "text.bmp" << QByteArray("just words\n") << "file"
        << "Error 481: Cannot open picture %1: Invalid picture: not a BMP, JPEG or PNG file";
    QTest::newRow("truncated BMP")
        << "cut.bmp" << bytesOf(bmp.substr(0, bmp.size() - 10)) << "file"
        << "Error 481: Cannot open picture %1: Invalid picture: the BMP pixel data is cut short";
    QTest::newRow("truncated JPEG")
        << "cut.jpg" << bytesOf(testsupport::jpegCutInItsData(jpeg)) << "file"
        << "Error 481: Cannot open picture %1: Invalid picture: the JPEG data ends too soon";
    QTest::newRow("BMP width 0") << "w0.bmp" << bytesOf(testsupport::bmpClaiming(0, 8, 0)) << "file"
                                 << "Error 481: Cannot open picture %1: Invalid picture: its size is 0 x 8 pixels";
    QTest::newRow("BMP 100,000 x 100,000")
        << "huge.bmp" << bytesOf(testsupport::bmpClaiming(100'000, 100'000, 300)) << "file"
        << "more than the 268,435,456 pixels this program can hold";
    QTest::newRow("JPEG claiming 16,000 x 16,000")
        << "claims.jpg" << bytesOf(testsupport::jpegClaiming(jpeg, 16'000, 16'000)) << "file"
        << "too few for such a picture";
    QTest::newRow("folder") << "folder.bmp" << QByteArray() << "folder"
                            << "Error 75: Cannot open picture %1: Path is a folder, not a file";
    // Once a pipe made the window wait for ever for a writer.
    QTest::newRow("pipe") << "pipe.bmp" << QByteArray() << "pipe"
                          << "Error 75: Cannot open picture %1: it is a device or a pipe, not a picture file";
    QTest::newRow("device") << "device.bmp" << QByteArray() << "device"
                            << "Error 75: Cannot open picture %1: it is a device or a pipe, not a picture file";
}

void WindowBadInputTest::openImageRefusesAndKeepsThePicture() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    if (kind == QStringLiteral("device") && ::geteuid() != 0)
        QSKIP("making a device node needs root");
    ShellTestKit kit;
    qputenv("TMPDIR", m_tmp->path().toLocal8Bit());
    const auto window = kit.startedWindow();
    textBox(*window, "Text1")->setText(kKept);
    const QImage before = window->picture();
    const QString path = kit.path(name);
    if (kind == QStringLiteral("file"))
        writeBytes(path, content);
    else if (kind == QStringLiteral("folder"))
        QVERIFY(QDir().mkdir(path));
    else if (kind == QStringLiteral("pipe"))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else
        QCOMPARE(::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0600, makedev(1, 7)), 0);
    const FolderSnapshot filesBefore(kit.folder.path().toStdString());

    kit.fileDialogs.answer(path);
    choose(*window, "fleop");

    QCOMPARE(kit.messageBoxes.shown().size(), 1);
    const QString text = kit.messageBoxes.shown()[0].text;
    QVERIFY2(text.startsWith(QStringLiteral("The picture could not be opened.\n")), qPrintable(text));
    QVERIFY2(text.contains(reason.replace(QStringLiteral("%1"), path)), qPrintable(text));
    QCOMPARE(kit.messageBoxes.shown()[0].icon, Icon::None);
    QVERIFY(window->isVisible());
    QCOMPARE(window->picture(), before);
    QCOMPARE(textBox(*window, "Text1")->text(), kKept);
    QVERIFY(FolderSnapshot(kit.folder.path().toStdString()).differencesFrom(filesBefore).empty());
    QVERIFY(QDir(m_tmp->path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

void WindowBadInputTest::saveImageFailsAndKeepsThePreviousFile_data() {
    QTest::addColumn<QString>("target");  // below the test's folder
    QTest::addColumn<QString>("kind");    // what stands in the way
    QTest::addColumn<QString>("reason");
    QTest::newRow("folder that cannot be written")
        << "locked/picture.bmp"
        << "read-only folder"
        << "Error 70: Cannot make a temporary folder in %2: Permission denied";
    QTest::newRow("folder that does not exist") << "absent/picture.bmp"
                                                << "nothing"
                                                << "Error 76: The folder %2 does not exist";
    QTest::newRow("a folder as the name") << "taken.bmp"
                                          << "folder"
                                          << "Error 75: Cannot write %1: Path is a folder, not a file";
    QTest::newRow("a pipe as the name")
        << "pipe.bmp"
        << "pipe"
        << "Error 75: Cannot save picture %1: it is a device or a pipe, not an ordinary file";
}

void WindowBadInputTest::saveImageFailsAndKeepsThePreviousFile() {
    QFETCH(QString, target);
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    ShellTestKit kit;
    qputenv("TMPDIR", m_tmp->path().toLocal8Bit());
    const auto window = kit.startedWindow(QSize(120, 90));
    const QString path = kit.path(target);
    const QString folder = QFileInfo(path).path();
    const QByteArray previous("the picture saved before");
    if (kind == QStringLiteral("read-only folder")) {
        QVERIFY(QDir().mkdir(folder));
        writeBytes(path, previous);
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
        // Nobody must be able to reach the folder, to be refused in it.
        ::chmod(QFile::encodeName(kit.folder.path()).constData(), 0755);
    } else if (kind == QStringLiteral("folder")) {
        QVERIFY(QDir().mkdir(path));
    } else if (kind == QStringLiteral("pipe")) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    }
    const FolderSnapshot filesBefore(kit.folder.path().toStdString());

    kit.fileDialogs.answer(path);
    // Whatever stands under the name is to be replaced: the question is answered Yes.
    const bool exists = QFileInfo::exists(path);
    if (exists)
        kit.messageBoxes.answerYes();
    {
        std::optional<ActingAsNobody> nobody;
        if (kind == QStringLiteral("read-only folder"))
            nobody.emplace();
        choose(*window, "flesve");
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(kit.messageBoxes.shown().size(), exists ? 2 : 1);
    const QString text = kit.messageBoxes.shown().last().text;
    reason.replace(QStringLiteral("%1"), path).replace(QStringLiteral("%2"), folder);
    QVERIFY2(text.startsWith(QStringLiteral("The picture was not saved.\n") + reason), qPrintable(text));
    QVERIFY(window->isVisible());
    QVERIFY(FolderSnapshot(kit.folder.path().toStdString()).differencesFrom(filesBefore).empty());
    if (QFileInfo(path).isFile())
        QCOMPARE(readBytes(path), previous);
}

void WindowBadInputTest::insertMessageRefusesTheText_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("words");
    QTest::addColumn<int>("icon");
    const QString allowed = QStringLiteral("A message may hold letters, digits, space and");
    QTest::newRow("question mark") << "Why?"
                                   << "Error 5: Character 4 of the message, \"?\", cannot be hidden. " + allowed
                                   << int(Icon::None);
    QTest::newRow("tab") << "a\tb"
                         << "Error 5: Character 2 of the message, a tab, cannot be hidden. " + allowed
                         << int(Icon::None);
    QTest::newRow("beyond Latin-1") << QStringLiteral("5 \u20AC")
                                    << QStringLiteral("The character \"\u20AC\" (U+20AC) cannot be hidden")
                                    << int(Icon::None);
    // 200 characters need 3 x 216 = 648 pixels; the picture has 20 x 20 = 400.
    QTest::newRow("too long for the picture")
        << QString(200, u'a') << "The message needs 200 characters of room; this picture holds 117." << int(Icon::Stop);
}

void WindowBadInputTest::insertMessageRefusesTheText() {
    QFETCH(QString, message);
    QFETCH(QString, words);
    QFETCH(int, icon);
    ShellTestKit kit;
    qputenv("TMPDIR", m_tmp->path().toLocal8Bit());
    const auto window = kit.startedWindow(QSize(20, 20));
    textBox(*window, "txtKey")->setText(QStringLiteral("42"));
    textBox(*window, "Text1")->setText(message);
    const QImage before = window->picture();
    const FolderSnapshot filesBefore(kit.folder.path().toStdString());

    click(*window, "Command1");

    QCOMPARE(kit.messageBoxes.shown().size(), 1);
    QVERIFY2(kit.messageBoxes.shown()[0].text.startsWith(words), qPrintable(kit.messageBoxes.shown()[0].text));
    QCOMPARE(int(kit.messageBoxes.shown()[0].icon), icon);
    QCOMPARE(window->picture(), before);
    QCOMPARE(textBox(*window, "Text1")->text(), message);
    QCOMPARE(textBox(*window, "pass")->text(), QStringLiteral("Wren5"));
    QVERIFY(FolderSnapshot(kit.folder.path().toStdString()).differencesFrom(filesBefore).empty());
}

void WindowBadInputTest::extractionOfACutOrWrongItemChangesNothing_data() {
    QTest::addColumn<QString>("hidden");  // "message" or "file"
    QTest::addColumn<bool>("cut");        // the end marker's cells lost
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("words");
    const QString incomplete = QStringLiteral(
        "The picture holds the start of a hidden item but not its end; it may have been cut or changed.");
    QTest::newRow("message cut, Extract Message") << "message" << true << "Command2" << incomplete;
    QTest::newRow("message cut, Extract Data") << "message" << true << "Command8" << incomplete;
    QTest::newRow("file cut, Extract Data") << "file" << true << "Command8" << incomplete;
    QTest::newRow("file, Extract Message")
        << "file" << false << "Command2"
        << "Error 5: This picture holds a hidden file, not a message. Use \"Extract Data\" to extract it.";
}

void WindowBadInputTest::extractionOfACutOrWrongItemChangesNothing() {
    QFETCH(QString, hidden);
    QFETCH(bool, cut);
    QFETCH(QString, button);
    QFETCH(QString, words);
    ShellTestKit kit;
    qputenv("TMPDIR", m_tmp->path().toLocal8Bit());
    const auto window = kit.startedWindow(QSize(100, 10));
    textBox(*window, "txtKey")->setText(QStringLiteral("42"));
    if (hidden == QStringLiteral("message")) {
        textBox(*window, "Text1")->setText(QStringLiteral("A MESSAGE OF THIRTY CHARACTERS"));
        click(*window, "Command1");
    } else {
        writeBytes(kit.path(QStringLiteral("secret.bin")), QByteArray(30, '\x07'));
        textBox(*window, "txtFile")->setText(kit.path(QStringLiteral("secret.bin")));
        click(*window, "Command4");
    }
    QVERIFY(kit.messageBoxes.shown().isEmpty());
    // The first five columns hold the start marker and part of the body, not the end marker.
    const QImage carrier = cut ? window->picture().copy(0, 0, 5, 10) : window->picture();
    kit.fileDialogs.answer(kit.writePicture(QStringLiteral("carrier.bmp"), carrier));
    kit.messageBoxes.answerDiscard();  // the hidden item was never saved
    choose(*window, "fleop");
    kit.messageBoxes.forget();
    const QString destination = kit.path(QStringLiteral("extracted.bin"));
    writeBytes(destination, "the file that was there before");
    textBox(*window, "txtDecFile")->setText(destination);
    textBox(*window, "Text1")->setText(kKept);
    const QImage before = window->picture();
    const FolderSnapshot filesBefore(kit.folder.path().toStdString());

    kit.messageBoxes.answerYes();  // Extract Data asks before replacing the file there
    click(*window, qPrintable(button));

    QList<QString> told;
    for (const auto& shown : kit.messageBoxes.shown())
        if (!shown.question)
            told.append(shown.text);
    QCOMPARE(told, QList<QString>{words});
    QCOMPARE(window->picture(), before);
    QCOMPARE(textBox(*window, "Text1")->text(), kKept);
    QVERIFY(FolderSnapshot(kit.folder.path().toStdString()).differencesFrom(filesBefore).empty());
    QVERIFY(QDir(m_tmp->path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

QTEST_MAIN(WindowBadInputTest)
#include "WindowBadInputTest.moc"
