// The Qt side of the window seams: the boxes' titles, icons and buttons, the
// dialogs' filters, and real timer ticks.
#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "platform/QtFileDialogs.h"
#include "platform/QtMessageBoxes.h"
#include "platform/QtTimerFactory.h"

using stego::platform::MessageBoxes;
using stego::platform::QtFileDialogs;
using stego::platform::QtMessageBoxes;

namespace {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton preferred = QMessageBox::NoButton;  // what Enter presses
};

// Looks at the box once it has opened, then presses one of its buttons.
void answerNextBox(SeenBox& seen, QMessageBox::StandardButton press, int triesLeft = 100) {
    QTimer::singleShot(10, [&seen, press, triesLeft] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            if (triesLeft > 0)
                answerNextBox(seen, press, triesLeft - 1);
            return;
        }
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                box->standardButton(box->defaultButton())};
        box->button(press)->click();
    });
}

}  // namespace

class PlatformSeamsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setApplicationDisplayName(QStringLiteral("Pixquill")); }
    void questionHasYesAndNoWithoutIcon_data();
    void questionHasYesAndNoWithoutIcon();
    void unsavedQuestionHasSaveDiscardCancel_data();
    void unsavedQuestionHasSaveDiscardCancel();
    void messagesHaveOkOnly_data();
    void messagesHaveOkOnly();
    void filtersInQtForm_data();
    void filtersInQtForm();
    void timerTicksUntilStopped();
};

void PlatformSeamsTest::questionHasYesAndNoWithoutIcon_data() {
    QTest::addColumn<int>("press");
    QTest::addColumn<int>("preferred");
    QTest::addColumn<bool>("yes");
    QTest::newRow("Yes, Yes preferred") << int(QMessageBox::Yes) << int(MessageBoxes::Default::Yes) << true;
    QTest::newRow("No, No preferred") << int(QMessageBox::No) << int(MessageBoxes::Default::No) << false;
    QTest::newRow("Yes, No preferred") << int(QMessageBox::Yes) << int(MessageBoxes::Default::No) << true;
}

void PlatformSeamsTest::questionHasYesAndNoWithoutIcon() {
    QFETCH(int, press);
    QFETCH(int, preferred);
    QFETCH(bool, yes);
    QtMessageBoxes boxes;
    SeenBox seen;
    answerNextBox(seen, QMessageBox::StandardButton(press));
    QCOMPARE(boxes.askYesNo(nullptr, QStringLiteral("Go on?"), MessageBoxes::Default(preferred)), yes);
    QCOMPARE(seen.title, QStringLiteral("Pixquill"));
    QCOMPARE(seen.text, QStringLiteral("Go on?"));
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QCOMPARE(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(seen.preferred,
             MessageBoxes::Default(preferred) == MessageBoxes::Default::Yes ? QMessageBox::Yes : QMessageBox::No);
}

void PlatformSeamsTest::unsavedQuestionHasSaveDiscardCancel_data() {
    QTest::addColumn<int>("press");
    QTest::addColumn<int>("choice");
    QTest::newRow("Save") << int(QMessageBox::Save) << int(MessageBoxes::UnsavedChoice::Save);
    QTest::newRow("Discard") << int(QMessageBox::Discard) << int(MessageBoxes::UnsavedChoice::Discard);
    QTest::newRow("Cancel") << int(QMessageBox::Cancel) << int(MessageBoxes::UnsavedChoice::Cancel);
}

void PlatformSeamsTest::unsavedQuestionHasSaveDiscardCancel() {
    QFETCH(int, press);
    QFETCH(int, choice);
    QtMessageBoxes boxes;
    SeenBox seen;
    answerNextBox(seen, QMessageBox::StandardButton(press));
    QCOMPARE(int(boxes.askUnsaved(nullptr, QStringLiteral("Save?"))), choice);
    QCOMPARE(seen.title, QStringLiteral("Pixquill"));
    QCOMPARE(seen.buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    QCOMPARE(seen.preferred, QMessageBox::Save);
}

void PlatformSeamsTest::messagesHaveOkOnly_data() {
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("shown");
    QTest::newRow("plain") << int(MessageBoxes::Icon::None) << int(QMessageBox::NoIcon);
    QTest::newRow("stop") << int(MessageBoxes::Icon::Stop) << int(QMessageBox::Critical);
}

void PlatformSeamsTest::messagesHaveOkOnly() {
    QFETCH(int, icon);
    QFETCH(int, shown);
    QtMessageBoxes boxes;
    SeenBox seen;
    answerNextBox(seen, QMessageBox::Ok);
    boxes.tell(nullptr, QStringLiteral("Done."), MessageBoxes::Icon(icon));
    QCOMPARE(seen.title, QStringLiteral("Pixquill"));
    QCOMPARE(int(seen.icon), shown);
    QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void PlatformSeamsTest::filtersInQtForm_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("qt");
    QTest::newRow("pictures") << "Pictures (*.bmp;*.jpg;*.jpeg)|*.bmp;*.jpg;*.jpeg"
                              << "Pictures (*.bmp *.jpg *.jpeg)";
    QTest::newRow("bitmap") << "BitMap (*.bmp)|*.bmp"
                            << "BitMap (*.bmp)";
    QTest::newRow("two types") << "BitMap (*.bmp)|*.bmp|PNG (*.png)|*.png"
                               << "BitMap (*.bmp);;PNG (*.png)";
    QTest::newRow("every file") << ""
                                << "";
}

void PlatformSeamsTest::filtersInQtForm() {
    QFETCH(QString, filter);
    QFETCH(QString, qt);
    QCOMPARE(QtFileDialogs::qtNameFilter(filter), qt);
}

void PlatformSeamsTest::timerTicksUntilStopped() {
    stego::platform::QtTimerFactory timers;
    int ticks = 0;
    const auto timer = timers.start(5, [&] { ++ticks; });
    QVERIFY(timer->isRunning());
    QTRY_VERIFY(ticks >= 2);
    timer->stop();
    const int stoppedAt = ticks;
    QTest::qWait(30);
    QCOMPARE(ticks, stoppedAt);
}

QTEST_MAIN(PlatformSeamsTest)
#include "PlatformSeamsTest.moc"
