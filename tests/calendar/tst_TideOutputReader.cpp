// Tests of the reading of tide's monthly prediction output: cutting, columns, hour rule,
// event text and classification.
#include <QFile>

#include "calendar/TideOutputReader.h"
#include "platform/Text.h"
#include "support/TestMain.h"

Q_DECLARE_METATYPE(TideEventKind)

namespace {

QByteArray Fixture(const QString& name) {
    QFile f(QStringLiteral(QUORVEX_TEST_FIXTURES "/calendar/") + name);
    if (!f.open(QIODevice::ReadOnly)) qFatal("missing fixture %s", qPrintable(name));
    return f.readAll();
}

QList<TideEventLine> ReadMonth(const QString& output, int year, int month) {
    QList<TideEventLine> events;
    TideOutputReader reader(output);
    const QString prefix = TideOutputReader::MonthPrefix(year, month);
    QString line;
    while (reader.NextLine(&line))
        if (auto event = TideOutputReader::ReadLine(line, prefix)) events.append(*event);
    return events;
}

}  // namespace

class TestTideOutputReader : public QObject {
    Q_OBJECT
  private slots:
    void monthPrefix() {
        QCOMPARE(TideOutputReader::MonthPrefix(2009, 3), QString("2009-03"));
        QCOMPARE(TideOutputReader::MonthPrefix(2027, 12), QString("2027-12"));
    }

    void cutting_data() {
        QTest::addColumn<QString>("output");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("line feeds") << "a\nb\n" << QStringList{"a", "b"};
        QTest::newRow("carriage returns") << "a\rb\r" << QStringList{"a", "b"};
        QTest::newRow("CRLF cut at CR") << "a\r\nb\r\n" << QStringList{"a", "\nb"};
        QTest::newRow("one CR anywhere wins") << "a\nb\rc\n" << QStringList{"a\nb"};
        QTest::newRow("last line unterminated") << "a\nb" << QStringList{"a"};
        QTest::newRow("empty lines kept") << "a\n\n\nb\n" << QStringList{"a", "", "", "b"};
        QTest::newRow("no separator") << "2009-03-01  1:03 AM PST" << QStringList{};
        QTest::newRow("empty output") << "" << QStringList{};
    }
    void cutting() {
        QFETCH(QString, output);
        QFETCH(QStringList, lines);
        QCOMPARE(TideOutputReader::CutLines(output), lines);
    }

    void readLine_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("minute");
        QTest::addColumn<QString>("text");
        QTest::addColumn<TideEventKind>("kind");
        using K = TideEventKind;
        QTest::newRow("low tide") << "2009-03-01  1:03 AM PST   4.41 feet  Low Tide" << 1 << 1 << 3
                                  << "4.41 feet  Low Tide" << K::LowTide;
        QTest::newRow("two-digit height") << "2009-03-01  7:03 AM PST  11.85 feet  High Tide" << 1
                                          << 7 << 3 << "11.85 feet  High Tide" << K::HighTide;
        QTest::newRow("negative height") << "2009-03-02  2:38 PM PST  -0.03 feet  Low Tide" << 2
                                         << 14 << 38 << "-0.03 feet  Low Tide" << K::LowTide;
        QTest::newRow("sunrise") << "2009-03-01  6:49 AM PST   Sunrise" << 1 << 6 << 49 << "Sunrise"
                                 << K::SunEvent;
        QTest::newRow("12 AM is hour 0") << "2009-03-05 12:56 AM PST   9.92 feet  High Tide" << 5
                                         << 0 << 56 << "9.92 feet  High Tide" << K::HighTide;
        QTest::newRow("12 PM stays 12")
            << "2009-03-06 12:45 PM PST   Moonrise" << 6 << 12 << 45 << "Moonrise" << K::MoonEvent;
        QTest::newRow("1 PM is 13") << "2009-03-01  1:49 PM PST   0.44 feet  Low Tide" << 1 << 13
                                    << 49 << "0.44 feet  Low Tide" << K::LowTide;
        QTest::newRow("11:58 PM is 23")
            << "2009-03-01 11:58 PM PST   Moonset" << 1 << 23 << 58 << "Moonset" << K::MoonEvent;
        QTest::newRow("lower-case pm") << "2009-03-01  1:49 pm PST   0.44 feet  Low Tide" << 1 << 13
                                       << 49 << "0.44 feet  Low Tide" << K::LowTide;
        QTest::newRow("moon phase") << "2009-03-03 11:45 PM PST   First Quarter" << 3 << 23 << 45
                                    << "First Quarter" << K::MoonPhase;
        QTest::newRow("current slack")
            << "2009-03-01  6:59 AM PST  -0.00 knots  Slack, Ebb Begins" << 1 << 6 << 59
            << "-0.00 knots  Slack, Ebb Begins" << K::OtherEvent;
        QTest::newRow("trailing blanks stay")
            << "2009-03-01  6:49 AM PST   Sunrise  " << 1 << 6 << 49 << "Sunrise  " << K::SunEvent;
        // Zones wider than three letters shift the rest of the line one column right.
        QTest::newRow("AKST tide") << "2009-03-01  3:13 AM AKST  17.54 feet  High Tide" << 1 << 3
                                   << 13 << "17.54 feet  High Tide" << K::HighTide;
        QTest::newRow("AKST sunrise")
            << "2009-03-01  6:51 AM AKST   Sunrise" << 1 << 6 << 51 << "Sunrise" << K::SunEvent;
        QTest::newRow("AKDT moonset")
            << "2009-03-09 12:50 AM AKDT   Moonset" << 9 << 0 << 50 << "Moonset" << K::MoonEvent;
        QTest::newRow("ChST low tide") << "2009-03-01  4:10 PM ChST   0.12 feet  Low Tide" << 1
                                       << 16 << 10 << "0.12 feet  Low Tide" << K::LowTide;
        // A height of -10 or less fills the value's whole width up to the zone.
        QTest::newRow("height -10 keeps its sign")
            << "2009-03-01  9:37 AM PST -10.19 feet  Low Tide" << 1 << 9 << 37
            << "-10.19 feet  Low Tide" << K::LowTide;
        QTest::newRow("no zone") << "2009-03-01  6:49 AM       Sunrise" << 1 << 6 << 49 << "Sunrise"
                                 << K::SunEvent;
        QTest::newRow("line ends at zone")
            << "2009-03-01  6:49 AM PST" << 1 << 6 << 49 << "" << K::OtherEvent;
        QTest::newRow("prefix only") << "2009-03" << 0 << 0 << 0 << "" << K::OtherEvent;
        QTest::newRow("columns without numbers")
            << "2009-03-xx xx:yy AM PST   Sunset" << 0 << 0 << 0 << "Sunset" << K::SunEvent;
        // Another layout of the line may put numbers where no day, hour or minute can be.
        QTest::newRow("numbers out of range read as 0")
            << "2009-03-45 30:75 AM PST   Sunset" << 0 << 0 << 0 << "Sunset" << K::SunEvent;
        QTest::newRow("negative numbers read as 0")
            << "2009-03--1 -5:-9 AM PST   Sunset" << 0 << 0 << 0 << "Sunset" << K::SunEvent;
        QTest::newRow("highest values in range")
            << "2009-03-31 23:59 AM PST   Sunset" << 31 << 23 << 59 << "Sunset" << K::SunEvent;
    }
    void readLine() {
        QFETCH(QString, line);
        const auto event = TideOutputReader::ReadLine(line, "2009-03");
        QVERIFY(event);
        QTEST(event->day, "day");
        QTEST(event->hour, "hour");
        QTEST(event->minute, "minute");
        QTEST(event->eventText, "text");
        QTEST(event->kind, "kind");
    }

    // The zone word is the word after AM or PM, of any width, when it starts by column 25.
    void zoneWord_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("zone");
        QTest::newRow("PST") << "2009-03-01  1:03 AM PST   4.41 feet  Low Tide"
                             << "PST";
        QTest::newRow("AKDT") << "2009-03-09 12:50 AM AKDT   Moonset"
                              << "AKDT";
        QTest::newRow("ChST") << "2009-03-01  4:10 PM ChST   0.12 feet  Low Tide"
                              << "ChST";
        QTest::newRow("+12") << "2009-03-01 11:41 PM +12   1.68 meters  High Tide"
                             << "+12";
        QTest::newRow("+0530") << "2009-03-01  6:02 AM +0530   Sunrise"
                               << "+0530";
        QTest::newRow("height -10 right after the zone")
            << "2009-03-01  9:37 AM PST -10.19 feet  Low Tide"
            << "PST";
        QTest::newRow("line ends at zone") << "2009-03-01  6:49 AM PST"
                                           << "PST";
        QTest::newRow("no zone: the event starts after column 25")
            << "2009-03-01  6:49 AM       Sunrise"
            << "";
        QTest::newRow("prefix only") << "2009-03"
                                     << "";
    }
    void zoneWord() {
        QFETCH(QString, line);
        QFETCH(QString, zone);
        QCOMPARE(TideOutputReader::ZoneWord(line), zone);
        const auto event = TideOutputReader::ReadLine(line, "2009-03");
        QVERIFY(event);
        QCOMPARE(event->zone, zone);
    }

    void linesNotOfTheMonth_data() {
        QTest::addColumn<QString>("line");
        QTest::newRow("other month") << "2009-04-01  1:03 AM PST   4.41 feet  Low Tide";
        QTest::newRow("other year") << "2010-03-01  1:03 AM PST   4.41 feet  Low Tide";
        QTest::newRow("station heading") << "Seattle, Puget Sound, Washington";
        QTest::newRow("empty") << "";
        QTest::newRow("after a CR") << "\n2009-03-01  1:03 AM PST   4.41 feet  Low Tide";
        QTest::newRow("short") << "2009-0";
    }
    void linesNotOfTheMonth() {
        QFETCH(QString, line);
        QVERIFY(!TideOutputReader::ReadLine(line, "2009-03"));
    }

    // With tide's three-letter zones the text is the line from column 26 on, less one blank.
    void threeLetterZonesReadFromColumn26() {
        const QString output = TideOutputReader::OutputText(Fixture("seattle_pst.stdout") +
                                                            Fixture("admiralty_knots.stdout"));
        int compared = 0;
        for (const QString& line : TideOutputReader::CutLines(output)) {
            const auto event = TideOutputReader::ReadLine(line, "2009-03");
            if (!event) continue;
            QString fromColumn26 = Text::Mid(line, 26);
            if (fromColumn26.startsWith(' ')) fromColumn26.remove(0, 1);
            QCOMPARE(event->eventText, fromColumn26);
            ++compared;
        }
        QCOMPARE(compared, 20);
    }

    void classify_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<TideEventKind>("kind");
        using K = TideEventKind;
        QTest::newRow("sunset any case") << "SUNSET" << K::SunEvent;
        QTest::newRow("moon prefix whatever follows") << "Moonrise high low" << K::MoonEvent;
        QTest::newRow("new moon") << "New Moon" << K::MoonPhase;
        QTest::newRow("full moon") << "full moon" << K::MoonPhase;
        QTest::newRow("last quarter") << "Last Quarter" << K::MoonPhase;
        QTest::newRow("high wins over low") << "3.00 feet  High Tide (low water)" << K::HighTide;
        QTest::newRow("low anywhere") << "0.44 feet  LOW Tide" << K::LowTide;
        QTest::newRow("shorter than the word") << "Su" << K::OtherEvent;
        QTest::newRow("max flood") << "1.67 knots  Max Flood" << K::OtherEvent;
        QTest::newRow("empty") << "" << K::OtherEvent;
        QTest::newRow("beyond ASCII, high anywhere")
            << QString::fromUtf8("2.1 m  Mayag\u00fcez HIGH") << K::HighTide;
        QTest::newRow("beyond ASCII, folded to sun")
            << QString::fromUtf8("\u017Funrise") << K::SunEvent;
    }
    void classify() {
        QFETCH(QString, text);
        QTEST(TideOutputReader::Classify(text), "kind");
    }

    void height_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("height");
        QTest::newRow("feet") << "11.85 feet  High Tide" << 11.85;
        QTest::newRow("negative") << "-0.19 feet  Low Tide" << -0.19;
        QTest::newRow("leading blank") << " 4.41 feet  Low Tide" << 0.0;
        QTest::newRow("no number") << "Sunrise" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
    }
    void height() {
        QFETCH(QString, text);
        QTEST(TideOutputReader::Height(text), "height");
    }

    // A month read end to end: headings skipped, every event of an Alaska station with the
    // same kinds as a Pacific one.
    void wholeMonthAlaska() {
        const auto events =
            ReadMonth(TideOutputReader::OutputText(Fixture("juneau_akst.stdout")), 2009, 3);
        QCOMPARE(events.size(), 9);
        QList<TideEventKind> kinds;
        for (const auto& e : events) kinds.append(e.kind);
        using K = TideEventKind;
        QCOMPARE(kinds, (QList<K>{K::HighTide, K::SunEvent, K::MoonEvent, K::LowTide, K::HighTide,
                                  K::SunEvent, K::LowTide, K::MoonEvent, K::HighTide}));
        QCOMPARE(events.at(3).eventText, QString("-0.19 feet  Low Tide"));
        QCOMPARE(events.at(7).day, 2);
        QCOMPARE(events.at(7).hour, 0);
    }

    void crlfOutputKeepsOnlyTheFirstLine() {
        const QString output =
            "2009-03-01  1:03 AM PST   4.41 feet  Low Tide\r\n"
            "2009-03-01  6:49 AM PST   Sunrise\r\n";
        const auto events = ReadMonth(output, 2009, 3);
        QCOMPARE(events.size(), 1);
        QCOMPARE(events.at(0).eventText, QString("4.41 feet  Low Tide"));
    }

    void outputText() {
        QCOMPARE(TideOutputReader::OutputText("Mayag\xc3\xbc"
                                              "ez\n"),
                 QString::fromUtf8("Mayagüez\n"));
        QCOMPARE(TideOutputReader::OutputText("Mayag\xfc"
                                              "ez\n"),
                 QString::fromUtf8("Mayagüez\n"));
        QCOMPARE(TideOutputReader::OutputText("47.6026\xb0 N\n"),
                 QString::fromUtf8("47.6026° N\n"));
    }
};

QUORVEX_TEST_MAIN(TestTideOutputReader)
#include "tst_TideOutputReader.moc"
