// The carrier picture: start-up, Open Image, Save Image, dropping a file, and
// the placing and scrolling of the picture in its viewport.
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QScrollBar>
#include <QUrl>
#include <QtTest>

#include "LayoutPicture.h"
#include "ShellTestKit.h"
#include "SplashWindow.h"
#include "Startup.h"
#include "platform/PictureFile.h"

using namespace stego::shell;
using namespace stego::shell::test;
using stego::platform::FileDialogRequest;

Q_DECLARE_METATYPE(QSize)

namespace {

const QSize kViewport(457, 305);

QScrollBar* bar(const QWidget& window, const char* name) { return control<QScrollBar>(window, name); }

QPoint picturePosition(const QWidget& window) { return control(window, "Picture2")->pos(); }

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

}  // namespace

class PictureTest : public QObject {
    Q_OBJECT

private slots:
    void layoutPlacesPictureAndBars_data();
    void layoutPlacesPictureAndBars();
    void windowAppliesLayout();
    void scrollingMovesPictureWhenPositionIsCommitted();
    void scrollsOverPicturesBeyond16Bits();
    void secondPictureResetsBars();

    void startUpWaitsForSecondTick();
    void startUpCancelEndsProgramWithoutMainWindow();
    void startUpAsksAgainAfterBadPicture();
    void startUpClearsKeyAndFileBoxes();

    void openImageKeepsKeyAndPathsAndClearsMessage();
    void openImageCancelChangesNothing();
    void openImageFailureKeepsEverything();
    void openJpegThenSaveGivesBmpOfSameSize();

    void saveThenReopenGivesIdenticalPixels_data();
    void saveThenReopenGivesIdenticalPixels();
    void saveCancelWritesNothing();
    void saveFailureSaysSoAndKeepsWhatWasThere();

    void droppedPictureOpens();
    void droppedOtherFileIsRefused();
};

void PictureTest::layoutPlacesPictureAndBars_data() {
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<bool>("hVisible");
    QTest::addColumn<int>("hMaximum");
    QTest::addColumn<bool>("vVisible");
    QTest::addColumn<int>("vMaximum");

    QTest::newRow("exactly the viewport") << QSize(457, 305) << QPoint(0, 0) << false << 0 << false << 0;
    QTest::newRow("one pixel wider") << QSize(458, 305) << QPoint(0, 0) << true << 1 << false << 0;
    QTest::newRow("one pixel taller") << QSize(457, 306) << QPoint(0, 0) << false << 0 << true << 1;
    QTest::newRow("1000 wide") << QSize(1000, 305) << QPoint(0, 0) << true << 543 << false << 0;
    QTest::newRow("smaller both ways is centred") << QSize(101, 51) << QPoint(178, 127) << false << 0 << false << 0;
    QTest::newRow("narrow and tall") << QSize(301, 1000) << QPoint(78, 0) << false << 0 << true << 695;
    QTest::newRow("far beyond 16 bits") << QSize(100000, 40000) << QPoint(0, 0) << true << 99543 << true << 39695;
}

void PictureTest::layoutPlacesPictureAndBars() {
    QFETCH(QSize, picture);
    QFETCH(QPoint, position);
    QFETCH(bool, hVisible);
    QFETCH(int, hMaximum);
    QFETCH(bool, vVisible);
    QFETCH(int, vMaximum);

    const PictureLayout layout = LayoutPicture(kViewport, picture);
    QCOMPARE(layout.picturePosition, position);
    QCOMPARE(layout.hScrollVisible, hVisible);
    QCOMPARE(layout.hScrollMaximum, hMaximum);
    QCOMPARE(layout.vScrollVisible, vVisible);
    QCOMPARE(layout.vScrollMaximum, vMaximum);
    QCOMPARE(layout.hScrollGeometry, QRect(0, 305, 457, kScrollBarThickness));
    QCOMPARE(layout.vScrollGeometry, QRect(457, 0, kScrollBarThickness, 305));
}

void PictureTest::windowAppliesLayout() {
    ShellTestKit kit;
    const auto window = kit.startedWindow(QSize(101, 51));
    QCOMPARE(control(*window, "Picture1")->geometry(), QRect(QPoint(0, 0), kViewport));
    QCOMPARE(control(*window, "Picture2")->geometry(), QRect(178, 127, 101, 51));
    QVERIFY(!bar(*window, "HScroll1")->isVisible());
    QVERIFY(!bar(*window, "VScroll1")->isVisible());
}

void PictureTest::scrollingMovesPictureWhenPositionIsCommitted() {
    ShellTestKit kit;
    const auto window = kit.startedWindow(QSize(1000, 400));
    QScrollBar* hScroll = bar(*window, "HScroll1");
    QScrollBar* vScroll = bar(*window, "VScroll1");
    QVERIFY(hScroll->isVisible());
    QCOMPARE(hScroll->minimum(), 0);
    QCOMPARE(hScroll->maximum(), 543);
    QCOMPARE(vScroll->maximum(), 95);

    hScroll->setValue(543);
    QCOMPARE(picturePosition(*window), QPoint(-543, 0));
    vScroll->setValue(95);
    QCOMPARE(picturePosition(*window), QPoint(-543, -95));

    // Dragging the thumb moves nothing until it is let go.
    hScroll->setSliderDown(true);
    hScroll->setSliderPosition(100);
    QCOMPARE(picturePosition(*window), QPoint(-543, -95));
    hScroll->setSliderDown(false);
    QCOMPARE(picturePosition(*window), QPoint(-100, -95));

    // The pixels keep their coordinates wherever the view stands.
    QCOMPARE(window->picture().pixel(0, 0), patternPicture(QSize(1000, 400)).pixel(0, 0));
}

void PictureTest::scrollsOverPicturesBeyond16Bits() {
    ShellTestKit kit;
    const auto window = kit.startedWindow(QSize(40000, 2));
    QScrollBar* hScroll = bar(*window, "HScroll1");
    QCOMPARE(hScroll->maximum(), 39543);
    hScroll->setValue(hScroll->maximum());
    QCOMPARE(picturePosition(*window), QPoint(-39543, 151));
}

void PictureTest::secondPictureResetsBars() {
    ShellTestKit kit;
    const auto window = kit.startedWindow(QSize(1000, 800));
    bar(*window, "HScroll1")->setValue(300);
    bar(*window, "VScroll1")->setValue(200);

    kit.fileDialogs.answer(kit.writePicture(QStringLiteral("second.bmp"), patternPicture(QSize(900, 900))));
    choose(*window, "fleop");
    QCOMPARE(bar(*window, "HScroll1")->value(), 0);
    QCOMPARE(bar(*window, "VScroll1")->value(), 0);
    QCOMPARE(picturePosition(*window), QPoint(0, 0));

    // A small picture after a scrolled one stays centred.
    bar(*window, "HScroll1")->setValue(400);
    kit.fileDialogs.answer(kit.writePicture(QStringLiteral("small.bmp"), patternPicture(QSize(57, 105))));
    choose(*window, "fleop");
    QCOMPARE(picturePosition(*window), QPoint(200, 100));
    QCOMPARE(bar(*window, "HScroll1")->value(), 0);
}

void PictureTest::startUpWaitsForSecondTick() {
    ShellTestKit kit;
    kit.fileDialogs.answer(kit.writePicture(QStringLiteral("a.bmp"), patternPicture(QSize(30, 20))));
    Startup startup(kit.services);
    startup.begin();
    QCOMPARE(kit.timers.startedIntervals(), QList<int>{1000});
    QVERIFY(startup.splash()->isVisible());

    kit.timers.tick();
    QCOMPARE(startup.splash()->SplashTicks(), 1);
    QVERIFY(kit.fileDialogs.requests().isEmpty());

    kit.timers.tick();
    QCOMPARE(kit.fileDialogs.requests().size(), 1);
    QCOMPARE(kit.fileDialogs.requests()[0].filter, MainWindow::kPictureFilter);
    QVERIFY(startup.mainWindow() && startup.mainWindow()->isVisible());
    QVERIFY(!startup.splash()->isVisible());

    // The splash is done: later ticks change nothing and it never returns.
    kit.timers.tick();
    QCOMPARE(kit.fileDialogs.requests().size(), 1);
    QVERIFY(!startup.splash()->isVisible());
    QCOMPARE(kit.endProgramCalls, 0);
}

void PictureTest::startUpCancelEndsProgramWithoutMainWindow() {
    ShellTestKit kit;
    kit.fileDialogs.cancel();
    Startup startup(kit.services);
    startup.begin();
    kit.timers.tick();
    kit.timers.tick();
    QCOMPARE(kit.endProgramCalls, 1);
    QVERIFY(startup.mainWindow() == nullptr);
    const auto windows = QApplication::topLevelWidgets();
    for (const QWidget* widget : windows)
        QVERIFY2(!(widget->objectName() == QStringLiteral("frmMain") && widget->isVisible()), "a main window shows");
    // The splash stays until the program has ended.
    QVERIFY(startup.splash()->isVisible());
}

void PictureTest::startUpAsksAgainAfterBadPicture() {
    ShellTestKit kit;
    const QString missing = kit.path(QStringLiteral("missing.bmp"));
    kit.fileDialogs.answer(missing);
    kit.fileDialogs.answer(kit.writePicture(QStringLiteral("good.bmp"), patternPicture(QSize(30, 20))));
    MainWindow window(kit.services);
    QVERIFY(window.startUp());
    QCOMPARE(kit.fileDialogs.requests().size(), 2);
    QCOMPARE(kit.messageBoxes.shown().size(), 1);
    const QString text = kit.messageBoxes.shown()[0].text;
    QVERIFY2(text.contains(QStringLiteral("Error ")) && text.contains(missing), qPrintable(text));
    QCOMPARE(window.picture().size(), QSize(30, 20));

    // A cancel after a bad picture still gives up.
    ShellTestKit other;
    other.fileDialogs.answer(missing);
    other.fileDialogs.cancel();
    MainWindow cancelled(other.services);
    QVERIFY(!cancelled.startUp());
    QCOMPARE(other.messageBoxes.shown().size(), 1);
}

void PictureTest::startUpClearsKeyAndFileBoxes() {
    ShellTestKit kit;
    const auto window = kit.startedWindow();
    for (const char* name : {"txtKey", "txtFile", "txtDecFile", "Text1"})
        QCOMPARE(textBox(*window, name)->text(), QString());
    QCOMPARE(window->picture().size(), QSize(200, 150));
}

void PictureTest::openImageKeepsKeyAndPathsAndClearsMessage() {
    ShellTestKit kit;
    const auto window = kit.startedWindow();
    textBox(*window, "txtKey")->setText(QStringLiteral("4711"));
    textBox(*window, "txtFile")->setText(QStringLiteral("/some/file"));
    textBox(*window, "txtDecFile")->setText(QStringLiteral("/some/other"));
    textBox(*window, "Text1")->setText(QStringLiteral("hello"));

    const QImage second = patternPicture(QSize(64, 48)).mirrored();
    kit.fileDialogs.answer(kit.writePicture(QStringLiteral("second.bmp"), second));
    choose(*window, "fleop");

    QCOMPARE(window->picture(), second);
    QCOMPARE(textBox(*window, "Text1")->text(), QString());
    QCOMPARE(textBox(*window, "txtKey")->text(), QStringLiteral("4711"));
    QCOMPARE(textBox(*window, "txtFile")->text(), QStringLiteral("/some/file"));
    QCOMPARE(textBox(*window, "txtDecFile")->text(), QStringLiteral("/some/other"));
    QVERIFY(kit.messageBoxes.shown().isEmpty());
}

void PictureTest::openImageCancelChangesNothing() {
    ShellTestKit kit;
    const auto window = kit.startedWindow();
    textBox(*window, "txtKey")->setText(QStringLiteral("4711"));
    textBox(*window, "Text1")->setText(QStringLiteral("HELLO"));
    click(*window, "Command1");  // changes pixels
    const QImage changed = window->picture();
    QVERIFY(changed != patternPicture(QSize(200, 150)));

    // The hidden message is not saved: Discard lets the dialog open.
    kit.messageBoxes.answerDiscard();
    kit.fileDialogs.cancel();
    choose(*window, "fleop");
    QCOMPARE(window->picture(), changed);
    QCOMPARE(textBox(*window, "Text1")->text(), QStringLiteral("HELLO"));
    QCOMPARE(kit.messageBoxes.shown().size(), 1);
    QVERIFY(kit.fileDialogs.allAnswered());
}

void PictureTest::openImageFailureKeepsEverything() {
    ShellTestKit kit;
    const auto window = kit.startedWindow();
    textBox(*window, "Text1")->setText(QStringLiteral("HELLO"));
    const QImage before = window->picture();

    QFile notAPicture(kit.path(QStringLiteral("words.bmp")));
    QVERIFY(notAPicture.open(QIODevice::WriteOnly));
    notAPicture.write("these are words, not pixels");
    notAPicture.close();

    for (const QString& bad : {kit.path(QStringLiteral("missing.bmp")), notAPicture.fileName()}) {
        kit.messageBoxes.forget();
        kit.fileDialogs.answer(bad);
        choose(*window, "fleop");
        QCOMPARE(kit.messageBoxes.shown().size(), 1);
        const QString text = kit.messageBoxes.shown()[0].text;
        QVERIFY2(text.contains(QStringLiteral("Error ")) && text.contains(bad), qPrintable(text));
        QCOMPARE(window->picture(), before);
        QCOMPARE(textBox(*window, "Text1")->text(), QStringLiteral("HELLO"));
    }
}

void PictureTest::openJpegThenSaveGivesBmpOfSameSize() {
    ShellTestKit kit;
    const auto window = kit.startedWindow();
    kit.fileDialogs.answer(QStringLiteral(PIXQUILL_TEST_DATA "/pictures/baseline.jpg"));
    choose(*window, "fleop");
    QVERIFY(kit.messageBoxes.shown().isEmpty());
    const QSize size = window->picture().size();

    const QString saved = kit.path(QStringLiteral("from-jpeg.bmp"));
    kit.fileDialogs.answer(saved);
    choose(*window, "flesve");
    QImage reopened(saved, "BMP");
    QCOMPARE(reopened.size(), size);
}

void PictureTest::saveThenReopenGivesIdenticalPixels_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("magic");
    QTest::newRow("bmp name") << QStringLiteral("saved.bmp") << QByteArray("BM");
    QTest::newRow("png name") << QStringLiteral("saved.png") << QByteArray("\x89PNG");
    QTest::newRow("no extension") << QStringLiteral("saved") << QByteArray("BM");
}

void PictureTest::saveThenReopenGivesIdenticalPixels() {
    QFETCH(QString, name);
    QFETCH(QByteArray, magic);
    ShellTestKit kit;
    const auto window = kit.startedWindow();
    textBox(*window, "txtKey")->setText(QStringLiteral("123456"));
    textBox(*window, "Text1")->setText(QStringLiteral("MEET AT NOON"));
    click(*window, "Command1");
    QVERIFY(kit.messageBoxes.shown().isEmpty());

    const QString saved = kit.path(name);
    kit.fileDialogs.answer(saved);
    choose(*window, "flesve");
    QCOMPARE(kit.fileDialogs.requests().last().filter, MainWindow::kBitmapFilter);
    QCOMPARE(kit.fileDialogs.requests().last().mode, FileDialogRequest::Mode::Save);
    QVERIFY(kit.messageBoxes.shown().isEmpty());

    QFile file(saved);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(magic.size()), magic);
    QVERIFY(!window->isWindowModified());
    const QImage reopened = stego::platform::loadPicture(QFile::encodeName(saved).toStdString());
    QCOMPARE(reopened, window->picture());

    // And the message comes back out of the reopened picture.
    kit.fileDialogs.answer(saved);
    choose(*window, "fleop");
    click(*window, "Command2");
    QCOMPARE(textBox(*window, "Text1")->text(), QStringLiteral("MEET AT NOON"));
}

void PictureTest::saveCancelWritesNothing() {
    ShellTestKit kit;
    const auto window = kit.startedWindow();
    kit.fileDialogs.answer(kit.path(QStringLiteral("first.bmp")));
    choose(*window, "flesve");
    const QStringList before = filesIn(kit.folder.path());

    kit.fileDialogs.cancel();
    choose(*window, "flesveas");
    QCOMPARE(filesIn(kit.folder.path()), before);
    // Save As offers the name saved under last; the first time, a new name beside the picture.
    QCOMPARE(kit.fileDialogs.requests().last().initialName, kit.path(QStringLiteral("first.bmp")));
    QCOMPARE(kit.fileDialogs.requests()[1].initialName, kit.path(QStringLiteral("start-hidden.bmp")));
}

void PictureTest::saveFailureSaysSoAndKeepsWhatWasThere() {
    ShellTestKit kit;
    const auto window = kit.startedWindow();
    const QString folderInTheWay = kit.path(QStringLiteral("taken.bmp"));
    QVERIFY(QDir().mkdir(folderInTheWay));
    QVERIFY(QFile(folderInTheWay + QStringLiteral("/keep.txt")).open(QIODevice::WriteOnly));

    for (const QString& target : {kit.path(QStringLiteral("no/such/folder/x.bmp")), folderInTheWay}) {
        kit.messageBoxes.forget();
        kit.fileDialogs.answer(target);
        if (QFileInfo::exists(target))
            kit.messageBoxes.answerYes();  // replace what is there
        choose(*window, "flesve");
        const QString text = kit.messageBoxes.shown().last().text;
        QVERIFY2(text.startsWith(QStringLiteral("The picture was not saved.\nError ")), qPrintable(text));
    }
    QVERIFY(QFileInfo(folderInTheWay).isDir());
    QVERIFY(QFileInfo::exists(folderInTheWay + QStringLiteral("/keep.txt")));
    QVERIFY(window->isVisible());
}

void PictureTest::droppedPictureOpens() {
    ShellTestKit kit;
    const auto window = kit.startedWindow();
    textBox(*window, "Text1")->setText(QStringLiteral("HELLO"));
    const QImage dropped = patternPicture(QSize(77, 33)).mirrored(true, false);
    const QString path = kit.writePicture(QStringLiteral("dropped.BMP"), dropped);

    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);

    QCOMPARE(window->picture(), dropped);
    QCOMPARE(textBox(*window, "Text1")->text(), QString());
    QVERIFY(kit.fileDialogs.allAnswered());
}

void PictureTest::droppedOtherFileIsRefused() {
    ShellTestKit kit;
    const auto window = kit.startedWindow();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(kit.path(QStringLiteral("notes.txt")))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    QApplication::sendEvent(window.get(), &enter);
    QVERIFY(!enter.isAccepted());
}

QTEST_MAIN(PictureTest)
#include "PictureTest.moc"
