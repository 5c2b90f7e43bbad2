// Tests of one table row: the High/Low column placement, good hiking tides, their list lines,
// missing sun times and stopping in the middle of a row.
#include <QBuffer>
#include <QRegularExpression>
#include <QTest>

#include "RefusingDevice.h"
#include "htmltables/DayRow.h"
#include "htmltables/PageStream.h"
#include "support/TestMain.h"

namespace {

const QString kGreen = "<td style=\"color: rgb(51, 204, 0);\">";

// A day with one tide a whole hour apart for each letter of `pattern`: tide k at (k+1):00 AM.
DayTides MakeDay(const QString& pattern, float height = 0.0f, int sunrise = 0, int sunset = 1439) {
    DayTides day;
    day.Begin(5);
    day.sunrise = sunrise;
    day.sunset = sunset;
    for (int k = 0; k < pattern.size(); ++k) day.AddTide((k + 1) * 60, height, pattern.at(k));
    return day;
}

struct Row {
    QString text;
    QStringList csvLines;
    DayRow::RowResult result;
};

enum class Csv { None, Open };

// Writes the row of `day` (3/5/2009 for the list lines); with Csv::Open the list goes to
// `csvDevice`, or to a buffer of its own when none is given.
Row Generate(const DayTides& day, int margin, float maximum, Csv list,
             QIODevice* csvDevice = nullptr, const YieldFunction& yield = {}) {
    QBuffer page;
    page.open(QIODevice::WriteOnly);
    QBuffer csv;
    csv.open(QIODevice::WriteOnly);
    if (!csvDevice) csvDevice = &csv;
    const HikingState state{margin, maximum, list == Csv::Open ? csvDevice : nullptr};
    PageStream stream(&page);
    Row row;
    row.result = DayRow::GenerateOneDay(
        stream, day, 3, 2009, [&] { return state; }, yield);
    row.text = QString::fromUtf8(page.data());
    const QString lines = QString::fromUtf8(csv.data());
    row.csvLines = lines.split('\n', Qt::SkipEmptyParts);
    return row;
}

// The five tide columns as one letter each: the tide's index (its hour - 1) or "-" when empty.
QString Columns(const QString& rowText) {
    const QString cells = rowText.split('\n').value(2);
    QString layout;
    static const QRegularExpression cell("<td[^>]*>(.*?)</td>");
    auto it = cell.globalMatch(cells);
    for (int c = 0; c < 5 && it.hasNext(); ++c) {
        const QString content = it.next().captured(1);
        if (content.isEmpty()) {
            layout += '-';
        } else {
            const int hour = content.mid(QString("<small><center>").size(), 2).toInt();
            layout += QString::number(hour - 1);
        }
    }
    return layout;
}

}  // namespace

class TestDayRow : public QObject {
    Q_OBJECT
  private slots:
    void goodHikingTide_data();
    void goodHikingTide();
    void csvVersionLine_data();
    void csvVersionLine();
    void wholeRow();
    void columnPlacement_data();
    void columnPlacement();
    void goodTidesListedInColumnOrder();
    void greenWithoutCsvFile();
    void csvClosedDuringRow();
    void csvWriteFailureReported();
    void missingSunTimes();
    void stopInsideRow();
    void dayKeepsElevenTides();
};

void TestDayRow::goodHikingTide_data() {
    QTest::addColumn<int>("t");
    QTest::addColumn<float>("h");
    QTest::addColumn<int>("sunrise");
    QTest::addColumn<int>("sunset");
    QTest::addColumn<int>("margin");
    QTest::addColumn<float>("maximum");
    QTest::addColumn<bool>("good");
    QTest::newRow("first minute after margin") << 480 << 0.5f << 360 << 1200 << 120 << 1.0f << true;
    QTest::newRow("a minute too early") << 479 << 0.5f << 360 << 1200 << 120 << 1.0f << false;
    QTest::newRow("last minute before margin")
        << 1080 << 0.5f << 360 << 1200 << 120 << 1.0f << true;
    QTest::newRow("a minute too late") << 1081 << 0.5f << 360 << 1200 << 120 << 1.0f << false;
    QTest::newRow("at sunrise, no margin") << 360 << 0.5f << 360 << 1200 << 0 << 1.0f << true;
    QTest::newRow("margin of 90 minutes") << 449 << 0.5f << 360 << 1200 << 90 << 1.0f << false;
    QTest::newRow("exactly the maximum") << 600 << 2.5f << 360 << 1200 << 120 << 2.5f << true;
    QTest::newRow("just above the maximum") << 600 << 2.51f << 360 << 1200 << 120 << 2.5f << false;
    QTest::newRow("maximum 0, height 0") << 600 << 0.0f << 360 << 1200 << 0 << 0.0f << true;
    QTest::newRow("maximum 0, height 0.01") << 600 << 0.01f << 360 << 1200 << 0 << 0.0f << false;
    QTest::newRow("negative height") << 600 << -2.2f << 360 << 1200 << 0 << 0.0f << true;
    QTest::newRow("no sunset line") << 600 << 0.0f << 360 << -1 << 0 << 5.0f << false;
    QTest::newRow("no sunrise line, margin 60") << 59 << 0.0f << -1 << 1200 << 60 << 5.0f << true;
    QTest::newRow("no sunrise line, too early") << 58 << 0.0f << -1 << 1200 << 60 << 5.0f << false;
}

void TestDayRow::goodHikingTide() {
    QFETCH(int, t);
    QFETCH(float, h);
    QFETCH(int, sunrise);
    QFETCH(int, sunset);
    QFETCH(int, margin);
    QFETCH(float, maximum);
    QFETCH(bool, good);
    QCOMPARE(DayRow::GoodHikingTide(t, h, sunrise, sunset, margin, maximum), good);
}

void TestDayRow::csvVersionLine_data() {
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("t");
    QTest::addColumn<float>("h");
    QTest::addColumn<QString>("line");
    QTest::newRow("negative height")
        << 3 << 5 << 2009 << 372 << -0.42f << "3/5/2009, 06:12 AM, -0.42";
    QTest::newRow("midnight, one decimal")
        << 12 << 31 << 2010 << 0 << 2.5f << "12/31/2010, 12:00 AM, 2.50";
    QTest::newRow("last minute, zero")
        << 1 << 1 << 2011 << 1439 << 0.0f << "1/1/2011, 11:59 PM, 0.00";
    QTest::newRow("noon") << 7 << 14 << 2026 << 720 << 1.0f << "7/14/2026, 12:00 PM, 1.00";
}

void TestDayRow::csvVersionLine() {
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(int, year);
    QFETCH(int, t);
    QFETCH(float, h);
    QFETCH(QString, line);
    QCOMPARE(DayRow::CSVVersionLine(month, day, year, t, h), line);
}

void TestDayRow::wholeRow() {
    DayTides day;
    day.Begin(5);
    day.sunrise = 400;
    day.sunset = 1100;
    day.AddTide(372, -0.42f, 'L');
    day.AddTide(600, 2.5f, 'H');
    day.AddTide(1000, 0.3f, 'L');
    const Row row = Generate(day, 60, 1.0f, Csv::Open);
    QCOMPARE(row.text,
             QString("<tr>\n"
                     "<td><b><center>5</center></b></td>\n"
                     "<td></td>"
                     "<td><small><center>06:12 AM<br>-0.42 ft</center></small></td>"
                     "<td><small><center>10:00 AM<br>2.50 ft</center></small></td>"
                     "<td style=\"color: rgb(51, 204, 0);\"><small><center>04:40 PM<br>0.30 "
                     "ft</center></small></td>"
                     "<td></td>"
                     "<td><center>06:40 AM</center></td>\n"
                     "<td><center>06:20 PM</center></td>\n"
                     "</tr>\n"));
    QCOMPARE(row.csvLines, QStringList{"3/5/2009, 04:40 PM, 0.30"});
    QVERIFY(row.result.finished);
}

void TestDayRow::columnPlacement_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("columns");
    QTest::newRow("HLHLH fills all") << "HLHLH"
                                     << "01234";
    QTest::newRow("HLHL") << "HLHL"
                          << "0123-";
    QTest::newRow("LHLH starts empty") << "LHLH"
                                       << "-0123";
    QTest::newRow("LHLHL drops the fifth") << "LHLHL"
                                           << "-0123";
    QTest::newRow("HHL") << "HHL"
                         << "0-12-";
    QTest::newRow("HHHHH") << "HHHHH"
                           << "0-1-2";
    QTest::newRow("LLLL") << "LLLL"
                          << "-0-1-";
    QTest::newRow("lower-case letters") << "hlhlh"
                                        << "01234";
    QTest::newRow("no tides") << ""
                              << "-----";
}

void TestDayRow::columnPlacement() {
    QFETCH(QString, pattern);
    const Row row = Generate(MakeDay(pattern, 9.0f), 0, 1.0f, Csv::None);
    QFETCH(QString, columns);
    QCOMPARE(Columns(row.text), columns);
    // Every row keeps its eight cells, each closed.
    QCOMPARE(row.text.count("<td"), 8);
    QCOMPARE(row.text.count("</td>"), 8);
    QCOMPARE(row.text.count('\n'), 5);
}

void TestDayRow::goodTidesListedInColumnOrder() {
    // All five tides are good; the fifth is shown nowhere, so it is neither green nor listed.
    const Row row = Generate(MakeDay("LHLHL", -0.5f), 0, 0.0f, Csv::Open);
    QCOMPARE(row.text.count(kGreen), 4);
    QCOMPARE(row.csvLines, (QStringList{"3/5/2009, 01:00 AM, -0.50", "3/5/2009, 02:00 AM, -0.50",
                                        "3/5/2009, 03:00 AM, -0.50", "3/5/2009, 04:00 AM, -0.50"}));
}

void TestDayRow::greenWithoutCsvFile() {
    const Row row = Generate(MakeDay("HL", 0.0f), 0, 1.0f, Csv::None);
    QCOMPARE(row.text.count(kGreen), 2);
    QVERIFY(row.csvLines.isEmpty());
    QVERIFY(!row.result.csvWriteFailed);
}

void TestDayRow::csvClosedDuringRow() {
    // The window may close "csv-version.txt" while the row yields: later tides are still green
    // but nothing is written to the closed list.
    QBuffer csv;
    csv.open(QIODevice::WriteOnly);
    int reads = 0;
    QBuffer pageBuffer;
    pageBuffer.open(QIODevice::WriteOnly);
    PageStream page(&pageBuffer);
    const DayRow::RowResult result =
        DayRow::GenerateOneDay(page, MakeDay("HLH", 0.0f), 3, 2009,
                               [&] {
                                   return HikingState{0, 1.0f, reads++ == 0 ? &csv : nullptr};
                               },
                               {});
    QVERIFY(result.finished);
    QCOMPARE(reads, 3);
    QCOMPARE(QString::fromUtf8(csv.data()), QString("3/5/2009, 01:00 AM, 0.00\n"));
    QCOMPARE(QString::fromUtf8(pageBuffer.data()).count(kGreen), 3);
}

void TestDayRow::csvWriteFailureReported() {
    RefusingDevice full(0);
    const Row row = Generate(MakeDay("HL", 0.0f), 0, 1.0f, Csv::Open, &full);
    QVERIFY(row.result.csvWriteFailed);
    QVERIFY(row.result.finished);
    QVERIFY(row.text.endsWith("</tr>\n"));
}

void TestDayRow::missingSunTimes() {
    const Row noSun = Generate(MakeDay("HL", 0.0f, -1, -1), 0, 1.0f, Csv::None);
    const QStringList lines = noSun.text.split('\n');
    QVERIFY2(lines[2].endsWith("<td><center></center></td>"), qPrintable(lines[2]));
    QCOMPARE(lines[3], QString("<td><center></center></td>"));
    QVERIFY(!noSun.text.contains("12:-1"));
    // No sunset: no tide can be good.
    QCOMPARE(noSun.text.count(kGreen), 0);

    const Row noSunset = Generate(MakeDay("HL", 0.0f, 400, -1), 0, 1.0f, Csv::None);
    QVERIFY(noSunset.text.split('\n')[2].endsWith("<td><center>06:40 AM</center></td>"));
    QCOMPARE(noSunset.text.split('\n')[3], QString("<td><center></center></td>"));
}

void TestDayRow::stopInsideRow() {
    int yields = 0;
    const Row row =
        Generate(MakeDay("HLHLH", 9.0f), 0, 1.0f, Csv::None, nullptr, [&] { return ++yields < 2; });
    QVERIFY(!row.result.finished);
    QCOMPARE(yields, 2);
    QVERIFY(!row.text.contains("</tr>"));
    QCOMPARE(row.text.count("</center></small></td>"), 2);
}

void TestDayRow::dayKeepsElevenTides() {
    DayTides day;
    day.Begin(1);
    for (int k = 0; k < DayTides::kMaxTides; ++k) QVERIFY(day.AddTide(k, 0.0f, 'H'));
    QVERIFY(!day.AddTide(99, 0.0f, 'L'));
    QCOMPARE(day.pattern, QString(DayTides::kMaxTides, 'H'));
    day.Begin(2);
    QCOMPARE(day.pattern, QString());
    QCOMPARE(day.sunrise, -1);
    QCOMPARE(day.sunset, -1);
}

QUORVEX_TEST_MAIN(TestDayRow)
#include "tst_DayRow.moc"
