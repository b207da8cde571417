// Both programs show the version of the build they come from: pixquill-cli
// --version, and the legal notice of the About window.
#include <QLabel>
#include <QProcess>
#include <QtTest>

#include "AboutWindow.h"

class VersionTest : public QObject {
    Q_OBJECT
private slots:
    void commandLineToolAndAboutWindowShowTheBuildVersion();
};

void VersionTest::commandLineToolAndAboutWindowShowTheBuildVersion() {
    const QString version = QStringLiteral(PIXQUILL_BUILD_VERSION);

    QProcess cli;
    cli.start(QStringLiteral(PIXQUILL_CLI), {QStringLiteral("--version")});
    QVERIFY2(cli.waitForFinished(30000), qPrintable(cli.errorString()));
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(cli.readAllStandardOutput()), QStringLiteral("pixquill-cli %1\n").arg(version));

    stego::shell::AboutWindow about;
    const auto* notice = about.findChild<QLabel*>(QStringLiteral("Label2"));
    QVERIFY(notice);
    QCOMPARE(notice->text().section(u'\n', 0, 0), QStringLiteral("Pixquill, version %1").arg(version));
}

QTEST_MAIN(VersionTest)
#include "VersionTest.moc"
