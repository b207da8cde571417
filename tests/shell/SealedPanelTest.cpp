// The sealed panel: its passphrase field, Show toggle and hint, and its
// commands on a picture, with seeded crypto and the cheapest key derivation.
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QtTest>

#include "PassphraseHint.h"
#include "SealedPanel.h"
#include "ShellTestKit.h"
#include "platform/MessageBoxes.h"
#include "platform/PictureFile.h"
#include "platform/SodiumCrypto.h"
#include "sealed/SealedCommands.h"

using namespace stego::shell;
using namespace stego::shell::test;
using Icon = stego::platform::MessageBoxes::Icon;
using Level = PassphraseHint::Level;

Q_DECLARE_METATYPE(PassphraseHint::Level)

namespace {

const QString kEmptyPassphrase = QStringLiteral("The passphrase is empty; a sealed item needs one.");
const QString kNoItem = QString::fromLatin1(sealed::kNoSealedItem);
const QString kPassphrase = QStringLiteral("tessellated marmalade 7");

// A panel on its own over a picture and a message box, as a window would hold them.
struct PanelFixture {
    explicit PanelFixture(QSize size = QSize(64, 48))
        : picture(patternPicture(size)), crypto(stego::platform::SodiumCrypto::seeded(sealed::Key{7})),
          panel(kit.services, {picture, messageBox, [this] { ++pictureChanges; }}, nullptr,
                {&crypto, sealed::kCheapestCost}) {}

    void type(const QString& passphrase) { textBox(panel, "txtPassphrase")->setText(passphrase); }
    void press(const char* button, const QString& passphrase) {
        type(passphrase);
        click(panel, button);
    }
    QStringList boxes() const {
        QStringList texts;
        for (const auto& shown : kit.messageBoxes.shown())
            texts << shown.text;
        return texts;
    }

    ShellTestKit kit;
    QImage picture;
    QLineEdit messageBox;
    stego::platform::SodiumCrypto crypto;
    int pictureChanges = 0;
    SealedPanel panel;
};

}  // namespace

class SealedPanelTest : public QObject {
    Q_OBJECT

private slots:
    void hintSaysLengthAndVariety_data();
    void hintSaysLengthAndVariety();
    void hintFollowsTyping();
    void showToggleUnmasks();
    void messageComesBackUnderTheSamePassphrase();
    void fileComesBackByteForByte();
    void failedOpeningIsOneOutcomeAndChangesNothing_data();
    void failedOpeningIsOneOutcomeAndChangesNothing();
    void emptyPassphraseIsRefusedFirst_data();
    void emptyPassphraseIsRefusedFirst();
    void itemTooLargeShowsStopBox();
    void picturesSaveAsPngOrBmpNeverJpeg_data();
    void picturesSaveAsPngOrBmpNeverJpeg();
    void mainWindowSealsItsOwnPicture();
};

void SealedPanelTest::hintSaysLengthAndVariety_data() {
    QTest::addColumn<QString>("passphrase");
    QTest::addColumn<Level>("level");
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << QString() << Level::Refused << "A sealed item needs a passphrase";
    QTest::newRow("3") << "abc" << Level::Short << "Short: 3 of 12 characters, easy to guess";
    QTest::newRow("11") << "abcdefghijk" << Level::Short << "Short: 11 of 12 characters, easy to guess";
    // Characters, not bytes: eleven two-byte letters are still short.
    QTest::newRow("11 accented") << QString(11, QChar(0xE9)) << Level::Short
                                 << "Short: 11 of 12 characters, easy to guess";
    QTest::newRow("12 one kind") << "abcdefghijkl" << Level::Fair << "Fair: 12 characters, 1 kind";
    QTest::newRow("words") << "correct horse battery" << Level::Fair << "Fair: 21 characters, 2 kinds";
    QTest::newRow("varied") << "Tr0ub4dor&3x" << Level::Good << "Good: 12 characters, 4 kinds";
    QTest::newRow("long plain") << QString(24, QChar(u'a')) << Level::Good << "Good: 24 characters, 1 kind";
}

void SealedPanelTest::hintSaysLengthAndVariety() {
    QFETCH(QString, passphrase);
    QFETCH(Level, level);
    QFETCH(QString, text);
    const PassphraseHint hint = passphraseHint(passphrase);
    QCOMPARE(hint.level, level);
    QCOMPARE(hint.text, text);
}

void SealedPanelTest::hintFollowsTyping() {
    PanelFixture fixture;
    auto* hint = control<QLabel>(fixture.panel, "lblHint");
    QCOMPARE(hint->text(), QStringLiteral("A sealed item needs a passphrase"));
    fixture.type(QStringLiteral("short"));
    QCOMPARE(hint->text(), QStringLiteral("Short: 5 of 12 characters, easy to guess"));
    fixture.type(kPassphrase);
    QVERIFY(hint->text().startsWith(QStringLiteral("Good: 23 characters")));
}

void SealedPanelTest::showToggleUnmasks() {
    PanelFixture fixture;
    QLineEdit* field = textBox(fixture.panel, "txtPassphrase");
    auto* show = control<QCheckBox>(fixture.panel, "chkShow");
    QCOMPARE(field->echoMode(), QLineEdit::Password);
    show->setChecked(true);
    QCOMPARE(field->echoMode(), QLineEdit::Normal);
    show->setChecked(false);
    QCOMPARE(field->echoMode(), QLineEdit::Password);
}

void SealedPanelTest::messageComesBackUnderTheSamePassphrase() {
    PanelFixture fixture;
    const QImage before = fixture.picture;
    const QString message = QStringLiteral("Grüße aus Köln ✓ — any text seals");
    fixture.messageBox.setText(message);

    fixture.press("cmdSealMessage", kPassphrase);
    QVERIFY(fixture.boxes().isEmpty());
    QVERIFY(fixture.picture != before);
    QCOMPARE(fixture.pictureChanges, 1);
    // The passphrase lasts one command, in the field too.
    QVERIFY(textBox(fixture.panel, "txtPassphrase")->text().isEmpty());

    fixture.messageBox.clear();
    const QImage sealedPicture = fixture.picture;
    fixture.press("cmdOpenMessage", kPassphrase);
    QVERIFY(fixture.boxes().isEmpty());
    QCOMPARE(fixture.messageBox.text(), message);
    QCOMPARE(fixture.picture, sealedPicture);
    QCOMPARE(fixture.pictureChanges, 1);
}

void SealedPanelTest::fileComesBackByteForByte() {
    PanelFixture fixture;
    QByteArray bytes;
    for (int value = 0; value < 256; ++value)
        bytes.append(static_cast<char>(value));
    const QString source = fixture.kit.path(QStringLiteral("secret.bin"));
    QFile file(source);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    fixture.kit.fileDialogs.answer(source);
    fixture.press("cmdSealFile", kPassphrase);
    QVERIFY(fixture.boxes().isEmpty());
    QCOMPARE(fixture.pictureChanges, 1);

    const QString destination = fixture.kit.path(QStringLiteral("opened.bin"));
    fixture.kit.fileDialogs.answer(destination);
    fixture.press("cmdOpenFile", kPassphrase);
    QCOMPARE(readFile(destination), bytes);
    QCOMPARE(fixture.boxes(), QStringList{QStringLiteral("File extracted\nIt was sealed under the name secret.bin.")});
    QCOMPARE(fixture.kit.fileDialogs.requests().size(), 2);
    QCOMPARE(fixture.kit.fileDialogs.requests()[0].mode, stego::platform::FileDialogRequest::Mode::Open);
    QCOMPARE(fixture.kit.fileDialogs.requests()[1].mode, stego::platform::FileDialogRequest::Mode::Save);
}

void SealedPanelTest::failedOpeningIsOneOutcomeAndChangesNothing_data() {
    QTest::addColumn<QString>("sealedUnder");  // empty: nothing sealed
    QTest::addColumn<bool>("tamper");
    QTest::addColumn<QString>("openedWith");
    QTest::addColumn<QString>("button");

    for (const char* button : {"cmdOpenMessage", "cmdOpenFile"}) {
        const QString name = QString::fromLatin1(button);
        QTest::addRow("%s, wrong passphrase", button) << kPassphrase << false << "tessellated marmalade 8" << name;
        QTest::addRow("%s, no item", button) << QString() << false << kPassphrase << name;
        QTest::addRow("%s, tampered", button) << kPassphrase << true << kPassphrase << name;
    }
}

void SealedPanelTest::failedOpeningIsOneOutcomeAndChangesNothing() {
    QFETCH(QString, sealedUnder);
    QFETCH(bool, tamper);
    QFETCH(QString, openedWith);
    QFETCH(QString, button);

    PanelFixture fixture;
    fixture.messageBox.setText(QStringLiteral("kept"));
    if (!sealedUnder.isEmpty())
        fixture.press("cmdSealMessage", sealedUnder);
    if (tamper) {
        // Every low bit of every pixel: whatever slots the item used, it changed.
        for (int y = 0; y < fixture.picture.height(); ++y)
            for (int x = 0; x < fixture.picture.width(); ++x)
                fixture.picture.setPixel(x, y, fixture.picture.pixel(x, y) ^ 0x010101u);
    }
    const QImage before = fixture.picture;
    const int changesBefore = fixture.pictureChanges;
    const QString destination = fixture.kit.path(QStringLiteral("never.bin"));
    fixture.kit.fileDialogs.answer(destination);

    fixture.press(button.toLatin1().constData(), openedWith);
    QCOMPARE(fixture.boxes(), QStringList{kNoItem});
    QCOMPARE(fixture.messageBox.text(), QStringLiteral("kept"));
    QCOMPARE(fixture.picture, before);
    QCOMPARE(fixture.pictureChanges, changesBefore);
    QVERIFY(!QFile::exists(destination));
}

void SealedPanelTest::emptyPassphraseIsRefusedFirst_data() {
    QTest::addColumn<QString>("button");
    for (const char* button : {"cmdSealMessage", "cmdOpenMessage", "cmdSealFile", "cmdOpenFile"})
        QTest::newRow(button) << QString::fromLatin1(button);
}

void SealedPanelTest::emptyPassphraseIsRefusedFirst() {
    QFETCH(QString, button);
    PanelFixture fixture;
    fixture.messageBox.setText(QStringLiteral("kept"));
    const QImage before = fixture.picture;
    fixture.press(button.toLatin1().constData(), QString());
    QCOMPARE(fixture.boxes(), QStringList{kEmptyPassphrase});
    // Refused before any file is asked for.
    QVERIFY(fixture.kit.fileDialogs.requests().isEmpty());
    QCOMPARE(fixture.picture, before);
    QCOMPARE(fixture.messageBox.text(), QStringLiteral("kept"));
    QCOMPARE(fixture.pictureChanges, 0);
}

void SealedPanelTest::itemTooLargeShowsStopBox() {
    PanelFixture fixture(QSize(8, 8));  // 24 bytes of slots: less than the item's overhead
    const QImage before = fixture.picture;
    fixture.messageBox.setText(QStringLiteral("hello"));
    fixture.press("cmdSealMessage", kPassphrase);
    QCOMPARE(fixture.kit.messageBoxes.shown().size(), 1);
    QCOMPARE(fixture.kit.messageBoxes.shown()[0].icon, Icon::Stop);
    QVERIFY(fixture.kit.messageBoxes.shown()[0].text.contains(QStringLiteral("longer than this picture can hold")));
    QCOMPARE(fixture.picture, before);
    QCOMPARE(fixture.pictureChanges, 0);
}

void SealedPanelTest::picturesSaveAsPngOrBmpNeverJpeg_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("saved");
    QTest::newRow("png") << "sealed.png" << true;
    QTest::newRow("bmp") << "sealed.bmp" << true;
    QTest::newRow("jpg") << "sealed.jpg" << false;
    QTest::newRow("jpeg") << "sealed.JPEG" << false;
}

void SealedPanelTest::picturesSaveAsPngOrBmpNeverJpeg() {
    QFETCH(QString, name);
    QFETCH(bool, saved);
    PanelFixture fixture;
    const QString path = fixture.kit.path(name);
    fixture.kit.fileDialogs.answer(path);
    click(fixture.panel, "cmdSavePicture");
    QCOMPARE(fixture.kit.fileDialogs.requests().size(), 1);
    QVERIFY(fixture.kit.fileDialogs.requests()[0].filter.contains(QStringLiteral("*.png")));
    QCOMPARE(QFile::exists(path), saved);
    if (saved) {
        QVERIFY(fixture.boxes().isEmpty());
        QCOMPARE(QImage(path).convertToFormat(stego::platform::kPictureFormat), fixture.picture);
    } else {
        QCOMPARE(fixture.boxes().size(), 1);
        QVERIFY(fixture.boxes()[0].startsWith(QStringLiteral("The picture was not saved.\nError ")));
    }
}

void SealedPanelTest::mainWindowSealsItsOwnPicture() {
    // The program's own wiring: the system's randomness and the full key derivation.
    ShellTestKit kit;
    auto window = kit.startedWindow(QSize(60, 40));
    auto* panel = control<SealedPanel>(*window, "SealedPanel");
    QVERIFY(panel->isVisible());
    const QImage before = window->picture();
    textBox(*window, "Text1")->setText(QStringLiteral("sealed in the window"));

    textBox(*panel, "txtPassphrase")->setText(kPassphrase);
    click(*panel, "cmdSealMessage");
    QVERIFY(window->picture() != before);

    textBox(*window, "Text1")->clear();
    textBox(*panel, "txtPassphrase")->setText(kPassphrase);
    click(*panel, "cmdOpenMessage");
    QCOMPARE(textBox(*window, "Text1")->text(), QStringLiteral("sealed in the window"));
    QVERIFY(kit.messageBoxes.shown().isEmpty());
}

QTEST_MAIN(SealedPanelTest)
#include "SealedPanelTest.moc"
