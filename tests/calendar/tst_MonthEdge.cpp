// tst_MonthEdge  Events that the runs of two months both print a minute apart are read once; any
// other event at a month's edge is read as it comes.
#include <QtTest>

#include "calendar/MonthEdge.h"
#include "calendar/TideOutputReader.h"
#include "support/TestMain.h"

namespace {

// Offers every line of one month to `edge`; the event lines it does not pass over.
QStringList Read(MonthEdge& edge, int month, int year, const QStringList& lines) {
    edge.BeginMonth(month, year);
    const QString prefix = TideOutputReader::MonthPrefix(year, month);
    QStringList read;
    for (const QString& line : lines)
        if (const auto event = TideOutputReader::ReadLine(line, prefix);
            event && !edge.RecordAndCheckRepeat(line, *event))
            read << line;
    return read;
}

}  // namespace

class tst_MonthEdge : public QObject {
    Q_OBJECT
  private slots:
    void repeatsReadOnce_data();
    void repeatsReadOnce();
};

void tst_MonthEdge::repeatsReadOnce_data() {
    QTest::addColumn<QList<int>>("months");  // month, year read before; month, year read now
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<bool>("newRun");  // the edge is cleared between the two months
    QTest::addColumn<QStringList>("now");
    QTest::addColumn<QStringList>("read");  // the lines of `now` that are read

    const QString maxEbbOct = "2026-10-31 11:59 PM AKDT  -3.39 knots  Max Ebb";
    const QString maxEbbNov = "2026-11-01 12:00 AM AKDT  -3.39 knots  Max Ebb";
    const QString slack = "2026-11-01  2:29 AM AKST   0.01 knots  Slack, Flood Begins";
    const QList<int> octNov{10, 2026, 11, 2026};
    QTest::newRow("recorded Max Ebb of October and November")
        << octNov << QStringList{"2026-10-31 11:27 PM AKDT   Moonrise", maxEbbOct} << false
        << QStringList{"", maxEbbNov, slack} << QStringList{slack};
    QTest::newRow("across the end of a year")
        << QList<int>{12, 2026, 1, 2027}
        << QStringList{"2026-12-31 11:59 PM AKST  -3.52 knots  Max Ebb"} << false
        << QStringList{"2027-01-01 12:00 AM AKST  -3.52 knots  Max Ebb"} << QStringList{};
    QTest::newRow("last day of a leap February")
        << QList<int>{2, 2028, 3, 2028} << QStringList{"2028-02-29 11:59 PM EST   Moonset"} << false
        << QStringList{"2028-03-01 12:00 AM EST   Moonset"} << QStringList{};
    // Several events of the last minute, in another order in the next run; each is passed over
    // once, and the first minute's own event is read.
    QTest::newRow("two events of the last minute")
        << QList<int>{1, 2027, 2, 2027}
        << QStringList{"2027-01-31 11:59 PM EST   Moonset",
                       "2027-01-31 11:59 PM EST  -0.21 feet  Low Tide"}
        << false
        << QStringList{"2027-02-01 12:00 AM EST  -0.21 feet  Low Tide",
                       "2027-02-01 12:00 AM EST  -0.21 feet  Low Tide",
                       "2027-02-01 12:00 AM EST   4.48 feet  High Tide",
                       "2027-02-01 12:00 AM EST   Moonset"}
        << QStringList{"2027-02-01 12:00 AM EST  -0.21 feet  Low Tide",
                       "2027-02-01 12:00 AM EST   4.48 feet  High Tide"};

    // Not the same event: each of these is read.
    QTest::newRow("another value") << octNov << QStringList{maxEbbOct} << false
                                   << QStringList{"2026-11-01 12:00 AM AKDT  -3.40 knots  Max Ebb"}
                                   << QStringList{"2026-11-01 12:00 AM AKDT  -3.40 knots  Max Ebb"};
    QTest::newRow("another zone: a clock set back at midnight")
        << octNov << QStringList{maxEbbOct} << false
        << QStringList{"2026-11-01 12:00 AM AKST  -3.39 knots  Max Ebb"}
        << QStringList{"2026-11-01 12:00 AM AKST  -3.39 knots  Max Ebb"};
    QTest::newRow("a minute before the last")
        << octNov << QStringList{"2026-10-31 11:58 PM AKDT  -3.39 knots  Max Ebb"} << false
        << QStringList{maxEbbNov} << QStringList{maxEbbNov};
    QTest::newRow("a minute after the first")
        << octNov << QStringList{maxEbbOct} << false
        << QStringList{"2026-11-01 12:01 AM AKDT  -3.39 knots  Max Ebb"}
        << QStringList{"2026-11-01 12:01 AM AKDT  -3.39 knots  Max Ebb"};
    QTest::newRow("not the month after") << QList<int>{9, 2026, 11, 2026}
                                         << QStringList{"2026-09-30 11:59 PM AKDT  -3.39 knots  "
                                                        "Max Ebb"}
                                         << false << QStringList{maxEbbNov}
                                         << QStringList{maxEbbNov};
    QTest::newRow("a new run") << octNov << QStringList{maxEbbOct} << true << QStringList{maxEbbNov}
                               << QStringList{maxEbbNov};
}

void tst_MonthEdge::repeatsReadOnce() {
    QFETCH(QList<int>, months);
    QFETCH(QStringList, before);
    QFETCH(bool, newRun);
    QFETCH(QStringList, now);
    QFETCH(QStringList, read);
    MonthEdge edge;
    QCOMPARE(Read(edge, months[0], months[1], before), before);
    if (newRun) edge.Clear();
    QCOMPARE(Read(edge, months[2], months[3], now), read);
}

QUORVEX_TEST_MAIN(tst_MonthEdge)
#include "tst_MonthEdge.moc"
