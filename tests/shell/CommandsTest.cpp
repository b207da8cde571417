// The seven buttons: their questions and messages, what they hand the engine,
// and how each kind of outcome reaches the user.
#include <QFile>
#include <QtTest>

#include "ShellTestKit.h"
#include "engine/Failure.h"
#include "platform/MessageBoxes.h"

using namespace stego::shell;
using namespace stego::shell::test;
using stego::platform::FileDialogRequest;
using Icon = stego::platform::MessageBoxes::Icon;

namespace {

const QString kInsertQuestion = QStringLiteral(
    "You have not specified an encryption key.  Continuing will do so with a default key, which can extract your "
    "data by any other Corvid Stenographer program.  Do you wish to continue without a specified Key?");
const QString kExtractQuestion = QStringLiteral(
    "You have not specified an encryption key.  If a specific encryption key was used, the resulting data will not "
    "be the original.  Do you wish to continue without a specified Key?");

QByteArray everyByte() {
    QByteArray bytes;
    for (int value = 0; value < 256; ++value)
        bytes.append(static_cast<char>(value));
    return bytes;
}

}  // namespace

class CommandsTest : public QObject {
    Q_OBJECT

private slots:
    void emptyKeyAsksFirst_data();
    void emptyKeyAsksFirst();
    void fileCommandsNeedAPath_data();
    void fileCommandsNeedAPath();
    void messageComesBackUnderTheSameKey_data();
    void messageComesBackUnderTheSameKey();
    void fileComesBackByteForByte();
    void selectButtonsShareOneDialog();
    void clearEmptiesMessageOnly();
    void capacityShortfallShowsStopBox();
    void engineErrorShowsNumberAndMessage();
    void itemWithoutEndMarkerIsReported();
    void characterBeyondLatin1IsRefused();
};

void CommandsTest::emptyKeyAsksFirst_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("question");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("pictureChanges");
    QTest::addColumn<QString>("message");  // Text1 afterwards

    const QString kept = QStringLiteral("HELLO");
    QTest::newRow("Insert Message, No") << "Command1" << kInsertQuestion << false << false << kept;
    QTest::newRow("Insert Message, Yes") << "Command1" << kInsertQuestion << true << true << kept;
    QTest::newRow("Extract Message, No") << "Command2" << kExtractQuestion << false << false << kept;
    QTest::newRow("Extract Message, Yes")
        << "Command2" << kExtractQuestion << true << false << QStringLiteral("This Image has no Message");
    QTest::newRow("Insert Data, No") << "Command4" << kInsertQuestion << false << false << kept;
    QTest::newRow("Insert Data, Yes") << "Command4" << kInsertQuestion << true << true << kept;
    QTest::newRow("Extract Data, No") << "Command8" << kInsertQuestion << false << false << kept;
    QTest::newRow("Extract Data, Yes") << "Command8" << kInsertQuestion << true << false
                                       << QStringLiteral("This Image has no Embedded File");
}

void CommandsTest::emptyKeyAsksFirst() {
    QFETCH(QString, button);
    QFETCH(QString, question);
    QFETCH(bool, yes);
    QFETCH(bool, pictureChanges);
    QFETCH(QString, message);

    ShellTestKit kit;
    const auto window = kit.startedWindow();
    const QImage before = window->picture();
    const QString source = kit.path(QStringLiteral("secret.txt"));
    const QString destination = kit.path(QStringLiteral("out.txt"));
    writeFile(source, "twelve bytes");
    textBox(*window, "Text1")->setText(QStringLiteral("HELLO"));
    textBox(*window, "txtFile")->setText(source);
    textBox(*window, "txtDecFile")->setText(destination);
    yes ? kit.messageBoxes.answerYes() : kit.messageBoxes.answerNo();

    click(*window, qPrintable(button));

    QCOMPARE(kit.messageBoxes.shown().size(), 1);
    QVERIFY(kit.messageBoxes.shown()[0].question);
    QCOMPARE(kit.messageBoxes.shown()[0].text, question);
    QCOMPARE(window->picture() != before, pictureChanges);
    QCOMPARE(textBox(*window, "Text1")->text(), message);
    QVERIFY(!QFile::exists(destination));
    QCOMPARE(textBox(*window, "pass")->text(), QStringLiteral("Wren5"));
}

void CommandsTest::fileCommandsNeedAPath_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("message");
    QTest::newRow("Insert Data") << "Command4"
                                 << QStringLiteral(
                                        "Missing Filename to encrypt and embed.  Please define file to process.");
    QTest::newRow("Extract Data") << "Command8"
                                  << QStringLiteral(
                                         "Missing Filename to extract and decrypt.  Please define file to process.");
}

void CommandsTest::fileCommandsNeedAPath() {
    QFETCH(QString, button);
    QFETCH(QString, message);
    ShellTestKit kit;
    const auto window = kit.startedWindow();
    const QImage before = window->picture();

    click(*window, qPrintable(button));

    // Asked before the key question, which therefore never comes.
    QCOMPARE(kit.messageBoxes.shown().size(), 1);
    QVERIFY(!kit.messageBoxes.shown()[0].question);
    QCOMPARE(kit.messageBoxes.shown()[0].text, message);
    QCOMPARE(kit.messageBoxes.shown()[0].icon, Icon::None);
    QCOMPARE(window->picture(), before);
}

void CommandsTest::messageComesBackUnderTheSameKey_data() {
    QTest::addColumn<QString>("key");
    QTest::newRow("default key") << QString();
    QTest::newRow("typed key") << QStringLiteral("408127000000000001");
}

void CommandsTest::messageComesBackUnderTheSameKey() {
    QFETCH(QString, key);
    ShellTestKit kit;
    const auto window = kit.startedWindow();
    const QString message = QStringLiteral("Meet me at the old mill at 5");
    textBox(*window, "txtKey")->setText(key);
    textBox(*window, "Text1")->setText(message);
    if (key.isEmpty()) {
        kit.messageBoxes.answerYes();
        kit.messageBoxes.answerYes();
    }

    click(*window, "Command1");
    QCOMPARE(textBox(*window, "Text1")->text(), message);  // insertion leaves the plain text
    click(*window, "Command3");
    click(*window, "Command2");

    QCOMPARE(textBox(*window, "Text1")->text(), message);
    for (const auto& shown : kit.messageBoxes.shown())
        QVERIFY2(shown.question, qPrintable(shown.text));
    QVERIFY(kit.messageBoxes.allAnswered());
}

void CommandsTest::fileComesBackByteForByte() {
    ShellTestKit kit;
    const auto window = kit.startedWindow();
    const QString source = kit.path(QStringLiteral("every byte.bin"));
    const QString destination = kit.path(QStringLiteral("back.bin"));
    writeFile(source, everyByte());
    writeFile(destination, "an older file that is replaced");
    textBox(*window, "txtKey")->setText(QStringLiteral("31415926"));
    textBox(*window, "txtFile")->setText(source);
    textBox(*window, "txtDecFile")->setText(destination);

    click(*window, "Command4");
    QVERIFY2(kit.messageBoxes.shown().isEmpty(), qPrintable(kit.messageBoxes.shown().value(0).text));
    kit.messageBoxes.answerYes();  // replace the older file
    click(*window, "Command8");

    QCOMPARE(readFile(destination), everyByte());
    QCOMPARE(kit.messageBoxes.shown().size(), 2);
    QVERIFY(kit.messageBoxes.shown()[0].question);
    QCOMPARE(kit.messageBoxes.shown()[1].text, destination + QStringLiteral(" has been extracted."));
    QCOMPARE(kit.messageBoxes.shown()[1].icon, Icon::None);
}

void CommandsTest::selectButtonsShareOneDialog() {
    ShellTestKit kit;
    const auto window = kit.startedWindow();
    const QString chosen = kit.path(QStringLiteral("chosen.txt"));
    const QString target = kit.path(QStringLiteral("target.txt"));
    const int before = kit.fileDialogs.requests().size();
    kit.fileDialogs.answer(chosen);
    kit.fileDialogs.answer(target);
    kit.fileDialogs.cancel();

    click(*window, "Command6");
    click(*window, "Command7");
    textBox(*window, "txtDecFile")->setText(QStringLiteral("typed"));
    click(*window, "Command7");  // cancelled

    const auto requests = kit.fileDialogs.requests().mid(before);
    QCOMPARE(requests.size(), 3);
    QCOMPARE(requests[0].mode, FileDialogRequest::Mode::Open);
    QCOMPARE(requests[0].filter, QString());
    QCOMPARE(requests[0].initialName, QString());
    QCOMPARE(requests[1].mode, FileDialogRequest::Mode::Save);
    // Where to extract to: a folder only, never the name of the file hidden.
    QCOMPARE(requests[1].initialName, kit.folder.path() + QStringLiteral("/"));
    QCOMPARE(requests[2].initialName, QDir::currentPath() + QStringLiteral("/"));
    QCOMPARE(textBox(*window, "txtFile")->text(), chosen);
    QCOMPARE(textBox(*window, "txtDecFile")->text(), QStringLiteral("typed"));
}

void CommandsTest::clearEmptiesMessageOnly() {
    ShellTestKit kit;
    const auto window = kit.startedWindow();
    const QImage before = window->picture();
    textBox(*window, "Text1")->setText(QStringLiteral("HELLO"));
    textBox(*window, "txtKey")->setText(QStringLiteral("42"));
    click(*window, "Command3");
    QCOMPARE(textBox(*window, "Text1")->text(), QString());
    QCOMPARE(textBox(*window, "txtKey")->text(), QStringLiteral("42"));
    QCOMPARE(window->picture(), before);
    QVERIFY(kit.messageBoxes.shown().isEmpty());
}

void CommandsTest::capacityShortfallShowsStopBox() {
    // "ABC" framed is 19 characters, 57 pixels.
    ShellTestKit kit;
    const auto window = kit.startedWindow(QSize(56, 1));
    const QImage before = window->picture();
    textBox(*window, "txtKey")->setText(QStringLiteral("42"));
    textBox(*window, "Text1")->setText(QStringLiteral("ABC"));
    click(*window, "Command1");
    QCOMPARE(kit.messageBoxes.shown().size(), 1);
    QCOMPARE(kit.messageBoxes.shown()[0].text,
             QStringLiteral("The message needs 3 characters of room; this picture holds 2."));
    QCOMPARE(kit.messageBoxes.shown()[0].icon, Icon::Stop);
    QCOMPARE(window->picture(), before);

    // One pixel more and it fits.
    const auto roomy = kit.startedWindow(QSize(57, 1));
    textBox(*roomy, "txtKey")->setText(QStringLiteral("42"));
    textBox(*roomy, "Text1")->setText(QStringLiteral("ABC"));
    kit.messageBoxes.forget();
    click(*roomy, "Command1");
    QVERIFY(kit.messageBoxes.shown().isEmpty());
}

void CommandsTest::engineErrorShowsNumberAndMessage() {
    ShellTestKit kit;
    kit.engine.makeCipher = []() -> std::unique_ptr<stego::CipherObject> {
        throw stego::Failure(stego::kCipherUnavailable, "The cipher component is not installed");
    };
    const auto window = kit.startedWindow();
    const QImage before = window->picture();
    textBox(*window, "txtKey")->setText(QStringLiteral("42"));
    textBox(*window, "Text1")->setText(QStringLiteral("HELLO"));

    click(*window, "Command1");

    QCOMPARE(kit.messageBoxes.shown().size(), 1);
    QCOMPARE(kit.messageBoxes.shown()[0].text, QStringLiteral("Error 429: The cipher component is not installed"));
    QCOMPARE(kit.messageBoxes.shown()[0].icon, Icon::None);
    QCOMPARE(window->picture(), before);
    QVERIFY(window->isVisible());
}

void CommandsTest::itemWithoutEndMarkerIsReported() {
    // Hide a message, then open only the first five columns of the picture:
    // they hold the start marker and part of the body but not the end marker.
    ShellTestKit kit;
    const auto window = kit.startedWindow(QSize(100, 10));
    textBox(*window, "txtKey")->setText(QStringLiteral("42"));
    textBox(*window, "Text1")->setText(QStringLiteral("A MESSAGE OF THIRTY CHARACTERS"));
    click(*window, "Command1");
    const QString cut = kit.writePicture(QStringLiteral("cut.bmp"), window->picture().copy(0, 0, 5, 10));
    kit.fileDialogs.answer(cut);
    kit.messageBoxes.answerDiscard();
    choose(*window, "fleop");
    kit.messageBoxes.forget();
    textBox(*window, "Text1")->setText(QStringLiteral("kept"));

    click(*window, "Command2");

    QCOMPARE(kit.messageBoxes.shown().size(), 1);
    QVERIFY(!kit.messageBoxes.shown()[0].question);
    QVERIFY(!kit.messageBoxes.shown()[0].text.isEmpty());
    QCOMPARE(textBox(*window, "Text1")->text(), QStringLiteral("kept"));
}

void CommandsTest::characterBeyondLatin1IsRefused() {
    ShellTestKit kit;
    const auto window = kit.startedWindow();
    const QImage before = window->picture();
    textBox(*window, "Text1")->setText(QStringLiteral("price 5 \u20AC"));

    click(*window, "Command1");  // empty key, but the refusal comes first

    QCOMPARE(kit.messageBoxes.shown().size(), 1);
    QCOMPARE(kit.messageBoxes.shown()[0].text,
             QStringLiteral("The character \"\u20AC\" (U+20AC) cannot be hidden: only characters up to U+00FF can."));
    QCOMPARE(window->picture(), before);

    // A Latin-1 character reaches the engine, which reports it by number.
    kit.messageBoxes.forget();
    textBox(*window, "txtKey")->setText(QStringLiteral("42"));
    textBox(*window, "Text1")->setText(QStringLiteral("caf\u00E9?"));
    click(*window, "Command1");
    QCOMPARE(kit.messageBoxes.shown().size(), 1);
    QVERIFY2(kit.messageBoxes.shown()[0].text.startsWith(QStringLiteral("Error 5: ")),
             qPrintable(kit.messageBoxes.shown()[0].text));
    QCOMPARE(window->picture(), before);
}

QTEST_MAIN(CommandsTest)
#include "CommandsTest.moc"
