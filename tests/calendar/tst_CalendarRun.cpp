// tst_CalendarRun  The calendar run of the window against the stand-in tide: the month chain, the
// controls read afresh, the failures that stop a run, one run at a time, closing mid-run.

#include <unistd.h>

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <cstring>

#include "calendar/CalendarWriter.h"
#include "calendar/QuorvexWindow.h"
#include "calendar/YearList.h"
#include "core/App.h"
#include "support/ClaimHolder.h"
#include "support/FailingClose.h"
#include "support/FailingLocks.h"
#include "support/FileSizeLimit.h"
#include "support/NamedPipe.h"
#include "support/ScriptedDialogs.h"
#include "support/TestMain.h"
#include "support/XTideFixture.h"

namespace {

const QString kSeattle = QStringLiteral("Seattle, Puget Sound, Washington");
const QString kPortAngeles = QStringLiteral("Port Angeles, Strait Of Juan De Fuca, Washington");
constexpr int kRunTimeout = 20000;

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The month prefixes of the plain event lines of a file, in order, each once.
QStringList MonthsOf(const QByteArray& plain) {
    QStringList months;
    for (const QByteArray& line : plain.split('\n')) {
        if (line.size() < 7) continue;
        const QString month = QString::fromLatin1(line.left(7));
        if (months.isEmpty() || months.last() != month) months << month;
    }
    return months;
}

// The first tide line of a recorded month of the stand-in's data.
QByteArray FirstTideLine(const QString& file) {
    const QByteArray text = ReadFile(QStringLiteral(QUORVEX_TEST_FIXTURES "/xtide/") + file);
    for (const QByteArray& line : text.split('\n'))
        if (line.startsWith("20") && line.contains(" feet ")) return line;
    return QByteArray();
}

// The plain calendar line of a recorded line: "YYYY-MM-DD" and the text after the zone.
QByteArray PlainLine(const QByteArray& recorded) {
    const int zoneEnd = recorded.indexOf(' ', 20);
    return recorded.left(10) + ' ' + recorded.mid(zoneEnd).trimmed() + '\n';
}

}  // namespace

class TestCalendarRun : public QObject {
    Q_OBJECT
    App* app = nullptr;
    XTideFixture* fixture = nullptr;
    QTemporaryDir* out = nullptr;
    QPointer<QuorvexWindow> window;

    QuorvexWindow* MakeWindow(const QString& location = kSeattle) {
        window = new QuorvexWindow(QuorvexWindow::OpenMode::Deferred);
        window->Location->setText(location);
        return window;
    }
    void SetPeriod(int firstMonth, int firstYear, int lastMonth, int lastYear) {
        window->FirstMonth->setCurrentIndex(firstMonth - 1);
        window->FirstYear->setCurrentIndex(YearList::IndexOf(firstYear, window->FirstYear));
        window->LastMonth->setCurrentIndex(lastMonth - 1);
        window->LastYear->setCurrentIndex(YearList::IndexOf(lastYear, window->LastYear));
    }
    QString OutPath(const QString& name) const { return out->filePath(name); }

  private slots:
    void init() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        app = new App;
        fixture = new XTideFixture;
        QVERIFY(fixture->isValid());
        app->xtideFolder = fixture->xtideFolder();
        out = new QTemporaryDir;
    }
    void cleanup() {
        delete window;
        fixture->clearFailure();
        delete fixture;
        delete out;
        delete app;
        QTest::qWait(0);  // let released getters go
    }

    // Months are computed one by one in calendar order, across the year's end; a last month
    // before the first still computes the first; a last year with no row selected reads as 0.
    void monthChain_data() {
        QTest::addColumn<QList<int>>("period");  // first month, year, last month, year
        QTest::addColumn<bool>("sample");        // the two-year sample data
        QTest::addColumn<QStringList>("months");
        QTest::newRow("one month")
            << QList<int>{3, 2026, 3, 2026} << false << QStringList{"2026-03"};
        QTest::newRow("three months") << QList<int>{3, 2026, 5, 2026} << false
                                      << QStringList{"2026-03", "2026-04", "2026-05"};
        QTest::newRow("across the year") << QList<int>{11, 2026, 2, 2027} << true
                                         << QStringList{"2026-11", "2026-12", "2027-01", "2027-02"};
        QTest::newRow("last before first")
            << QList<int>{5, 2026, 3, 2026} << false << QStringList{"2026-05"};
        QTest::newRow("no last year")
            << QList<int>{4, 2026, 5, -1} << false << QStringList{"2026-04"};
    }
    void monthChain() {
        QFETCH(QList<int>, period);
        QFETCH(bool, sample);
        QFETCH(QStringList, months);
        std::unique_ptr<XTideFixture> sampleFixture;
        if (sample) {
            sampleFixture = std::make_unique<XTideFixture>(XTideFixture::sampleDataFolder());
            app->xtideFolder = sampleFixture->xtideFolder();
        }
        ScriptedDialogs dialogs;
        MakeWindow();
        SetPeriod(period[0], period[1], period[2], std::max(period[3], 2008));
        if (period[3] < 0) window->LastYear->setCurrentIndex(-1);
        window->OutputFormat->setCurrentIndex(-1);  // plain lines: the month starts each line
        window->OutputPath->setText(OutPath("plain.txt"));
        window->ComputeButton_Action();
        QVERIFY(window->IsRunning());
        QTRY_COMPARE_WITH_TIMEOUT(window->Status->text(), QStringLiteral("Done"), kRunTimeout);
        QVERIFY(dialogs.messages.isEmpty());
        QCOMPARE(MonthsOf(ReadFile(OutPath("plain.txt"))), months);
        QVERIFY(!window->IsRunning());
        QVERIFY(window->ComputeButton->isEnabled());
    }

    // Events of a month's last minute and of the next month's first, across the end of a year:
    // each is written once, in its own month; a first-minute event that repeats the last minute
    // before it (the January moonset, the February low tide) is not written again.
    void monthEdgesEachOnce() {
        XTideFixture edges(QStringLiteral(QUORVEX_TEST_FIXTURES "/month-edges"));
        QVERIFY(edges.isValid());
        app->xtideFolder = edges.xtideFolder();
        ScriptedDialogs dialogs;
        MakeWindow(QStringLiteral("The Battery, New York Harbor, New York"));
        SetPeriod(12, 2026, 2, 2027);
        for (QCheckBox* box :
             {window->SunriseSunset, window->MoonriseMoonset, window->ShowMoonPhases})
            box->setChecked(true);
        window->OutputPath->setText(OutPath("edges.ics"));
        window->ComputeButton_Action();
        QTRY_COMPARE_WITH_TIMEOUT(window->Status->text(), QStringLiteral("Done"), kRunTimeout);
        QVERIFY(dialogs.messages.isEmpty());
        const QByteArray ics = ReadFile(OutPath("edges.ics"));
        QCOMPARE(ics.count("BEGIN:VEVENT"), 23);  // every event of the three recorded months
        QCOMPARE(ics.count("SUMMARY:Moonset at 23:59\nDTSTART:20261231T235900\n"), 1);
        QCOMPARE(ics.count("SUMMARY:4.48 feet  High Tide at 00:00\nDTSTART:20270101T000000\n"), 1);
        QCOMPARE(ics.count("SUMMARY:-0.21 feet  Low Tide at 23:59\nDTSTART:20270131T235900\n"), 1);
        QCOMPARE(ics.count("DTSTART:20270201T"), 5);
        QCOMPARE(ics.count("SUMMARY:Moonset at 00:00"), 0);
        QCOMPARE(ics.count("DTSTART:20270201T000000"), 0);
    }

    // One event that the runs of two months both print, at 11:59 PM and a minute later at
    // 12:00 AM, is written once, as the earlier month's; whatever the filters, the later line is
    // never written in its place.
    void eventOfTwoRunsWrittenOnce_data() {
        QTest::addColumn<QString>("location");
        QTest::addColumn<QList<int>>("period");  // first month, year, last month, year
        QTest::addColumn<int>("lowTideBefore");  // LowTideBefore index; -1: as the window has it
        QTest::addColumn<QByteArray>("lastMinute");
        QTest::addColumn<int>("lastMinuteEvents");
        QTest::addColumn<QByteArray>("firstMinute");
        const QString etolin = QStringLiteral("Etolin Point, 8.5 miles west of, Alaska Current");
        QTest::newRow("recorded Max Ebb, October to November")
            << etolin << QList<int>{10, 2026, 11, 2026} << -1
            << QByteArray("SUMMARY:-3.39 knots  Max Ebb at 23:59\nDTSTART:20261031T235900\n") << 1
            << QByteArray("DTSTART:20261101T000000");
        QTest::newRow("Max Ebb across the end of a year")
            << etolin << QList<int>{12, 2026, 1, 2027} << -1
            << QByteArray("SUMMARY:-3.52 knots  Max Ebb at 23:59\nDTSTART:20261231T235900\n") << 1
            << QByteArray("DTSTART:20270101T000000");
        QTest::newRow("low tide that the filter keeps out at 11:59 PM")
            << QStringLiteral("The Battery, New York Harbor, New York")
            << QList<int>{1, 2027, 2, 2027} << 23 << QByteArray("DTSTART:20270131T235900") << 0
            << QByteArray("DTSTART:20270201T000000");
    }
    void eventOfTwoRunsWrittenOnce() {
        QFETCH(QString, location);
        QFETCH(QList<int>, period);
        QFETCH(int, lowTideBefore);
        QFETCH(QByteArray, lastMinute);
        QFETCH(int, lastMinuteEvents);
        QFETCH(QByteArray, firstMinute);
        XTideFixture edges(QStringLiteral(QUORVEX_TEST_FIXTURES "/month-edges"));
        QVERIFY(edges.isValid());
        app->xtideFolder = edges.xtideFolder();
        ScriptedDialogs dialogs;
        MakeWindow(location);
        SetPeriod(period[0], period[1], period[2], period[3]);
        if (lowTideBefore >= 0) window->LowTideBefore->setCurrentIndex(lowTideBefore);
        window->OutputPath->setText(OutPath("edges.ics"));
        window->ComputeButton_Action();
        QTRY_COMPARE_WITH_TIMEOUT(window->Status->text(), QStringLiteral("Done"), kRunTimeout);
        QVERIFY(dialogs.messages.isEmpty());
        const QByteArray ics = ReadFile(OutPath("edges.ics"));
        QVERIFY(ics.count("BEGIN:VEVENT") > 2);
        QCOMPARE(ics.count(lastMinute), lastMinuteEvents);
        QCOMPARE(ics.count(firstMinute), 0);
    }

    // LastYear is read at the end of every month: a change during the run moves its end, earlier
    // or later.
    void lastYearChangedDuringTheRun_data() {
        QTest::addColumn<int>("lastMonth");
        QTest::addColumn<int>("lastYear");
        QTest::addColumn<int>("changedTo");
        QTest::addColumn<QStringList>("months");
        QTest::newRow("earlier") << 12 << 2027 << 2026 << QStringList{"2026-11", "2026-12"};
        QTest::newRow("later") << 1 << 2026 << 2027 << QStringList{"2026-11", "2026-12", "2027-01"};
    }
    void lastYearChangedDuringTheRun() {
        QFETCH(int, lastMonth);
        QFETCH(int, lastYear);
        QFETCH(int, changedTo);
        QFETCH(QStringList, months);
        XTideFixture sample(XTideFixture::sampleDataFolder());
        app->xtideFolder = sample.xtideFolder();
        ScriptedDialogs dialogs;
        MakeWindow();
        SetPeriod(11, 2026, lastMonth, lastYear);
        window->OutputFormat->setCurrentIndex(-1);
        window->OutputPath->setText(OutPath("plain.txt"));
        QTimer watch;
        bool changed = false;
        connect(&watch, &QTimer::timeout, this, [&] {
            if (!changed && window &&
                window->Status->text() == QStringLiteral("11/2026 computed")) {
                changed = true;
                window->LastYear->setCurrentIndex(YearList::IndexOf(changedTo, window->LastYear));
            }
        });
        watch.start(0);
        window->ComputeButton_Action();
        QTRY_COMPARE_WITH_TIMEOUT(window->Status->text(), QStringLiteral("Done"), kRunTimeout);
        QVERIFY(changed);
        QCOMPARE(MonthsOf(ReadFile(OutPath("plain.txt"))), months);
    }

    // A window that starts a month makes itself App's reportTo, for every month of its run.
    void reportToIsTheWindowStartingAMonth() {
        ScriptedDialogs dialogs;
        QuorvexWindow other(QuorvexWindow::OpenMode::Deferred);
        app->reportTo = &other;
        MakeWindow();
        SetPeriod(3, 2026, 4, 2026);
        window->OutputPath->setText(OutPath("cal.ics"));
        QTimer watch;
        bool handedOver = false;
        connect(&watch, &QTimer::timeout, this, [&] {
            if (!handedOver && window &&
                window->Status->text() == QStringLiteral("03/2026 computed")) {
                handedOver = true;  // as when another window starts a month meanwhile
                app->reportTo = &other;
            }
        });
        watch.start(0);
        window->ComputeButton_Action();
        QCOMPARE(app->reportTo.data(), window.data());
        QTRY_COMPARE_WITH_TIMEOUT(window->Status->text(), QStringLiteral("Done"), kRunTimeout);
        QVERIFY(handedOver);
        QCOMPARE(app->reportTo.data(), window.data());  // April took the place back
        QVERIFY(ReadFile(OutPath("cal.ics")).contains("DTSTART:202604"));
    }

    // An existing file is replaced, not appended to.
    void existingFileReplaced() {
        ScriptedDialogs dialogs;
        QFile old(OutPath("cal.ics"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x'));
        old.close();
        MakeWindow();
        SetPeriod(4, 2026, 4, 2026);
        window->OutputPath->setText(OutPath("cal.ics"));
        window->ComputeButton_Action();
        QTRY_COMPARE_WITH_TIMEOUT(window->Status->text(), QStringLiteral("Done"), kRunTimeout);
        const QByteArray ics = ReadFile(OutPath("cal.ics"));
        QVERIFY(ics.startsWith("BEGIN:VCALENDAR\n"));
        QVERIFY(ics.endsWith("END:VCALENDAR\n"));
        QVERIFY(!ics.contains('x' + QByteArray(10, 'x')));
    }

    // The path chosen in the dialog the compute button opened is used and shown.
    void computeUsesTheChosenPath() {
        ScriptedDialogs dialogs;
        MakeWindow();
        SetPeriod(3, 2026, 3, 2026);
        dialogs.Answer(OutPath("chosen.ics"));
        window->ComputeButton_Action();
        QCOMPARE(window->OutputPath->text(), OutPath("chosen.ics"));
        QTRY_COMPARE_WITH_TIMEOUT(window->Status->text(), QStringLiteral("Done"), kRunTimeout);
        QVERIFY(ReadFile(OutPath("chosen.ics")).contains("DTSTART:20260301T"));
    }

    // Controls are read when used: a change of LastMonth, Location or a filter box during the run
    // applies to the months still to come.
    void controlsReadDuringTheRun() {
        ScriptedDialogs dialogs;
        MakeWindow();
        SetPeriod(3, 2026, 5, 2026);
        window->OutputFormat->setCurrentIndex(-1);
        window->SunriseSunset->setChecked(true);
        window->OutputPath->setText(OutPath("plain.txt"));
        QTimer watch;
        bool changed = false;
        int ticks = 0;  // the timer fires once per line read; change well inside March
        connect(&watch, &QTimer::timeout, this, [&] {
            if (!changed && window &&
                window->Status->text() == QStringLiteral("03/2026 computed") && ++ticks == 30) {
                changed = true;
                window->LastMonth->setCurrentIndex(3);  // April
                window->Location->setText(kPortAngeles);
                window->SunriseSunset->setChecked(false);
            }
        });
        watch.start(0);
        window->ComputeButton_Action();
        QTRY_COMPARE_WITH_TIMEOUT(window->Status->text(), QStringLiteral("Done"), kRunTimeout);
        QVERIFY(changed);
        const QByteArray plain = ReadFile(OutPath("plain.txt"));
        QCOMPARE(MonthsOf(plain), (QStringList{"2026-03", "2026-04"}));
        // April came from Port Angeles and holds no sun events; March holds Seattle's.
        const QByteArray april = plain.mid(plain.indexOf("2026-04"));
        QVERIFY(plain.left(plain.indexOf("2026-04")).contains("Sunrise"));
        QVERIFY(!april.contains("Sunrise"));
        const QByteArray paLine = FirstTideLine(QStringLiteral("port_angeles_2026-04.stdout"));
        const QByteArray seLine = FirstTideLine(QStringLiteral("seattle_2026-04.stdout"));
        QVERIFY(!paLine.isEmpty() && !seLine.isEmpty());
        QVERIFY(april.contains(PlainLine(paLine)));
        QVERIFY(!april.contains(PlainLine(seLine)));
    }

    // A run writes its whole file in the format it started with: the format popup is disabled
    // while it goes, and a format set meanwhile (as a settings document does) waits for the next
    // run.
    void formatKeptForTheRun_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("switchedTo");
        QTest::addColumn<QByteArray>("begins");
        QTest::addColumn<QByteArray>("ends");
        QTest::addColumn<QByteArray>("foreign");  // what the other format would have written
        QTest::addColumn<QByteArray>("april");    // an April event in the run's format
        QTest::newRow("iCal, then RSS")
            << 0 << 3 << QByteArray("BEGIN:VCALENDAR\n") << QByteArray("\nEND:VCALENDAR\n")
            << QByteArray("<item>") << QByteArray("DTSTART:202604");
        QTest::newRow("RSS, then iCal")
            << 3 << 0 << QByteArray("<?xml ") << QByteArray("</item>\n</channel>\n</rss>\n")
            << QByteArray("BEGIN:VEVENT") << QByteArray(" Apr 2026 ");
        QTest::newRow("Palm Desktop, then comma separated")
            << 1 << 2 << QByteArray() << QByteArray("Not Private\xfd") << QByteArray("\r")
            << QByteArray(
                   "\xfc"
                   "4/");
    }
    void formatKeptForTheRun() {
        QFETCH(int, format);
        QFETCH(int, switchedTo);
        QFETCH(QByteArray, begins);
        QFETCH(QByteArray, ends);
        QFETCH(QByteArray, foreign);
        QFETCH(QByteArray, april);
        ScriptedDialogs dialogs;
        MakeWindow();
        SetPeriod(3, 2026, 4, 2026);
        window->OutputFormat->setCurrentIndex(format);
        window->OutputPath->setText(OutPath("kept"));
        QTimer watch;
        bool switched = false;
        int ticks = 0;
        connect(&watch, &QTimer::timeout, this, [&] {
            if (!switched && window &&
                window->Status->text() == QStringLiteral("03/2026 computed") && ++ticks == 30) {
                switched = true;
                QVERIFY(!window->OutputFormat->isEnabled());
                window->OutputFormat->setCurrentIndex(switchedTo);
            }
        });
        watch.start(0);
        window->ComputeButton_Action();
        QVERIFY(!window->OutputFormat->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(window->Status->text(), QStringLiteral("Done"), kRunTimeout);
        QVERIFY(switched);
        const QByteArray written = ReadFile(OutPath("kept"));
        QVERIFY2(written.startsWith(begins), written.left(80).constData());
        QVERIFY2(written.endsWith(ends), written.right(80).constData());
        QVERIFY(!written.contains(foreign));
        QVERIFY(written.contains(april));
        QVERIFY(window->OutputFormat->isEnabled());
        QCOMPARE(window->OutputFormat->currentIndex(), switchedTo);  // for the next run
    }

    // A settings document opened during a run sets the controls the remaining months read; the
    // run keeps writing the file it opened in its format, whatever path and format the document
    // names.
    void settingsOpenedDuringTheRun() {
        ScriptedDialogs dialogs;
        const QString settings = OutPath("other.quorvex");
        {
            QuorvexWindow other(QuorvexWindow::OpenMode::Deferred);
            other.Location->setText(kPortAngeles);
            other.FirstMonth->setCurrentIndex(0);
            other.FirstYear->setCurrentIndex(YearList::IndexOf(2026, other.FirstYear));
            other.LastMonth->setCurrentIndex(3);  // April
            other.LastYear->setCurrentIndex(YearList::IndexOf(2026, other.LastYear));
            other.OutputFormat->setCurrentIndex(1);
            other.OutputPath->setText(OutPath("elsewhere.txt"));
            other.SaveFile(settings);
            QVERIFY(QFile::exists(settings));
        }
        MakeWindow();
        SetPeriod(3, 2026, 5, 2026);
        window->OutputPath->setText(OutPath("run.ics"));
        QTimer watch;
        bool opened = false;
        int ticks = 0;
        connect(&watch, &QTimer::timeout, this, [&] {
            if (!opened && window && window->Status->text() == QStringLiteral("03/2026 computed") &&
                ++ticks == 30) {
                opened = true;
                window->OpenFile(settings);
            }
        });
        watch.start(0);
        window->ComputeButton_Action();
        QTRY_COMPARE_WITH_TIMEOUT(window->Status->text(), QStringLiteral("Done"), kRunTimeout);
        QVERIFY(opened);
        QCOMPARE(window->Location->text(), kPortAngeles);
        QCOMPARE(window->OutputPath->text(), OutPath("elsewhere.txt"));
        QVERIFY(!QFile::exists(OutPath("elsewhere.txt")));
        const QByteArray ics = ReadFile(OutPath("run.ics"));
        QVERIFY(ics.contains("DTSTART:20260430T"));
        QVERIFY(!ics.contains("DTSTART:202605"));  // the document's last month is April
        QVERIFY(ics.endsWith("END:VCALENDAR\n"));
        QVERIFY(!ics.contains('\xfd'));  // no Palm Desktop record
        QCOMPARE(window->OutputFormat->currentText(), QStringLiteral("Palm Desktop"));
        QVERIFY(dialogs.messages.isEmpty());
    }

    // While a run goes on the compute button is disabled and a second start is refused.
    void secondRunRefused() {
        ScriptedDialogs dialogs;
        fixture->setFailure("sleep:0.3");
        MakeWindow();
        SetPeriod(3, 2026, 4, 2026);
        window->OutputPath->setText(OutPath("first.ics"));
        window->ComputeButton_Action();
        QVERIFY(window->IsRunning());
        QVERIFY(!window->ComputeButton->isEnabled());
        window->OutputPath->setText(OutPath("second.ics"));
        window->ComputeButton_Action();
        QTest::mouseClick(window->ComputeButton, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(window->Status->text(), QStringLiteral("Done"), kRunTimeout);
        QVERIFY(!QFile::exists(OutPath("second.ics")));
        const QByteArray ics = ReadFile(OutPath("first.ics"));
        QCOMPARE(ics.count("BEGIN:VCALENDAR"), 1);
        QCOMPARE(ics.count("END:VCALENDAR"), 1);
        QVERIFY(ics.contains("DTSTART:20260430T"));
        QVERIFY(window->ComputeButton->isEnabled());
        QVERIFY(dialogs.messages.isEmpty());
    }

    // A second window may not write the file a run of another window is writing, under any
    // name of it: its press is refused before the file is touched. Once the first run ends,
    // however it ends, the file is free again. This holds as well on a file system whose locks
    // fail (NFS without its lock service: ENOLCK, or EBADF).
    void fileOfAnotherRunRefused_data() {
        QTest::addColumn<QString>("secondPath");  // relative to the output folder
        QTest::addColumn<QString>("firstEnds");   // "done", "closed" or "failed"
        QTest::addColumn<int>("lockError");       // what every lock call fails with; 0: none
        QTest::newRow("same path, first run done") << "cal.ics"
                                                   << "done" << 0;
        QTest::newRow("symbolic link, first window closed") << "link.ics"
                                                            << "closed" << 0;
        QTest::newRow("other spelling, first run failed") << "sub/..//cal.ics"
                                                          << "failed" << 0;
        QTest::newRow("hard link, first run done") << "hard.ics"
                                                   << "done" << 0;
        QTest::newRow("same path, no lock service") << "cal.ics"
                                                    << "done" << ENOLCK;
        QTest::newRow("hard link, no lock service, first window closed") << "hard.ics"
                                                                         << "closed" << ENOLCK;
        QTest::newRow("symbolic link, lock refused") << "link.ics"
                                                     << "done" << EBADF;
    }
    void fileOfAnotherRunRefused() {
        QFETCH(QString, secondPath);
        QFETCH(QString, firstEnds);
        QFETCH(int, lockError);
        std::unique_ptr<FailingLocks> locks;
        if (lockError != 0) locks = std::make_unique<FailingLocks>(lockError);
        ScriptedDialogs dialogs;
        QVERIFY(QDir().mkpath(OutPath("sub")));
        QVERIFY(QFile::link(OutPath("cal.ics"), OutPath("link.ics")));
        {
            QFile earlier(OutPath("cal.ics"));
            QVERIFY(earlier.open(QIODevice::WriteOnly));
        }
        QCOMPARE(::link(QFile::encodeName(OutPath("cal.ics")).constData(),
                        QFile::encodeName(OutPath("hard.ics")).constData()),
                 0);
        fixture->setFailure("sleep:0.3");
        MakeWindow();
        SetPeriod(3, 2026, 4, 2026);
        window->OutputPath->setText(OutPath("cal.ics"));
        window->ComputeButton_Action();
        QVERIFY(window->IsRunning());
        if (firstEnds == QLatin1String("failed")) fixture->setFailure("sleep:0.3,exit:3");
        const QByteArray header = ReadFile(OutPath("cal.ics"));
        QVERIFY(header.startsWith("BEGIN:VCALENDAR\n"));

        // Spelled as it stands, not cleaned.
        const QString secondCaption = out->path() + QLatin1Char('/') + secondPath;
        QPointer<QuorvexWindow> second = new QuorvexWindow(QuorvexWindow::OpenMode::Deferred);
        second->Location->setText(kPortAngeles);
        second->OutputPath->setText(secondCaption);
        second->ComputeButton_Action();
        QCOMPARE(
            dialogs.messages,
            QStringList{QStringLiteral("Unable to save to file ") +
                        QFileInfo(secondCaption).absoluteFilePath() +
                        QStringLiteral(": a calendar run of another window is writing to it")});
        QVERIFY(!second->IsRunning());
        QVERIFY(second->ComputeButton->isEnabled());
        QCOMPARE(ReadFile(OutPath("cal.ics")), header);  // neither truncated nor written

        if (firstEnds == QLatin1String("done")) {
            QTRY_COMPARE_WITH_TIMEOUT(window->Status->text(), QStringLiteral("Done"), kRunTimeout);
        } else if (firstEnds == QLatin1String("closed")) {
            window->close();
            QTRY_VERIFY(window.isNull());
        } else {
            QTRY_COMPARE_WITH_TIMEOUT(dialogs.messages.size(), 2, kRunTimeout);
            QVERIFY(!window->IsRunning());
        }
        fixture->clearFailure();
        second->ComputeButton_Action();
        QVERIFY(second->IsRunning());
        QTRY_COMPARE_WITH_TIMEOUT(second->Status->text(), QStringLiteral("Done"), kRunTimeout);
        const QByteArray ics = ReadFile(OutPath("cal.ics"));
        QCOMPARE(ics.count("BEGIN:VCALENDAR"), 1);
        QCOMPARE(ics.count("END:VCALENDAR"), 1);
        QVERIFY(ics.contains("Port Angeles"));
        delete second;
    }

    // A month far larger than any real one (50 MB of lines of the day before it, ahead of its
    // own) is still read whole: the calendar is the one the month gives without them.
    void largeMonthCompletes() {
        ScriptedDialogs dialogs;
        MakeWindow();
        SetPeriod(3, 2026, 3, 2026);
        window->OutputFormat->setCurrentIndex(-1);
        window->SunriseSunset->setChecked(true);
        window->OutputPath->setText(OutPath("plain.txt"));
        window->ComputeButton_Action();
        QTRY_COMPARE_WITH_TIMEOUT(window->Status->text(), QStringLiteral("Done"), kRunTimeout);
        const QByteArray plain = ReadFile(OutPath("plain.txt"));
        QVERIFY(plain.count('\n') > 100);

        fixture->setFailure("pad:50");
        window->Status->clear();
        window->OutputPath->setText(OutPath("padded.txt"));
        window->ComputeButton_Action();
        QTRY_COMPARE_WITH_TIMEOUT(window->Status->text(), QStringLiteral("Done"), 60000);
        QVERIFY(dialogs.messages.isEmpty());
        QCOMPARE(ReadFile(OutPath("padded.txt")), plain);
    }

    // Runs of two Quorvex processes: a file that the other process's run is writing is refused
    // under any name of it, as held by another run (the lock cannot tell which kind), and that
    // process sees this window's claim while its run goes on.
    void fileOfAnotherProcessRefused() {
        ScriptedDialogs dialogs;
        {
            QFile earlier(OutPath("cal.ics"));
            QVERIFY(earlier.open(QIODevice::WriteOnly));
            earlier.write("another process's calendar\n");
        }
        QCOMPARE(::link(QFile::encodeName(OutPath("cal.ics")).constData(),
                        QFile::encodeName(OutPath("hard.ics")).constData()),
                 0);
        auto other = std::make_unique<ClaimHolder>(ClaimHolder::Kind::File, OutPath("cal.ics"));
        QCOMPARE(other->Answer(), QByteArray("taken"));
        MakeWindow();
        SetPeriod(3, 2026, 3, 2026);
        window->OutputPath->setText(OutPath("hard.ics"));
        window->ComputeButton_Action();
        QCOMPARE(dialogs.messages,
                 QStringList{QStringLiteral("Unable to save to file ") + OutPath("hard.ics") +
                             QStringLiteral(": another run is writing to it")});
        QVERIFY(!window->IsRunning());
        QCOMPARE(ReadFile(OutPath("cal.ics")), QByteArray("another process's calendar\n"));

        other.reset();  // that run has ended
        fixture->setFailure("sleep:0.3");
        window->ComputeButton_Action();
        QVERIFY(window->IsRunning());
        QCOMPARE(ClaimHolder(ClaimHolder::Kind::File, OutPath("cal.ics")).Answer(),
                 QByteArray("held"));
        QTRY_COMPARE_WITH_TIMEOUT(window->Status->text(), QStringLiteral("Done"), kRunTimeout);
        QCOMPARE(ClaimHolder(ClaimHolder::Kind::File, OutPath("cal.ics")).Answer(),
                 QByteArray("taken"));
        QCOMPARE(ReadFile(OutPath("cal.ics")).count("END:VCALENDAR"), 1);
        QCOMPARE(dialogs.messages.size(), 1);
    }

    // Closing the window ends its run, whether tide is still running or the window is reading a
    // month: what was written stays, no footer follows, nothing reaches the closed window.
    void closingEndsTheRun_data() {
        QTest::addColumn<bool>("whileReading");
        QTest::newRow("tide running") << false;
        QTest::newRow("reading a month") << true;
    }
    void closingEndsTheRun() {
        QFETCH(bool, whileReading);
        ScriptedDialogs dialogs;
        if (!whileReading) fixture->setFailure("sleep:0.5");
        MakeWindow();
        SetPeriod(3, 2026, 5, 2026);
        window->OutputPath->setText(OutPath("closed.ics"));
        QTimer watch;
        int ticks = 0;  // the timer fires once per line read; close well inside March
        if (whileReading) {
            connect(&watch, &QTimer::timeout, this, [&] {
                if (window && window->Status->text() == QStringLiteral("03/2026 computed") &&
                    ++ticks == 30)
                    window->close();
            });
            watch.start(0);
        }
        window->ComputeButton_Action();
        if (!whileReading) {
            QTest::qWait(50);
            window->close();
        }
        QTRY_VERIFY_WITH_TIMEOUT(window.isNull(), kRunTimeout);
        QTest::qWait(700);  // a month that was still coming would have arrived by now
        const QByteArray ics = ReadFile(OutPath("closed.ics"));
        QVERIFY(ics.startsWith("BEGIN:VCALENDAR\n"));  // closed, so on disk
        QVERIFY(!ics.contains("END:VCALENDAR"));
        QVERIFY(!ics.contains("DTSTART:202604"));
        if (whileReading) QVERIFY(ics.contains("BEGIN:VEVENT"));
        QVERIFY(dialogs.messages.isEmpty());
        QVERIFY(app->reportTo.isNull());
    }

    // A month that fails stops the run with tide's own words: no footer, no "Done", the file
    // closed with what it holds, and the window ready for the next run.
    void failedMonthStops_data() {
        QTest::addColumn<QByteArray>("failure");
        QTest::addColumn<QString>("location");
        QTest::addColumn<QString>("message");  // a part of the message shown
        QTest::newRow("harmonics text")
            << QByteArray("harmonics") << kSeattle << "harmonics.tcd: No such file or directory";
        QTest::newRow("exit status") << QByteArray("exit:3") << kSeattle << "exit status 3";
        QTest::newRow("unknown station") << QByteArray() << "Nowhere Bay"
                                         << "Error";
        QTest::newRow("no tide") << QByteArray("remove") << kSeattle << "127";
        QTest::newRow("output without end")
            << QByteArray("flood") << kSeattle << "printed more than 64 MiB for one month";
        QTest::newRow("quotes in the label")
            << QByteArray() << "x\"; touch PWNED; \"$(touch PWNED)`touch PWNED`"
            << "Error";
    }
    void failedMonthStops() {
        QFETCH(QByteArray, failure);
        QFETCH(QString, location);
        QFETCH(QString, message);
        ScriptedDialogs dialogs;
        if (failure == "remove")
            QVERIFY(fixture->removeTide());
        else if (!failure.isEmpty())
            fixture->setFailure(failure);
        MakeWindow(location);
        SetPeriod(3, 2026, 5, 2026);
        window->OutputPath->setText(OutPath("failed.ics"));
        window->ComputeButton_Action();
        QTRY_COMPARE_WITH_TIMEOUT(dialogs.messages.size(), 1, kRunTimeout);
        QVERIFY2(dialogs.messages.first().contains(message), qPrintable(dialogs.messages.first()));
        QVERIFY(
            !dialogs.messages.first().contains(QStringLiteral("DISCLAIMER"), Qt::CaseInsensitive));
        QCOMPARE(window->Status->text(), QStringLiteral("03/2026 computed"));
        QVERIFY(!window->IsRunning());
        QVERIFY(window->ComputeButton->isEnabled());
        QVERIFY(window->OutputFormat->isEnabled());
        const QByteArray ics = ReadFile(OutPath("failed.ics"));
        QVERIFY(ics.startsWith("BEGIN:VCALENDAR\n"));
        QVERIFY(!ics.contains("BEGIN:VEVENT"));
        QVERIFY(!ics.contains("END:VCALENDAR"));
        QVERIFY(!QFile::exists(fixture->xtideFolder() + QStringLiteral("/PWNED")));
        QVERIFY(!QFile::exists(QDir::current().filePath(QStringLiteral("PWNED"))));

        // The next run starts afresh and replaces the file.
        fixture->clearFailure();
        if (failure == "remove") return;
        window->Location->setText(kSeattle);
        SetPeriod(3, 2026, 3, 2026);
        window->ComputeButton_Action();
        QTRY_COMPARE_WITH_TIMEOUT(window->Status->text(), QStringLiteral("Done"), kRunTimeout);
        QCOMPARE(ReadFile(OutPath("failed.ics")).count("BEGIN:VCALENDAR"), 1);
    }

    // A write that fails (a full disk, a pipe whose reader has left, a file system that reports
    // its delayed write error at the close) is reported with the file being written and the
    // system's reason, also where the disk took part of the bytes, and stops the run; it never
    // ends in "Done" and the window stays live. The output path may have been changed since the
    // run began.
    void writeFailureStops_data() {
        QTest::addColumn<QString>("file");   // "" for a file of the run's folder
        QTest::addColumn<QString>("fault");  // "disk", "pipe" or "close"
        QTest::addColumn<int>("sizeLimit");  // bytes a file may grow to; 0 for no limit
        QTest::addColumn<int>("reason");     // errno
        QTest::newRow("refused at once") << "/dev/full"
                                         << "disk" << 0 << ENOSPC;
        QTest::newRow("taken in part in a month, caption changed") << ""
                                                                   << "disk" << 600 << EFBIG;
        QTest::newRow("pipe whose reader leaves") << ""
                                                  << "pipe" << 0 << EPIPE;
        QTest::newRow("error at the close") << ""
                                            << "close" << 0 << EIO;
    }
    void writeFailureStops() {
        QFETCH(QString, file);
        QFETCH(QString, fault);
        QFETCH(int, sizeLimit);
        QFETCH(int, reason);
        if (!file.isEmpty() && !QFileInfo::exists(file)) QSKIP("no /dev/full here");
        if (file.isEmpty()) file = OutPath("full.ics");
        ScriptedDialogs dialogs;
        MakeWindow();
        SetPeriod(3, 2026, 5, 2026);
        window->SunriseSunset->setChecked(true);
        window->MoonriseMoonset->setChecked(true);
        window->OutputPath->setText(file);
        {
            std::unique_ptr<FileSizeLimit> limit;
            if (sizeLimit > 0) {
                limit = std::make_unique<FileSizeLimit>(sizeLimit);
                QVERIFY(limit->isValid());
            }
            std::unique_ptr<NamedPipe> pipe;
            if (fault == QLatin1String("pipe")) {
                pipe = std::make_unique<NamedPipe>(file, NamedPipe::Reader::Now);
                QVERIFY(pipe->isValid());
            }
            std::unique_ptr<FailingClose> close;
            if (fault == QLatin1String("close"))
                close = std::make_unique<FailingClose>(QFileInfo(file).fileName());
            window->ComputeButton_Action();
            if (sizeLimit > 0) {
                QVERIFY(window->IsRunning());
                window->OutputPath->setText(OutPath("chosen later.ics"));
            }
            if (pipe) pipe->CloseReader();  // the reader has read the header and leaves
            QTRY_COMPARE_WITH_TIMEOUT(dialogs.messages.size(), 1, kRunTimeout);
        }
        QCOMPARE(dialogs.messages.first(), QStringLiteral("Unable to write to file ") + file +
                                               QStringLiteral(": ") +
                                               QString::fromLocal8Bit(strerror(reason)));
        QVERIFY(!window->IsRunning());
        QVERIFY(window->ComputeButton->isEnabled());
        QVERIFY(window->OutputFormat->isEnabled());
        QTest::qWait(300);
        QVERIFY(window->Status->text() != QStringLiteral("Done"));
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(!QFile::exists(OutPath("chosen later.ics")));
    }

    // A disk that fills during the run: the header went through, the first month's entries no
    // longer fit. The run stops with its message within that month, whether a few entries wait
    // for the month's end or a month's worth overflows the buffer before it.
    void refusedWriteStopsWithinItsMonth_data() {
        QTest::addColumn<bool>("everyEvent");
        QTest::newRow("moon phases only") << false;
        QTest::newRow("every event") << true;
    }
    void refusedWriteStopsWithinItsMonth() {
        QFETCH(bool, everyEvent);
        ScriptedDialogs dialogs;
        MakeWindow();
        SetPeriod(3, 2026, 5, 2026);
        window->ShowMoonPhases->setChecked(true);
        for (QCheckBox* box : {window->SunriseSunset, window->MoonriseMoonset,
                               window->IncludeHighTides, window->IncludeLowTides})
            box->setChecked(everyEvent);
        window->OutputPath->setText(OutPath("limited.ics"));
        QBuffer header;
        header.open(QIODevice::WriteOnly);
        CalendarWriter(&header).WriteHeader(QStringLiteral("iCal"), kSeattle);
        const qint64 limit = header.size() + 100;  // March's four phases take some 300 bytes
        FileSizeLimit disk(limit);
        if (!disk.isValid()) QSKIP("the file size limit cannot be set here");

        window->ComputeButton_Action();
        QVERIFY(window->IsRunning());
        QTRY_VERIFY_WITH_TIMEOUT(!window->IsRunning(), kRunTimeout);
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY2(dialogs.messages.first().startsWith(QStringLiteral("Unable to write to file ") +
                                                     OutPath("limited.ics")),
                 qPrintable(dialogs.messages.first()));
        QCOMPARE(window->Status->text(), QStringLiteral("03/2026 computed"));
        QTest::qWait(300);  // no later month follows
        QCOMPARE(window->Status->text(), QStringLiteral("03/2026 computed"));
        QCOMPARE(dialogs.messages.size(), 1);
        const QByteArray ics = ReadFile(OutPath("limited.ics"));
        QVERIFY(ics.startsWith(header.data()));
        QVERIFY(ics.size() <= limit);
        QVERIFY(window->ComputeButton->isEnabled());
    }
};

QUORVEX_TEST_MAIN(TestCalendarRun)
#include "tst_CalendarRun.moc"
