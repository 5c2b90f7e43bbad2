// Tests of the failure check of one month's tide run, on recorded outputs of real tide runs.
#include <QFile>
#include <QSignalSpy>

#include "calendar/TideRunCheck.h"
#include "engine/TideGetter.h"
#include "support/TestMain.h"

namespace {

QByteArray Fixture(const QString& name) {
    if (name.isEmpty()) return {};
    QFile f(QStringLiteral(QUORVEX_TEST_FIXTURES "/calendar/") + name);
    if (!f.open(QIODevice::ReadOnly)) qFatal("missing fixture %s", qPrintable(name));
    return f.readAll();
}

}  // namespace

class TestTideRunCheck : public QObject {
    Q_OBJECT
  private slots:
    void check_data() {
        QTest::addColumn<bool>("started");
        QTest::addColumn<bool>("crashed");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        QTest::addColumn<bool>("failed");
        QTest::addColumn<QString>("message");

        const QByteArray seattle = Fixture("seattle_pst.stdout");
        const QByteArray banner = Fixture("banner_only.stderr");
        QTest::newRow("month with banner and Indexing line")
            << true << false << 0 << seattle << banner << false << "";
        QTest::newRow("month without banner")
            << true << false << 0 << seattle << QByteArray("Indexing ./harmonics.tcd...\n") << false
            << "";
        QTest::newRow("unknown station exits 0")
            << true << false << 0 << QByteArray() << Fixture("station_not_found.stderr") << true
            << "XTide Error:  STATION_NOT_FOUND\n"
               "The specified station was not found in any harmonics file.\n\n"
               "Error details:\nCould not find: Nowhere Bay";
        QTest::newRow("missing database exits 255")
            << true << false << 255 << QByteArray() << Fixture("missing_hfile.stderr") << true
            << "./missing.tcd: No such file or directory\n"
               "XTide Fatal Error:  NO_HFILE_IN_PATH\n"
               "A search path for harmonics files was provided, but no harmonics files were\n"
               "found anywhere in that path.  You might need to download a harmonics file\n"
               "from http://www.flaterco.com/xtide/files.html.\n\n"
               "Error details:\n./missing.tcd";
        QTest::newRow("missing tide exits 127")
            << true << false << 127 << QByteArray()
            << QByteArray("bash: line 1: ./tide: No such file or directory\n") << true
            << "Unable to run tide (exit status 127)\n\n"
               "bash: line 1: ./tide: No such file or directory";
        QTest::newRow("tide not executable exits 126")
            << true << false << 126 << QByteArray()
            << QByteArray("bash: line 1: ./tide: Permission denied\n") << true
            << "Unable to run tide (exit status 126)\n\nbash: line 1: ./tide: Permission denied";
        QTest::newRow("non-zero exit without error output")
            << true << false << 1 << QByteArray() << QByteArray() << true
            << "Unable to run tide (exit status 1)";
        QTest::newRow("non-zero exit after a partial month")
            << true << false << 2 << seattle << banner << true
            << "Unable to run tide (exit status 2)";
        QTest::newRow("shell not started")
            << false << false << -1 << QByteArray() << QByteArray() << true
            << "Unable to run tide: the shell could not be started.";
        QTest::newRow("killed by a signal")
            << true << true << -1 << seattle << banner << true << "tide stopped unexpectedly.";
        QTest::newRow("harmonics error in any case, whole output")
            << true << false << 0 << QByteArray("HARMONICS.TCD: cannot open\nsecond line\n")
            << QByteArray("more\n") << true << "HARMONICS.TCD: cannot open\nsecond line\nmore\n";
        QTest::newRow("harmonics error on error output alone")
            << true << false << 1 << QByteArray() << QByteArray("harmonics.tcd: bad magic\n")
            << true << "harmonics.tcd: bad magic\n";
    }
    void check() {
        QFETCH(bool, started);
        QFETCH(bool, crashed);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        const TideRunResult r = TideRunCheck::Check(started, crashed, exitCode, out, err);
        QTEST(r.failed, "failed");
        QTEST(r.message, "message");
    }

    // The bad-date message keeps tide's whole explanation and loses the banner and the
    // Indexing line that follows the explanation.
    void bannerAndIndexingRemovedWherever() {
        const QString text =
            TideRunCheck::WithoutBanner(QString::fromUtf8(Fixture("bad_date.stderr")));
        QVERIFY(text.startsWith("XTide Fatal Error:  MKTIME_FAILED\n"));
        QVERIFY(text.endsWith("in the time zone :America/Los_Angeles"));
        QVERIFY(!text.contains("NOT FOR NAVIGATION"));
        QVERIFY(!text.contains("Indexing"));
    }

    void textWithoutBannerUnchanged() {
        QCOMPARE(TideRunCheck::WithoutBanner("XTide Error:  X\r\n\r\nline\r\n"),
                 QString("XTide Error:  X\n\nline"));
        QCOMPARE(TideRunCheck::WithoutBanner(""), QString());
    }

    // The same decisions read from a finished TideGetter.
    void checkOfAFinishedRun_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("failed");
        QTest::addColumn<QString>("message");
        QTest::newRow("prediction")
            << "echo '2009-03-01  6:49 AM PST   Sunrise'; echo 'Indexing ./harmonics.tcd...' >&2"
            << false << "";
        QTest::newRow("error with exit 0") << "echo 'XTide Error:  STATION_NOT_FOUND' >&2; exit 0"
                                           << true << "XTide Error:  STATION_NOT_FOUND";
        QTest::newRow("no such program") << "exec 2>&1 >/dev/null; ./no-such-tide-here" << true
                                         << "Unable to run tide (exit status 127)";
        QTest::newRow("killed") << "kill -9 $$" << true << "tide stopped unexpectedly.";
    }
    void checkOfAFinishedRun() {
        QFETCH(QString, command);
        TideGetter getter;
        QSignalSpy finished(&getter, &TideGetter::Finished);
        getter.Execute(command);
        QVERIFY(finished.wait(10000));
        const TideRunResult r = TideRunCheck::Check(getter);
        QTEST(r.failed, "failed");
        QTEST(r.message, "message");
    }
};

QUORVEX_TEST_MAIN(TestTideRunCheck)
#include "tst_TideRunCheck.moc"
