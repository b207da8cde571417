// What a person relies on around the commands: nothing lost without a
// question, the title, status bar and live count, the growing window and its
// zoom, and a picture named on the command line.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QUrl>
#include <QtTest>

#include "CarrierView.h"
#include "ShellTestKit.h"
#include "platform/PictureFile.h"

using namespace stego::shell;
using namespace stego::shell::test;
using stego::platform::MessageBoxes;

namespace {

void dropFile(QWidget& window, const QString& path) {
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
}

QString labelText(const QWidget& window, const char* name) { return control<QLabel>(window, name)->text(); }

// A started window whose picture holds a hidden message not yet saved.
std::unique_ptr<MainWindow> windowWithUnsavedMessage(ShellTestKit& kit) {
    auto window = kit.startedWindow();
    textBox(*window, "txtKey")->setText(QStringLiteral("4711"));
    textBox(*window, "Text1")->setText(QStringLiteral("MEET AT NOON"));
    click(*window, "Command1");
    if (!window->hasUnsavedChanges())
        qFatal("the message was not hidden");
    return window;
}

}  // namespace

class WorkflowTest : public QObject {
    Q_OBJECT

private slots:
    void unsavedChangesAskBeforeTheyGo_data();
    void unsavedChangesAskBeforeTheyGo();
    void saveAsksBeforeReplacingAndRefusesJpegNames();
    void extractDataAsksBeforeReplacing();
    void defaultKeyQuestionDefaultsToNo();
    void titleAndStatusBarTellWhatHappened();
    void liveCountShowsRoomAndFirstRefusedCharacter_data();
    void liveCountShowsRoomAndFirstRefusedCharacter();
    void windowGrowsAroundTheViewport();
    void zoomIsDisplayOnly();
    void wheelScrollsAndZooms();
    void pictureNamedOnCommandLineOpens();
};

void WorkflowTest::unsavedChangesAskBeforeTheyGo_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("goes");
    for (const char* action : {"exit", "close", "open", "drop"}) {
        QTest::addRow("%s, Save", action) << action << "save" << true;
        QTest::addRow("%s, Discard", action) << action << "discard" << true;
        QTest::addRow("%s, Cancel", action) << action << "cancel" << false;
    }
}

void WorkflowTest::unsavedChangesAskBeforeTheyGo() {
    QFETCH(QString, action);
    QFETCH(QString, answer);
    QFETCH(bool, goes);

    ShellTestKit kit;
    const auto window = windowWithUnsavedMessage(kit);
    const QImage changed = window->picture();
    const QString saved = kit.path(QStringLiteral("kept.bmp"));
    if (answer == QStringLiteral("save")) {
        kit.messageBoxes.answerSave();
        kit.fileDialogs.answer(saved);
    } else if (answer == QStringLiteral("discard")) {
        kit.messageBoxes.answerDiscard();
    } else {
        kit.messageBoxes.answerCancel();
    }
    if (action == QStringLiteral("open") && goes)
        kit.fileDialogs.cancel();
    const int dialogsBefore = kit.fileDialogs.requests().size();

    if (action == QStringLiteral("exit"))
        choose(*window, "fleext");
    else if (action == QStringLiteral("close"))
        window->close();
    else if (action == QStringLiteral("open"))
        choose(*window, "fleop");
    else {
        // A PNG, which the window now takes too.
        const QString png = kit.path(QStringLiteral("dropped.png"));
        QVERIFY(patternPicture(QSize(9, 9)).save(png, "PNG"));
        dropFile(*window, png);
    }

    QCOMPARE(kit.messageBoxes.shown().size(), 1);
    QVERIFY(kit.messageBoxes.shown()[0].question);
    QVERIFY(kit.messageBoxes.allAnswered());
    QVERIFY(kit.fileDialogs.allAnswered());
    if (action == QStringLiteral("exit"))
        QCOMPARE(kit.endProgramCalls, goes ? 1 : 0);
    if (action == QStringLiteral("close"))
        QCOMPARE(window->isVisible(), !goes);
    if (action == QStringLiteral("open") && !goes)
        QCOMPARE(kit.fileDialogs.requests().size(), dialogsBefore);
    // Save really saves, and whatever happens the pixels in memory stay.
    QCOMPARE(QFileInfo::exists(saved), answer == QStringLiteral("save"));
    if (answer == QStringLiteral("save"))
        QCOMPARE(stego::platform::loadPicture(QFile::encodeName(saved).toStdString()), changed);
    if (action == QStringLiteral("drop")) {
        QCOMPARE(window->picture().size(), goes ? QSize(9, 9) : changed.size());
        return;
    }
    QCOMPARE(window->picture(), changed);
    // Discarding, then cancelling the open dialog, keeps the picture as it was: unsaved.
    QCOMPARE(window->hasUnsavedChanges(), answer == QStringLiteral("cancel") || (action == QStringLiteral("open") &&
                                                                                 answer == QStringLiteral("discard")));
}

void WorkflowTest::saveAsksBeforeReplacingAndRefusesJpegNames() {
    ShellTestKit kit;
    const auto window = windowWithUnsavedMessage(kit);
    const QString existing = kit.path(QStringLiteral("existing.bmp"));
    writeFile(existing, "not to be lost");

    // No, the default, keeps the file.
    kit.fileDialogs.answer(existing);
    choose(*window, "flesve");
    QCOMPARE(kit.messageBoxes.shown().size(), 1);
    QCOMPARE(kit.messageBoxes.shown()[0].text,
             QStringLiteral("existing.bmp already exists.\nDo you want to replace it?"));
    QCOMPARE(kit.messageBoxes.shown()[0].preferred, MessageBoxes::Default::No);
    QCOMPARE(readFile(existing), QByteArray("not to be lost"));
    QVERIFY(window->hasUnsavedChanges());

    // A JPEG name is refused before any question, and nothing is written.
    kit.messageBoxes.forget();
    const QString jpeg = kit.path(QStringLiteral("photo.jpg"));
    kit.fileDialogs.answer(jpeg);
    choose(*window, "flesve");
    QCOMPARE(kit.messageBoxes.shown().size(), 1);
    QVERIFY(!kit.messageBoxes.shown()[0].question);
    QVERIFY2(kit.messageBoxes.shown()[0].text.startsWith(QStringLiteral("The picture was not saved.\nError 481: ")),
             qPrintable(kit.messageBoxes.shown()[0].text));
    QVERIFY(!QFileInfo::exists(jpeg));

    // Yes replaces it; Save Image then writes there again without asking.
    kit.messageBoxes.forget();
    kit.messageBoxes.answerYes();
    kit.fileDialogs.answer(existing);
    choose(*window, "flesve");
    QCOMPARE(readFile(existing).left(2), QByteArray("BM"));
    QVERIFY(!window->hasUnsavedChanges());
    const int dialogs = kit.fileDialogs.requests().size();
    choose(*window, "flesve");
    QCOMPARE(kit.fileDialogs.requests().size(), dialogs);
    QCOMPARE(kit.messageBoxes.shown().size(), 1);
}

void WorkflowTest::extractDataAsksBeforeReplacing() {
    ShellTestKit kit;
    const auto window = kit.startedWindow();
    const QString destination = kit.path(QStringLiteral("notes.txt"));
    writeFile(destination, "my notes");
    textBox(*window, "txtKey")->setText(QStringLiteral("12"));
    textBox(*window, "txtDecFile")->setText(destination);

    click(*window, "Command8");  // answered No, the default
    QCOMPARE(kit.messageBoxes.shown().size(), 1);
    QCOMPARE(kit.messageBoxes.shown()[0].text, QStringLiteral("notes.txt already exists.\nDo you want to replace it?"));
    QCOMPARE(kit.messageBoxes.shown()[0].preferred, MessageBoxes::Default::No);
    QCOMPARE(readFile(destination), QByteArray("my notes"));

    // The extract dialog offers a folder only, never the hidden file's name.
    textBox(*window, "txtFile")->setText(kit.path(QStringLiteral("secret.txt")));
    kit.fileDialogs.cancel();
    click(*window, "Command7");
    QCOMPARE(kit.fileDialogs.requests().last().initialName, kit.folder.path() + QStringLiteral("/"));
}

void WorkflowTest::defaultKeyQuestionDefaultsToNo() {
    ShellTestKit kit;
    const auto window = kit.startedWindow();
    const QImage before = window->picture();
    textBox(*window, "Text1")->setText(QStringLiteral("HELLO"));
    click(*window, "Command1");  // unanswered: No
    QCOMPARE(kit.messageBoxes.shown().size(), 1);
    QCOMPARE(kit.messageBoxes.shown()[0].preferred, MessageBoxes::Default::No);
    QCOMPARE(window->picture(), before);
}

void WorkflowTest::titleAndStatusBarTellWhatHappened() {
    ShellTestKit kit;
    const auto window = kit.startedWindow();
    QCOMPARE(window->windowTitle(), QStringLiteral("start.bmp[*] \u2014 Corvid Steganographer"));
    QVERIFY(!window->isWindowModified());
    QCOMPARE(labelText(*window, "statusPicture"),
             QStringLiteral("200 \u00d7 150 pixels, holds 9,984 characters or bytes (sealed: 11,182 bytes)"));
    QCOMPARE(labelText(*window, "statusOutcome"), QStringLiteral("Opened start.bmp."));

    textBox(*window, "txtKey")->setText(QStringLiteral("7"));
    textBox(*window, "Text1")->setText(QStringLiteral("HELLO THERE"));
    click(*window, "Command1");
    QVERIFY(window->isWindowModified());
    QCOMPARE(labelText(*window, "statusOutcome"),
             QStringLiteral("Message hidden: 11 characters. Save the picture to keep it."));

    kit.fileDialogs.answer(kit.path(QStringLiteral("out.png")));
    choose(*window, "flesve");
    QVERIFY(!window->isWindowModified());
    QCOMPARE(labelText(*window, "statusOutcome"), QStringLiteral("Saved as out.png."));

    click(*window, "Command2");
    QCOMPARE(labelText(*window, "statusOutcome"), QStringLiteral("Message extracted: 11 characters."));
}

void WorkflowTest::liveCountShowsRoomAndFirstRefusedCharacter_data() {
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("count");
    QTest::newRow("empty") << QSize(200, 150) << QString() << "0 of 9,984 characters";
    QTest::newRow("fits") << QSize(200, 150) << "HELLO"
                          << "5 of 9,984 characters";
    QTest::newRow("too long") << QSize(10, 10) << QString(53, u'a')
                              << "53 of 17 characters: 36 too many for this picture";
    QTest::newRow("refused character") << QSize(200, 150) << QStringLiteral("ab\u00e9c")
                                       << "4 of 9,984 characters: character 3, \"\u00e9\", cannot be hidden";
    QTest::newRow("line break") << QSize(200, 150) << "a\nb"
                                << "3 of 9,984 characters: character 2, U+000A, cannot be hidden";
}

void WorkflowTest::liveCountShowsRoomAndFirstRefusedCharacter() {
    QFETCH(QSize, picture);
    QFETCH(QString, text);
    QFETCH(QString, count);
    ShellTestKit kit;
    const auto window = kit.startedWindow(picture);
    textBox(*window, "Text1")->setText(text);
    QCOMPARE(labelText(*window, "lblCount"), count);
}

void WorkflowTest::windowGrowsAroundTheViewport() {
    ShellTestKit kit;
    const auto window = kit.startedWindow(QSize(2000, 1500));
    const QSize smallest = MainWindow::minimumClientSize();
    // The first show fits the screen (the test screen is 800 wide).
    const QRect screen = window->screen()->availableGeometry();
    QVERIFY(window->width() <= screen.width() && window->height() <= screen.height());
    QCOMPARE(window->centralWidget()->size(), smallest.boundedTo(window->centralWidget()->size()));

    window->resize(1400, 900);
    QCoreApplication::processEvents();
    const QSize client = window->centralWidget()->size();
    const int extra = client.width() - smallest.width();
    QVERIFY(extra > 400);
    // The controls keep their sizes, moved to the right edge; the viewport takes the rest.
    for (const char* frame : {"Frame1", "Frame3", "Frame2", "Frame5"}) {
        QCOMPARE(control(*window, frame)->x(), 480 + extra);
        QVERIFY(control(*window, frame)->geometry().right() < client.width());
    }
    QCOMPARE(control(*window, "Frame3")->size(), QSize(345, 121));
    const QSize viewport = control(*window, "Picture1")->size();
    QCOMPARE(viewport.width(), 457 + extra);
    // Only the sealed item's panel keeps its band below the picture's scroll bar.
    const QWidget* sealedPanel = window->findChild<QWidget*>(QStringLiteral("SealedPanel"));
    QVERIFY(sealedPanel);
    QCOMPARE(sealedPanel->geometry().bottom(), client.height() - 1);
    QVERIFY(viewport.height() > client.height() - 40 - sealedPanel->height());
    QCOMPARE(control<QScrollBar>(*window, "HScroll1")->maximum(), 2000 - viewport.width());

    // Narrower than the original layout (a small screen at a large scale factor):
    // the viewport gives up width and the controls stay whole.
    window->setMinimumSize(0, 0);
    window->resize(700, window->height());
    QCoreApplication::processEvents();
    const int narrow = window->centralWidget()->width();
    QCOMPARE(control(*window, "Picture1")->width(), 457 - (smallest.width() - narrow));
    QCOMPARE(control(*window, "Frame3")->x(), 480 - (smallest.width() - narrow));
    for (const char* frame : {"Frame1", "Frame3", "Frame2", "Frame5"})
        QVERIFY(control(*window, frame)->geometry().right() < narrow);
}

void WorkflowTest::zoomIsDisplayOnly() {
    ShellTestKit kit;
    const auto window = kit.startedWindow(QSize(2000, 1500));
    const QImage pixels = window->picture();
    const auto* view = control<CarrierView>(*window, "Picture2");

    window->fitToWindow();
    const QSize viewport = control(*window, "Picture1")->size();
    QVERIFY(window->fitsWindow());
    QVERIFY(view->width() <= viewport.width() && view->height() <= viewport.height());
    QVERIFY(view->width() == viewport.width() || view->height() == viewport.height());
    // Shown from a copy made at the shown size, not the whole picture.
    QCOMPARE(view->preview().size(), view->size());
    QVERIFY(!control<QScrollBar>(*window, "HScroll1")->isVisible());

    window->actualSize();
    QCOMPARE(view->size(), QSize(2000, 1500));
    QVERIFY(view->preview().isNull());
    window->zoomIn();
    QCOMPARE(view->size(), QSize(3000, 2250));
    window->zoomOut();
    window->zoomOut();
    QCOMPARE(view->size(), QSize(1333, 1000));
    QCOMPARE(window->picture(), pixels);

    // A small picture is not enlarged to fit.
    window->fitToWindow();
    kit.fileDialogs.answer(kit.writePicture(QStringLiteral("small.bmp"), patternPicture(QSize(40, 30))));
    choose(*window, "fleop");
    QVERIFY(window->fitsWindow());
    QCOMPARE(view->size(), QSize(40, 30));
}

void WorkflowTest::wheelScrollsAndZooms() {
    ShellTestKit kit;
    const auto window = kit.startedWindow(QSize(2000, 1500));
    QWidget* view = control(*window, "Picture2");
    const auto wheel = [&](QPoint delta, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event(QPointF(5, 5), QPointF(5, 5), QPoint(), delta, Qt::NoButton, modifiers, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(view, &event);
    };
    wheel(QPoint(0, -120), Qt::NoModifier);
    QCOMPARE(control<QScrollBar>(*window, "VScroll1")->value(), 60);
    wheel(QPoint(0, -120), Qt::ShiftModifier);
    QCOMPARE(control<QScrollBar>(*window, "HScroll1")->value(), 60);
    wheel(QPoint(0, 120), Qt::ControlModifier);
    QCOMPARE(window->zoom(), 1.5);
    wheel(QPoint(0, -120), Qt::ControlModifier);
    QCOMPARE(window->zoom(), 1.0);
}

void WorkflowTest::pictureNamedOnCommandLineOpens() {
    ShellTestKit kit;
    const QString named = kit.writePicture(QStringLiteral("named.bmp"), patternPicture(QSize(31, 17)));
    MainWindow window(kit.services);
    QVERIFY(window.startUp(named));
    QVERIFY(kit.fileDialogs.requests().isEmpty());
    QCOMPARE(window.picture().size(), QSize(31, 17));

    // A name that does not open is reported, then the usual question follows.
    MainWindow second(kit.services);
    kit.fileDialogs.answer(named);
    QVERIFY(second.startUp(kit.path(QStringLiteral("absent.bmp"))));
    QCOMPARE(kit.messageBoxes.shown().size(), 1);
    QCOMPARE(kit.fileDialogs.requests().size(), 1);
}

QTEST_MAIN(WorkflowTest)
#include "WorkflowTest.moc"
