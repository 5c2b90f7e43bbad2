// Tests of a whole month's page: an expected page built from a short recorded month, two full
// recorded months, tide's error text, months without events, stopping, and write failures.
#include <QBuffer>
#include <QFile>
#include <QTest>

#include "RefusingDevice.h"
#include "htmltables/TideTableMonth.h"
#include "support/TestMain.h"

namespace {

const QString kSeattle = "Seattle, Puget Sound, Washington";
const QString kGreenCell = "<td style=\"color: rgb(51, 204, 0);\">";

QByteArray Fixture(const QString& name) {
    QFile file(QStringLiteral(QUORVEX_TEST_FIXTURES) + "/htmltables/" + name);
    if (!file.open(QIODevice::ReadOnly)) qFatal("missing fixture %s", qPrintable(name));
    return file.readAll();
}

// The expected page's lines with their line feeds: head 1-22, tail 35 lines at the end.
QByteArray ExpectedHead() {
    const QList<QByteArray> lines = Fixture("short-month.html").split('\n');
    return lines.mid(0, 22).join('\n') + '\n';
}
QByteArray ExpectedTail() {
    QList<QByteArray> lines = Fixture("short-month.html").split('\n');
    lines.removeLast();  // after the final line feed
    return lines.mid(lines.size() - 35).join('\n') + '\n';
}

struct Run {
    TideTableMonth::Result result;
    QByteArray page;
    QByteArray csv;
    int periodReads = 0;
    int yields = 0;
};

// March 2009 of a February-April period, margin 60 minutes, maximum 1 ft, with a csv list.
// The yield says stop at call `stopAt` (0: never).
Run Write(const QString& output, const QString& location = kSeattle, int stopAt = 0,
          int margin = 60, float maximum = 1.0f) {
    Run run;
    QBuffer page, csv;
    page.open(QIODevice::WriteOnly);
    csv.open(QIODevice::WriteOnly);
    TideTableSources sources;
    sources.period = [&] {
        ++run.periodReads;
        return TablePeriod{2, 2009, 4, 2009};
    };
    sources.hiking = [&] { return HikingState{margin, maximum, &csv}; };
    sources.yield = [&] { return ++run.yields != stopAt; };
    run.result = TideTableMonth(3, 2009, "March").WritePage(&page, output, location, sources);
    run.page = page.data();
    run.csv = csv.data();
    return run;
}

}  // namespace

class TestTideTableMonth : public QObject {
    Q_OBJECT
  private slots:
    void names();
    void wholePageOfShortMonth();
    void recordedMonth_data();
    void recordedMonth();
    void tideErrorLeavesHeadOnly();
    void monthWithoutEvents_data();
    void monthWithoutEvents();
    void locationEscaped();
    void periodReadForEachNavigationRow();
    void stopDuringPage_data();
    void stopDuringPage();
    void writeFailure_data();
    void writeFailure();
    void crowdedDay();
};

void TestTideTableMonth::names() {
    const TideTableMonth month(3, 2009, "March");
    QCOMPARE(month.FileName(), QString("2009-03-tides.html"));
    QCOMPARE(month.StatusText(), QString("03/2009 computed"));
    QCOMPARE(month.IndexEntry(),
             QString("<li>Tide Table for <a href=\"2009-03-tides.html\">March 2009</a>\r"));
}

void TestTideTableMonth::wholePageOfShortMonth() {
    const Run run = Write(QString::fromUtf8(Fixture("short-month.txt")));
    QCOMPARE(run.result.outcome, TideTableMonth::Outcome::Written);
    QCOMPARE(run.result.rows, 3);
    QVERIFY(!run.result.csvWriteFailed);
    QCOMPARE(run.page, Fixture("short-month.html"));
    QCOMPARE(run.csv, Fixture("short-month.csv"));
}

void TestTideTableMonth::recordedMonth_data() {
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<int>("green");
    QTest::addColumn<QString>("firstRowCells");
    // Green counts worked out from the recordings for a 2-hour margin and 1 ft.
    QTest::newRow("Seattle, PST/PDT")
        << "seattle-2009-03.txt" << 13
        << "<td></td><td><small><center>01:03 AM<br>4.41 ft</center></small></td>"
           "<td><small><center>07:03 AM<br>11.85 ft</center></small></td>"
           "<td style=\"color: rgb(51, 204, 0);\"><small><center>01:49 PM<br>0.44 "
           "ft</center></small></td>"
           "<td><small><center>08:22 PM<br>9.96 ft</center></small></td>"
           "<td><center>06:49 AM</center></td>";
    // A four-letter zone shifts the heights one column to the right.
    QTest::newRow("Juneau, AKST")
        << "juneau-2009-03.txt" << 10
        << "<td><small><center>03:13 AM<br>17.54 ft</center></small></td>"
           "<td style=\"color: rgb(51, 204, 0);\"><small><center>09:37 AM<br>-0.19 "
           "ft</center></small></td>"
           "<td><small><center>03:43 PM<br>14.63 ft</center></small></td>"
           "<td><small><center>09:36 PM<br>2.41 ft</center></small></td>"
           "<td></td><td><center>06:51 AM</center></td>";
}

void TestTideTableMonth::recordedMonth() {
    QFETCH(QString, fixture);
    QFETCH(int, green);
    const Run run = Write(QString::fromUtf8(Fixture(fixture)), kSeattle, 0, 120, 1.0f);
    QCOMPARE(run.result.outcome, TideTableMonth::Outcome::Written);
    QCOMPARE(run.result.rows, 31);

    const QString page = QString::fromUtf8(run.page);
    QStringList lines = page.split('\n');
    QCOMPARE(lines.takeLast(), QString());
    QCOMPARE(lines.size(), 22 + 31 * 5 + 35);
    QFETCH(QString, firstRowCells);
    QCOMPARE(lines[24], firstRowCells);
    for (int day = 1; day <= 31; ++day) {
        const int at = 22 + (day - 1) * 5;
        QCOMPARE(lines[at + 1], QString("<td><b><center>%1</center></b></td>").arg(day));
        const QString row = lines.mid(at, 5).join('\n');
        QCOMPARE(row.count("<td"), 8);
        QCOMPARE(row.count("</td>"), 8);
        // Every day of the recordings has both sun lines.
        QVERIFY2(!row.contains("<td><center></center></td>"), qPrintable(row));
        QVERIFY2(!row.contains(" 0.00 ft"), qPrintable(row));
    }
    QCOMPARE(page.count(kGreenCell), green);
    QCOMPARE(run.csv.count('\n'), green);
    QVERIFY(run.csv.startsWith("3/1/2009, "));
}

void TestTideTableMonth::tideErrorLeavesHeadOnly() {
    const QString error = "Harmonics.tcd: No such file or directory\nXTide Fatal Error\n";
    const Run run = Write(error);
    QCOMPARE(run.result.outcome, TideTableMonth::Outcome::TideError);
    QCOMPARE(run.result.message, error);
    QCOMPARE(run.page, ExpectedHead());
    QVERIFY(run.csv.isEmpty());
}

void TestTideTableMonth::monthWithoutEvents_data() {
    QTest::addColumn<QString>("output");
    QTest::newRow("empty") << "";
    QTest::newRow("heading lines only") << "Seattle, Puget Sound, Washington\n47.6026 N\n\n";
    QTest::newRow("another month") << "2009-04-01  1:03 AM PST   4.41 feet  Low Tide\n";
    QTest::newRow("last line without separator") << "2009-03-01  1:03 AM PST   4.41 feet  Low Tide";
}

void TestTideTableMonth::monthWithoutEvents() {
    QFETCH(QString, output);
    const Run run = Write(output);
    QCOMPARE(run.result.outcome, TideTableMonth::Outcome::Written);
    QCOMPARE(run.result.rows, 0);
    QCOMPARE(run.page, ExpectedHead() + ExpectedTail());
}

void TestTideTableMonth::locationEscaped() {
    const Run run = Write(QString(), "Smith & Sons <Dock>");
    const QList<QByteArray> lines = run.page.split('\n');
    QCOMPARE(lines[0], QByteArray("<html><head><title>Tide Table for Smith &amp; Sons "
                                  "&lt;Dock&gt;</title></head>"));
    QCOMPARE(lines[2],
             QByteArray("<center><h1>Tide Table for Smith &amp; Sons &lt;Dock&gt;</h1></center>"));
    QVERIFY(!run.page.contains("<Dock>"));
}

void TestTideTableMonth::periodReadForEachNavigationRow() {
    // The period popups change while the month is read: the row below the table shows it.
    QBuffer page;
    page.open(QIODevice::WriteOnly);
    int reads = 0;
    TideTableSources sources;
    sources.period = [&] {
        return ++reads == 1 ? TablePeriod{3, 2009, 4, 2009} : TablePeriod{1, 2009, 3, 2009};
    };
    const auto result =
        TideTableMonth(3, 2009, "March").WritePage(&page, QString(), kSeattle, sources);
    QCOMPARE(result.outcome, TideTableMonth::Outcome::Written);
    QCOMPARE(reads, 2);
    const QList<QByteArray> lines = page.data().split('\n');
    QCOMPARE(lines[7], QByteArray("<td width=20%>&nbsp</td>"));
    QCOMPARE(lines[9], QByteArray("<td width=20%><center><a href=\"2009-04-tides.html\">Next "
                                  "Month</a></center></td>"));
    QCOMPARE(lines[24], QByteArray("<td width=20%><center><a href=\"2009-02-tides.html\">Previous "
                                   "Month</a></center></td>"));
    QCOMPARE(lines[26], QByteArray("<td width=20%>&nbsp</td>"));
}

void TestTideTableMonth::stopDuringPage_data() {
    QTest::addColumn<int>("stopAt");
    QTest::addColumn<int>("rows");
    QTest::newRow("after the first line") << 1 << 0;
    // Lines 1-4 of the fixture are headings and another month; day 1 has eight lines, so the
    // yields of its row are calls 13 to 17.
    QTest::newRow("inside the first row") << 14 << 0;
    QTest::newRow("after the first row") << 18 << 1;
}

void TestTideTableMonth::stopDuringPage() {
    QFETCH(int, stopAt);
    const Run run = Write(QString::fromUtf8(Fixture("short-month.txt")), kSeattle, stopAt);
    QCOMPARE(run.result.outcome, TideTableMonth::Outcome::Stopped);
    QCOMPARE(run.yields, stopAt);
    QFETCH(int, rows);
    QCOMPARE(run.result.rows, rows);
    QVERIFY(!run.page.contains("\n</table>\n"));
    QVERIFY(!run.page.contains("</body>"));
    QVERIFY(run.page.startsWith(ExpectedHead()));
}

void TestTideTableMonth::writeFailure_data() {
    QTest::addColumn<int>("capacity");
    QTest::newRow("nothing fits") << 0;
    QTest::newRow("disk fills in the rows") << int(ExpectedHead().size()) + 200;
    QTest::newRow("disk fills in the tail") << int(Fixture("short-month.html").size()) - 10;
}

void TestTideTableMonth::writeFailure() {
    QFETCH(int, capacity);
    RefusingDevice full(capacity);
    int yields = 0;
    TideTableSources sources;
    sources.period = [] { return TablePeriod{2, 2009, 4, 2009}; };
    sources.hiking = [] { return HikingState{60, 1.0f, nullptr}; };
    sources.yield = [&] { return ++yields > 0; };
    const auto result =
        TideTableMonth(3, 2009, "March")
            .WritePage(&full, QString::fromUtf8(Fixture("short-month.txt")), kSeattle, sources);
    QCOMPARE(result.outcome, TideTableMonth::Outcome::WriteFailed);
    QCOMPARE(result.message, QString("No space left on device"));
    QVERIFY(full.written.size() <= capacity);
    QVERIFY(Fixture("short-month.html").startsWith(full.written));
    // Nothing is read once the head could not be written.
    if (capacity == 0) QCOMPARE(yields, 0);
}

void TestTideTableMonth::crowdedDay() {
    // Thirteen good tides on one day: five columns are shown and listed, the rest neither.
    QString output = "2009-03-07 12:01 AM PST   Sunrise\n";
    for (int k = 0; k < 13; ++k)
        output += QString("2009-03-07 %1:%2 AM PST   0.00 feet  %3 Tide\n")
                      .arg(k < 6 ? 1 : 2, 2)
                      .arg((k % 6) * 10, 2, 10, QChar('0'))
                      .arg(k % 2 ? "Low" : "High");
    output += "2009-03-07 11:59 PM PST   Sunset\n";
    const Run run = Write(output, kSeattle, 0, 0, 0.0f);
    QCOMPARE(run.result.outcome, TideTableMonth::Outcome::Written);
    QCOMPARE(run.result.rows, 1);
    QCOMPARE(QString::fromUtf8(run.page).count(kGreenCell), 5);
    QCOMPARE(run.csv, QByteArray("3/7/2009, 01:00 AM, 0.00\n3/7/2009, 01:10 AM, 0.00\n"
                                 "3/7/2009, 01:20 AM, 0.00\n3/7/2009, 01:30 AM, 0.00\n"
                                 "3/7/2009, 01:40 AM, 0.00\n"));
}

QUORVEX_TEST_MAIN(TestTideTableMonth)
#include "tst_TideTableMonth.moc"
