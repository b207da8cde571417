// The windows as the user meets them: every control of the main window by
// name, caption and place, the tab order and menus, and the splash, About,
// Help and key pad windows.
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>

#include "AboutWindow.h"
#include "HelpText.h"
#include "HelpWindow.h"
#include "KeyPadWindow.h"
#include "ShellTestKit.h"
#include "SplashWindow.h"

using namespace stego::shell;
using namespace stego::shell::test;

namespace {

// The guide exactly as the user gets it; built here in other pieces than the
// program's, so that a changed space or line end shows.
const QString kExpectedHelpText = QStringLiteral(
    "Using Stenographer:\r\n"
    "When the program starts up it will prompt you for an image file to process.  After you select the image file, "
    "you can either insert a text message, extract a text message, embed a file into the image or extract a file "
    "from the image, depending on what image is loaded, but be aware that if you load an image that contains a "
    "message or file and insert a message or file into it, it will overwrite the existing contents to the new "
    "insertion.\r\n\r\n"
    "You can save the image by clicking File/Save Image.  You can load another image by clicking File/Open "
    "Image.\r\n\r\n"
    "You can (and should) define a Key for the encryption process.  This can be any number of digits (up to 18 "
    "digits in length) but use at least six to insure a secure encryption.  If you don't supply a key, a default "
    "key is used and can be extracted by anyone with this program.\r\n\r\n"
    "Enjoy!\r\n"
    "Written by the Pixquill developers\r\n"
    "Made by the Pixquill project\r\n"
    "Contact: pixquill@example.org\r\n");

QString captionOf(const QWidget* widget) {
    if (const auto* frame = qobject_cast<const QGroupBox*>(widget))
        return frame->title();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (const auto* box = qobject_cast<const QLineEdit*>(widget))
        return box->text();
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    return {};
}

// Whether a caption fits its control in the font it is drawn in.
bool captionFits(const QWidget* widget) {
    const QString caption = captionOf(widget);
    const int room = qobject_cast<const QGroupBox*>(widget) ? widget->width() - 12 : widget->width() - 4;
    return widget->fontMetrics().horizontalAdvance(caption) <= room;
}

}  // namespace

class WindowsTest : public QObject {
    Q_OBJECT

private slots:
    void mainWindowControls_data();
    void mainWindowControls();
    void mainWindowFrame();
    void mainWindowTabOrder();
    void mainWindowMenus();
    void exitEndsProgramWithoutAsking();
    void helpAndAboutOpenModally();
    void helpTextIsExact();
    void helpWindow();
    void aboutWindow();
    void splashWindow();
    void keyPadWindow();
};

void WindowsTest::mainWindowControls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("geometry");

    const QString keyCaption = QStringLiteral("Encryption Key (up to 18 digits-Double Click for Key Logger Defeater)");
    QTest::newRow("Picture1") << "Picture1"
                              << "client"
                              << "" << QRect(0, 0, 457, 305);
    QTest::newRow("Frame1") << "Frame1"
                            << "client" << keyCaption << QRect(480, 0, 337, 49);
    QTest::newRow("txtKey") << "txtKey"
                            << "Frame1"
                            << "" << QRect(88, 20, 161, 19);
    QTest::newRow("Frame3") << "Frame3"
                            << "client"
                            << "Message Area" << QRect(480, 48, 345, 121);
    QTest::newRow("Text1") << "Text1"
                           << "Frame3"
                           << "" << QRect(8, 24, 329, 19);
    QTest::newRow("Command3") << "Command3"
                              << "Frame3"
                              << "Clear" << QRect(272, 48, 65, 17);
    QTest::newRow("Command1") << "Command1"
                              << "Frame3"
                              << "Insert Message" << QRect(32, 80, 113, 25);
    QTest::newRow("Command2") << "Command2"
                              << "Frame3"
                              << "Extract Message" << QRect(200, 80, 113, 25);
    QTest::newRow("Frame2") << "Frame2"
                            << "client"
                            << "File Embed" << QRect(480, 168, 345, 105);
    QTest::newRow("txtFile") << "txtFile"
                             << "Frame2"
                             << "" << QRect(8, 24, 273, 19);
    QTest::newRow("Command6") << "Command6"
                              << "Frame2"
                              << "Select" << QRect(280, 24, 57, 17);
    QTest::newRow("Command4") << "Command4"
                              << "Frame2"
                              << "Insert Data" << QRect(120, 64, 113, 25);
    QTest::newRow("Frame5") << "Frame5"
                            << "client"
                            << "File Extract" << QRect(480, 272, 345, 105);
    QTest::newRow("txtDecFile") << "txtDecFile"
                                << "Frame5"
                                << "" << QRect(8, 24, 273, 19);
    QTest::newRow("Command7") << "Command7"
                              << "Frame5"
                              << "Select" << QRect(280, 24, 57, 17);
    QTest::newRow("Command8") << "Command8"
                              << "Frame5"
                              << "Extract Data" << QRect(128, 56, 113, 25);
    QTest::newRow("pass") << "pass"
                          << "client"
                          << "Wren5" << QRect(464, 272, 25, 19);
}

void WindowsTest::mainWindowControls() {
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QString, caption);
    QFETCH(QRect, geometry);

    ShellTestKit kit;
    const auto window = kit.startedWindow();
    const QWidget* widget = control(*window, qPrintable(name));
    QCOMPARE(widget->parentWidget()->objectName(), container);
    QCOMPARE(captionOf(widget), caption);
    QCOMPARE(widget->geometry(), geometry);
    if (name != QStringLiteral("pass"))
        QVERIFY2(captionFits(widget), qPrintable(name + QStringLiteral(": caption does not fit")));
}

void WindowsTest::mainWindowFrame() {
    ShellTestKit kit;
    const auto window = kit.startedWindow();
    QCOMPARE(window->objectName(), QStringLiteral("frmMain"));
    QCOMPARE(window->windowTitle(), QStringLiteral("start.bmp[*] \u2014 Corvid Steganographer"));
    QVERIFY(!window->isWindowModified());
    // The original client area is the smallest, unless the screen is smaller still.
    QCOMPARE(MainWindow::minimumClientSize(), QSize(833, 398));
    const QSize room = window->screen()->availableGeometry().size();
    QCOMPARE(window->centralWidget()->size().height(), 398);
    QCOMPARE(window->centralWidget()->width(), std::min(833, room.width() - 16));
    QCOMPARE(textBox(*window, "txtKey")->maxLength(), 18);
    const QLineEdit* pass = textBox(*window, "pass");
    QVERIFY(!pass->isVisible());
    QCOMPARE(pass->focusPolicy(), Qt::NoFocus);
    QCOMPARE(control<QScrollBar>(*window, "HScroll1")->singleStep(), 1);
    QCOMPARE(control<QScrollBar>(*window, "VScroll1")->pageStep(), 1);
    QVERIFY(!control<QScrollBar>(*window, "HScroll1")->hasTracking());
}

void WindowsTest::mainWindowTabOrder() {
    ShellTestKit kit;
    const auto window = kit.startedWindow();
    const QStringList expected{"HScroll1", "VScroll1", "txtFile",  "Text1",    "Command3",   "Command1", "Command2",
                               "Command4", "Command6", "Command7", "Command8", "txtDecFile", "txtKey"};
    QStringList found;
    QWidget* widget = control(*window, "HScroll1");
    for (int step = 0; step < 200 && found.size() < expected.size(); ++step) {
        if (expected.contains(widget->objectName()) && !found.contains(widget->objectName()))
            found.append(widget->objectName());
        widget = widget->nextInFocusChain();
    }
    QCOMPARE(found, expected);
}

void WindowsTest::mainWindowMenus() {
    ShellTestKit kit;
    const auto window = kit.startedWindow();
    const auto captions = [&](const char* menu) {
        QStringList list;
        for (const QAction* action : control<QMenu>(*window, menu)->actions())
            list.append(action->isSeparator() ? QStringLiteral("-") : action->text());
        return list;
    };
    // Captions with their access keys ("&") and shortcuts.
    QCOMPARE(control<QMenu>(*window, "fle")->title(), QStringLiteral("&File"));
    QCOMPARE(captions("fle"), (QStringList{"&Open Image", "&Save Image", "Save Image &As...", "-", "E&xit"}));
    QCOMPARE(control<QMenu>(*window, "vew")->title(), QStringLiteral("&View"));
    QCOMPARE(captions("vew"), (QStringList{"&Fit to Window", "&Actual Size", "Zoom &In", "Zoom &Out"}));
    QCOMPARE(control<QMenu>(*window, "hpl")->title(), QStringLiteral("&Help"));
    QCOMPARE(captions("hpl"), (QStringList{"&Using Corvid Stenographer", "&About Corvid Stenographer"}));
    for (const char* item : {"fleop", "flesve", "flesveas", "div", "fleext", "hlpus", "hlpst"})
        QVERIFY2(window->findChild<QAction*>(QString::fromLatin1(item)), item);
    const QList<std::pair<const char*, QString>> shortcuts{
        {"fleop", "Ctrl+O"}, {"flesve", "Ctrl+S"}, {"flesveas", "Ctrl+Shift+S"}, {"fleext", "Ctrl+Q"},
        {"hlpus", "F1"},     {"vewfit", "Ctrl+0"}, {"vewact", "Ctrl+1"}};
    for (const auto& [item, keys] : shortcuts)
        QCOMPARE(control<QAction>(*window, item)->shortcut().toString(), keys);
}

void WindowsTest::exitEndsProgramWithoutAsking() {
    ShellTestKit kit;
    const auto window = kit.startedWindow();
    choose(*window, "fleext");
    QCOMPARE(kit.endProgramCalls, 1);
    QVERIFY(kit.messageBoxes.shown().isEmpty());
    QCOMPARE(kit.fileDialogs.requests().size(), 1);  // the start-up's only
}

void WindowsTest::helpAndAboutOpenModally() {
    ShellTestKit kit;
    const auto window = kit.startedWindow();
    bool helpWasModal = false;
    kit.modalWindows.then([&](QDialog& help) {
        helpWasModal = help.isModal();
        click(help, "Command1");  // "Done"
        QVERIFY(!help.isVisible());
    });
    choose(*window, "hlpus");
    choose(*window, "hlpst");
    QCOMPARE(kit.modalWindows.shown(), (QStringList{"frmHelp", "frmAbout"}));
    QVERIFY(helpWasModal);
    QVERIFY(window->isVisible());
}

void WindowsTest::helpTextIsExact() { QCOMPARE(BuildHelpText(), kExpectedHelpText); }

void WindowsTest::helpWindow() {
    HelpWindow help;
    QCOMPARE(help.objectName(), QStringLiteral("frmHelp"));
    QCOMPARE(help.windowTitle(), QStringLiteral("Using Corvid Encryption Steganographer"));
    QCOMPARE(help.size(), QSize(468, 303));
    QCOMPARE(help.minimumSize(), help.maximumSize());
    const auto* text = control<QPlainTextEdit>(help, "Text1");
    QCOMPARE(text->geometry(), QRect(8, 8, 449, 249));
    QCOMPARE(text->toPlainText(), QString(kExpectedHelpText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    const auto* done = control<QPushButton>(help, "Command1");
    QCOMPARE(done->text(), QStringLiteral("Done"));
    QCOMPARE(done->geometry(), QRect(200, 272, 73, 25));
    // The whole guide fits without scrolling.
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    int lines = 0;
    for (QTextBlock block = text->document()->begin(); block.isValid(); block = block.next())
        lines += block.layout()->lineCount();
    const qreal margins = 2 * text->document()->documentMargin();
    QVERIFY2(lines * text->fontMetrics().lineSpacing() + margins <= text->viewport()->height(),
             qPrintable(QStringLiteral("%1 lines do not fit").arg(lines)));
}

void WindowsTest::aboutWindow() {
    AboutWindow about;
    QCOMPARE(about.objectName(), QStringLiteral("frmAbout"));
    QCOMPARE(about.windowTitle(), QStringLiteral("About Corvid Encryption Steganographer"));
    QCOMPARE(about.size(), QSize(396, 213));
    QCOMPARE(about.minimumSize(), about.maximumSize());
    QVERIFY(!(about.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(about.findChildren<QAbstractButton*>().isEmpty());
    const auto* title = control<QLabel>(about, "Label1");
    QCOMPARE(title->text(), QStringLiteral("Corvid Steganographer"));
    QVERIFY(title->font().italic());
    QVERIFY(captionFits(title));
    QCOMPARE(control<QLabel>(about, "Label2")->text().count(u'\n'), 1);  // two lines
    QVERIFY(!control<QLabel>(about, "Label3")->text().isEmpty());
}

void WindowsTest::splashWindow() {
    stego::platform::ManualTimerFactory timers;
    int handedOver = 0;
    SplashWindow splash(timers, [&] { ++handedOver; });
    QCOMPARE(splash.objectName(), QStringLiteral("frmStart"));
    QCOMPARE(splash.size(), QSize(393, 210));
    QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(splash.windowType(), Qt::SplashScreen);
    QCOMPARE(timers.startedIntervals(), QList<int>{1000});
    const auto* title = control<QLabel>(splash, "Label1");
    QCOMPARE(title->text(), QStringLiteral("Corvid Steganographer"));
    QVERIFY(captionFits(title));
    for (const char* line : {"Line1", "Line2", "Line3", "Line4"})
        QVERIFY(splash.findChild<QFrame*>(QString::fromLatin1(line)));

    QCOMPARE(splash.SplashTicks(), 0);
    for (int tick = 1; tick <= 5; ++tick)
        timers.tick();
    QCOMPARE(splash.SplashTicks(), 5);
    QCOMPARE(handedOver, 1);  // on the second tick only
}

void WindowsTest::keyPadWindow() {
    KeyPadWindow pad;
    QCOMPARE(pad.objectName(), QStringLiteral("frmKeyLogDefeat"));
    QCOMPARE(pad.windowTitle(), QStringLiteral("Key Logger Defeater"));
    // The original pad and a row for the hint; wide enough for its title.
    QCOMPARE(pad.size(), QSize(292, 126));
    QVERIFY(pad.width() > pad.fontMetrics().horizontalAdvance(pad.windowTitle()) + 96);
    QCOMPARE(control<QPushButton>(pad, "cmdCancel")->text(), QStringLiteral("Cancel"));
    QCOMPARE(control(pad, "lbKey")->geometry(), QRect(32, 8, 241, 17));
    QCOMPARE(control<QPushButton>(pad, "Command2")->text(), QStringLiteral("<--"));
    QCOMPARE(control<QPushButton>(pad, "Command3")->text(), QStringLiteral("Done"));
    for (int index = 0; index < 10; ++index) {
        QCOMPARE(pad.digitButton(index)->size(), QSize(17, 17));
        QVERIFY(captionFits(pad.digitButton(index)));
    }

    // Tab order: "<--", "Done", then the digits by index.
    QStringList found;
    QWidget* widget = control(pad, "Command2");
    for (int step = 0; step < 12; ++step) {
        found.append(widget->objectName() == QStringLiteral("cmdNum") ? qobject_cast<QPushButton*>(widget)->text()
                                                                      : widget->objectName());
        widget = widget->nextInFocusChain();
    }
    QCOMPARE(found, (QStringList{"Command2", "Command3", "1", "0", "2", "3", "4", "5", "6", "7", "8", "9"}));

    pad.show();
    click(pad, "Command3");
    QVERIFY(!pad.isVisible());
}

QTEST_MAIN(WindowsTest)
#include "WindowsTest.moc"
