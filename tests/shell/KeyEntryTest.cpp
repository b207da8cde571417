// The key box's filter and length limit, the key pad, and the exchange between them.
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "KeyPadWindow.h"
#include "ShellTestKit.h"

using namespace stego::shell;
using namespace stego::shell::test;

namespace {

// Clicks pad buttons by caption; "<" stands for "<--".
void clickPad(const QWidget& pad, const QString& captions) {
    for (const QChar c : captions) {
        if (c == u'<') {
            click(pad, "Command2");
            continue;
        }
        bool clicked = false;
        for (QPushButton* button : pad.findChildren<QPushButton*>(QStringLiteral("cmdNum"))) {
            if (button->text() == QString(c)) {
                button->click();
                clicked = true;
            }
        }
        QVERIFY2(clicked, qPrintable(QStringLiteral("no digit button ") + c));
    }
}

}  // namespace

class KeyEntryTest : public QObject {
    Q_OBJECT

private slots:
    void keyBoxKeepsDigitsOnly_data();
    void keyBoxKeepsDigitsOnly();
    void padBuildsKey_data();
    void padBuildsKey();
    void padSwapsIndexesOfZeroAndOne();
    void padKeyReplacesKeyBox_data();
    void padKeyReplacesKeyBox();
};

void KeyEntryTest::keyBoxKeepsDigitsOnly_data() {
    // Steps: "type:<keys>", "paste:<text>", "set:<text>" (the program sets it), "home" (caret to the start).
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("expected");

    const QString digits17 = QStringLiteral("12345678901234567");
    const QString digits18 = QStringLiteral("123456789012345678");
    QTest::newRow("a lone zero is refused") << QString() << QStringList{"type:0"} << QString();
    QTest::newRow("five then zero") << QString() << QStringList{"type:5", "type:0"} << QStringLiteral("50");
    QTest::newRow("zero typed before five")
        << QString() << QStringList{"type:5", "home", "type:0"} << QStringLiteral("05");
    QTest::newRow("pasted double zero stands") << QString() << QStringList{"paste:00"} << QStringLiteral("00");
    QTest::newRow("pasted mixture") << QString() << QStringList{"paste:9a8 -7"} << QStringLiteral("987");
    QTest::newRow("letter typed between digits") << QString() << QStringList{"type:12a3"} << QStringLiteral("123");
    QTest::newRow("digit-like characters")
        << QString() << QStringList{QStringLiteral("paste:1\u00B2\u00BD2")} << QStringLiteral("12");
    QTest::newRow("18 digits then a digit") << digits18 << QStringList{"type:9"} << digits18;
    QTest::newRow("18 digits then a letter") << digits18 << QStringList{"type:x"} << digits18;
    QTest::newRow("17 digits then a letter") << digits17 << QStringList{"type:a"} << digits17;
    QTest::newRow("paste cut to fit") << QStringLiteral("1234567890123456") << QStringList{"paste:789"}
                                      << QStringLiteral("123456789012345678");
    QTest::newRow("program sets a mixture") << QString() << QStringList{"set:a1b2"} << QStringLiteral("12");
    QTest::newRow("program sets 20 digits") << QString() << QStringList{"set:12345678901234567890"} << digits18;
    QTest::newRow("program sets zero") << QStringLiteral("5") << QStringList{"set:0"} << QString();
}

void KeyEntryTest::keyBoxKeepsDigitsOnly() {
    QFETCH(QString, start);
    QFETCH(QStringList, steps);
    QFETCH(QString, expected);

    ShellTestKit kit;
    const auto window = kit.startedWindow();
    QLineEdit* txtKey = textBox(*window, "txtKey");
    txtKey->setText(start);
    QCOMPARE(txtKey->text(), start);
    txtKey->setFocus();
    for (const QString& step : steps) {
        const QString argument = step.section(u':', 1);
        if (step.startsWith(QStringLiteral("type:")))
            QTest::keyClicks(txtKey, argument);
        else if (step.startsWith(QStringLiteral("paste:")))
            txtKey->insert(argument);
        else if (step.startsWith(QStringLiteral("set:")))
            txtKey->setText(argument);
        else if (step == QStringLiteral("home"))
            txtKey->home(false);
    }
    QCOMPARE(txtKey->text(), expected);
}

void KeyEntryTest::padBuildsKey_data() {
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<QString>("expected");

    QTest::newRow("nothing clicked") << QString() << QString();
    QTest::newRow("a first zero is ignored") << QStringLiteral("0") << QString();
    QTest::newRow("one then zero") << QStringLiteral("10") << QStringLiteral("10");
    QTest::newRow("zeros then seven") << QStringLiteral("007") << QStringLiteral("7");
    QTest::newRow("back on an empty pad") << QStringLiteral("<") << QString();
    QTest::newRow("back after one digit") << QStringLiteral("4<") << QString();
    QTest::newRow("back after two digits") << QStringLiteral("42<") << QStringLiteral("4");
    QTest::newRow("every digit in caption order") << QStringLiteral("0123456789") << QStringLiteral("123456789");
    QTest::newRow("a 19th digit is refused")
        << QStringLiteral("98765432109876543210") << QStringLiteral("987654321098765432");
}

void KeyEntryTest::padBuildsKey() {
    QFETCH(QString, clicks);
    QFETCH(QString, expected);

    KeyPadWindow earlier;
    clickPad(earlier, QStringLiteral("13"));
    KeyPadWindow pad;
    QCOMPARE(pad.PadKey(), QString());
    clickPad(pad, clicks);
    QCOMPARE(control<QLabel>(pad, "lbKey")->text(), expected);
    // A refused digit says why; nothing else shows a hint.
    QCOMPARE(control<QLabel>(pad, "lbHint")->text().isEmpty(), clicks.size() <= KeyPadWindow::kLongestKey);
    QCOMPARE(pad.PadKey(), expected);
    QCOMPARE(pad.takePadKey(), expected);
    QCOMPARE(pad.PadKey(), QString());
}

void KeyEntryTest::padSwapsIndexesOfZeroAndOne() {
    KeyPadWindow pad;
    QCOMPARE(pad.digitButton(0)->text(), QStringLiteral("1"));
    QCOMPARE(pad.digitButton(1)->text(), QStringLiteral("0"));
    for (int index = 2; index < 10; ++index)
        QCOMPARE(pad.digitButton(index)->text(), QString::number(index));
    // The row stands in caption order whatever the indexes.
    QCOMPARE(pad.digitButton(1)->x(), 16);
    QCOMPARE(pad.digitButton(0)->x(), 40);
    QCOMPARE(pad.digitButton(9)->x(), 232);
    QCOMPARE(pad.digitButton(0)->property("Index").toInt(), 0);
}

void KeyEntryTest::padKeyReplacesKeyBox_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<QString>("finish");  // the button that ends the pad; none: its close box
    QTest::addColumn<QString>("expected");

    QTest::newRow("Done: the pad key replaces the box")
        << QStringLiteral("999") << QStringLiteral("42") << QStringLiteral("Command3") << QStringLiteral("42");
    QTest::newRow("Done without a click empties the box")
        << QStringLiteral("4217") << QString() << QStringLiteral("Command3") << QString();
    QTest::newRow("Cancel keeps the box")
        << QStringLiteral("999") << QStringLiteral("42") << QStringLiteral("cmdCancel") << QStringLiteral("999");
    QTest::newRow("the close box keeps the box")
        << QStringLiteral("4217") << QStringLiteral("5") << QString() << QStringLiteral("4217");
    QTest::newRow("20 digits give their first 18")
        << QString() << QStringLiteral("12345678901234567890") << QStringLiteral("Command3")
        << QStringLiteral("123456789012345678");
}

void KeyEntryTest::padKeyReplacesKeyBox() {
    QFETCH(QString, before);
    QFETCH(QString, clicks);
    QFETCH(QString, finish);
    QFETCH(QString, expected);

    ShellTestKit kit;
    const auto window = kit.startedWindow();
    QLineEdit* txtKey = textBox(*window, "txtKey");
    txtKey->setText(before);
    kit.modalWindows.then([clicks, finish](QDialog& pad) {
        clickPad(pad, clicks);
        if (!finish.isEmpty())
            click(pad, qPrintable(finish));
    });

    QTest::mouseDClick(txtKey, Qt::LeftButton);

    QCOMPARE(kit.modalWindows.shown(), QStringList{QStringLiteral("frmKeyLogDefeat")});
    QCOMPARE(txtKey->text(), expected);
}

QTEST_MAIN(KeyEntryTest)
#include "KeyEntryTest.moc"
