// Tests of the calendar formats: exact bytes of each format's header, entries and footer, the
// record builders, the RSS date, write failures, and the files read back by real consumers
// (libical, an XML reader).
#include <time.h>

#include <QBuffer>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QXmlStreamReader>

#include "calendar/CalendarWriter.h"
#include "calendar/TideOutputReader.h"
#include "support/TestMain.h"

#ifdef QUORVEX_HAVE_LIBICAL
#include <libical/ical.h>
#endif

namespace {

// The time of a run on a machine whose clock is eight hours behind UTC.
const QDateTime kNow(QDate(2009, 3, 1), QTime(14, 30, 5), QTimeZone(-8 * 3600));

QByteArray Fixture(const QString& name) {
    QFile f(QStringLiteral(QUORVEX_TEST_FIXTURES "/") +
            (name.contains(QLatin1Char('/')) ? name : QStringLiteral("calendar/") + name));
    if (!f.open(QIODevice::ReadOnly)) qFatal("missing fixture %s", qPrintable(name));
    return f.readAll();
}

// The texts of the elements named `name` of an XML document, in order.
QStringList ElementTexts(const QByteArray& document, const QString& name) {
    QXmlStreamReader xml(document);
    QStringList texts;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == name)
            texts << xml.readElementText();
    return xml.hasError() ? QStringList{xml.errorString()} : texts;
}

// The events of March 2009 in the recorded outputs, written whole in `format`.
QByteArray WriteMarch(const QString& format, const QString& location, int* count) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    CalendarWriter writer(&buffer);
    writer.WriteHeader(format, location, kNow);
    const QString output = TideOutputReader::OutputText(Fixture("seattle_pst.stdout") +
                                                        Fixture("admiralty_knots.stdout"));
    TideOutputReader reader(output);
    QString line;
    *count = 0;
    while (reader.NextLine(&line)) {
        const auto e = TideOutputReader::ReadLine(line, "2009-03");
        if (!e) continue;
        writer.WriteEvent(format, 2009, 3, e->day, e->hour, e->minute, e->eventText, e->zone);
        ++*count;
    }
    writer.WriteFooter(format);
    return buffer.data();
}

}  // namespace

class TestCalendarWriter : public QObject {
    Q_OBJECT
  private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::system()); }

    void formatOf_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("format");
        using F = CalendarWriter::Format;
        QTest::newRow("iCal") << "iCal" << int(F::ICal);
        QTest::newRow("any case") << "PALM DESKTOP" << int(F::PalmDesktop);
        QTest::newRow("csv") << "comma separated text" << int(F::CommaSeparatedText);
        QTest::newRow("rss") << "Rss" << int(F::RSS);
        QTest::newRow("no selection") << "" << int(F::Plain);
        QTest::newRow("unknown") << "vCard" << int(F::Plain);
    }
    void formatOf() {
        QFETCH(QString, text);
        QTEST(int(CalendarWriter::FormatOf(text)), "format");
    }

    void iCalRun() {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        CalendarWriter w(&buffer);
        QVERIFY(w.WriteHeader("iCal", "Seattle, Puget Sound; WA", kNow));
        QVERIFY(w.WriteEvent("iCal", 2009, 3, 7, 2, 5, "9.92 feet  High Tide"));
        QVERIFY(w.WriteEvent("iCal", 2009, 3, 7, 12, 0, "Moonrise"));
        QVERIFY(w.WriteEvent("iCal", 2009, 3, 8, 0, 30, "-0.00 knots  Slack, Ebb Begins"));
        QVERIFY(w.WriteFooter("iCal"));
        QCOMPARE(buffer.data(), QByteArray("BEGIN:VCALENDAR\n"
                                           "VERSION:2.0\n"
                                           "X-WR-CALNAME;VALUE=TEXT:Seattle\\, Puget Sound\\; WA\n"
                                           "PRODID:-//Vostrane Palvarite//Quorvex 1.0//EN\n"
                                           "CALSCALE:GREGORIAN\n"
                                           "BEGIN:VEVENT\n"
                                           "SUMMARY:9.92 feet  High Tide at 02:05\n"
                                           "DTSTART:20090307T020500\n"
                                           "END:VEVENT\n"
                                           "BEGIN:VEVENT\n"
                                           "SUMMARY:Moonrise at 12:00\n"
                                           "DTSTART:20090307T120000\n"
                                           "END:VEVENT\n"
                                           "BEGIN:VEVENT\n"
                                           "SUMMARY:-0.00 knots  Slack\\, Ebb Begins at 00:30\n"
                                           "DTSTART:20090308T003000\n"
                                           "END:VEVENT\n"
                                           "END:VCALENDAR\n"));
    }

    void iCalTextEscapes() {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        CalendarWriter w(&buffer);
        w.WriteEvent("iCal", 2009, 3, 1, 1, 2, "a\\b;c,d\ne");
        QVERIFY(buffer.data().contains("SUMMARY:a\\\\b\\;c\\,d\\ne at 01:02\n"));
    }

    void rssRun() {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        CalendarWriter w(&buffer);
        QVERIFY(w.WriteHeader("RSS", "Port Angeles", kNow));
        QVERIFY(w.WriteEvent("RSS", 2009, 3, 31, 23, 59, "4.41 feet  Low Tide", "PDT"));
        QVERIFY(w.WriteFooter("RSS"));
        QCOMPARE(buffer.data(),
                 QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                            "<!-- generator=\"Quorvex quorvex.example.org/\" -->\n"
                            "<rss version=\"2.0\">\n"
                            "\n"
                            "<channel>\n"
                            "<title>Tide Calendar for Port Angeles</title>\n"
                            "<link>https://quorvex.example.org/</link>\n"
                            "<description>Tide Calendar of events for Port Angeles </description>\n"
                            "<pubDate>Sun, 01 Mar 2009 14:30:05 -0800</pubDate>\n"
                            "<generator>https://quorvex.example.org/</generator>\n"
                            "<language>en</language>\n"
                            "<item>\n"
                            "<title>4.41 feet  Low Tide</title>\n"
                            "<pubDate>Tue, 31 Mar 2009 23:59:00 -0700</pubDate>\n"
                            "</item>\n"
                            "</channel>\n"
                            "</rss>\n"));
    }

    void rssWithoutEventsIsHeaderAndFooter() {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        CalendarWriter w(&buffer);
        w.WriteHeader("RSS", "X", kNow);
        w.WriteFooter("RSS");
        const QList<QByteArray> lines = buffer.data().split('\n');
        QCOMPARE(lines.size(), 14);  // 11 header lines, 2 footer lines, nothing after the last LF
        QCOMPARE(lines.at(11), QByteArray("</channel>"));
        QCOMPARE(lines.at(12), QByteArray("</rss>"));
    }

    void palmRecords() {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        CalendarWriter w(&buffer);
        QVERIFY(w.WriteHeader("Palm Desktop", "Seattle", kNow));
        QVERIFY(w.WriteEvent("Palm Desktop", 2009, 3, 7, 14, 5, "9.92 feet  High Tide"));
        QVERIFY(w.WriteEvent("Palm Desktop", 2009, 3, 8, 0, 30, "Sunrise"));
        QVERIFY(w.WriteFooter("Palm Desktop"));
        QCOMPARE(buffer.data(), QByteArray("9.92 feet  High Tide\xfc"
                                           "3/7/09\xfc\xfc"
                                           "2:05 PM\xfc"
                                           "3/7/09\xfc\xfc\xfc"
                                           "Not Private\xfd"
                                           "Sunrise\xfc"
                                           "3/8/09\xfc\xfc"
                                           "12:30 AM\xfc"
                                           "3/8/09\xfc\xfc\xfc"
                                           "Not Private\xfd"));
    }

    void commaSeparatedLines() {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        CalendarWriter w(&buffer);
        QVERIFY(w.WriteHeader("Comma Separated Text", "Seattle", kNow));
        QVERIFY(w.WriteEvent("Comma Separated Text", 2009, 3, 1, 6, 59,
                             "-0.00 knots  Slack, Ebb Begins"));
        QVERIFY(w.WriteEvent("Comma Separated Text", 2009, 3, 1, 12, 0, "Moonrise"));
        QVERIFY(w.WriteFooter("Comma Separated Text"));
        QCOMPARE(buffer.data(), QByteArray("3/1/09, 6:59 AM,-0.00 knots  Slack, Ebb Begins\r"
                                           "3/1/09, 12:00 PM,Moonrise\r"));
    }

    // Short dates and times follow the user's settings, not a fixed form.
    void recordsFollowTheLocale() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(CalendarWriter::CommaSeparatedEvent(2009, 3, 7, 14, 5, "Sunset"),
                 QString("07.03.09, 14:05,Sunset\r"));
        QCOMPARE(CalendarWriter::PalmDesktopEvent(2009, 3, 7, 14, 5, "Sunset"),
                 QByteArray("Sunset\xfc"
                            "07.03.09\xfc\xfc"
                            "14:05\xfc"
                            "07.03.09\xfc\xfc\xfc"
                            "Not Private\xfd"));
    }

    // The times are the station's clock times: the machine's own daylight-time changes, on the
    // station's days or on others, move no event, not even one in the hour the machine's clock
    // skips.
    void timesIgnoreTheMachinesDaylightTime_data() {
        QTest::addColumn<QByteArray>("zone");  // the machine's
        QTest::addColumn<QDateTime>("at");     // the station's clock time
        QTest::addColumn<QString>("csv");
        QTest::addColumn<QString>("rss");
        const auto at = [](int year, int month, int day, int hour, int minute) {
            return QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::UTC);
        };
        const QByteArray pacific = "America/Los_Angeles";
        const QByteArray central = "CET-1CEST,M3.5.0,M10.5.0/3";
        QTest::newRow("after the spring change")
            << pacific << at(2026, 3, 8, 7, 35) << "3/8/26, 7:35 AM,x\r"
            << "Sun, 08 Mar 2026 07:35:00 -0700";
        QTest::newRow("in the skipped hour")
            << pacific << at(2026, 3, 8, 2, 30) << "3/8/26, 2:30 AM,x\r"
            << "Sun, 08 Mar 2026 02:30:00 -0700";
        QTest::newRow("late on the day of the spring change")
            << pacific << at(2026, 3, 8, 23, 30) << "3/8/26, 11:30 PM,x\r"
            << "Sun, 08 Mar 2026 23:30:00 -0700";
        QTest::newRow("after the autumn change")
            << pacific << at(2026, 11, 1, 13, 5) << "11/1/26, 1:05 PM,x\r"
            << "Sun, 01 Nov 2026 13:05:00 -0700";
        QTest::newRow("another zone's spring day")
            << central << at(2026, 3, 29, 2, 39) << "3/29/26, 2:39 AM,x\r"
            << "Sun, 29 Mar 2026 02:39:00 -0700";
        QTest::newRow("late on another zone's autumn day")
            << central << at(2009, 10, 25, 23, 59) << "10/25/09, 11:59 PM,x\r"
            << "Sun, 25 Oct 2009 23:59:00 -0700";
    }
    void timesIgnoreTheMachinesDaylightTime() {
        QFETCH(QByteArray, zone);
        QFETCH(QDateTime, at);
        const QByteArray tz = qgetenv("TZ");
        const bool hadZone = qEnvironmentVariableIsSet("TZ");
        qputenv("TZ", zone);
        tzset();
        const QDate d = at.date();
        const QTime t = at.time();
        const QString csv = CalendarWriter::CommaSeparatedEvent(d.year(), d.month(), d.day(),
                                                                t.hour(), t.minute(), "x");
        const QByteArray palm = CalendarWriter::PalmDesktopEvent(d.year(), d.month(), d.day(),
                                                                 t.hour(), t.minute(), "x");
        const QString rss = CalendarWriter::FormatToRSSDate(d.year(), d.month(), d.day(), t.hour(),
                                                            t.minute(), 0, "-0700");
        if (hadZone)
            qputenv("TZ", tz);
        else
            qunsetenv("TZ");
        tzset();
        QTEST(csv, "csv");
        QTEST(rss, "rss");
        const QList<QByteArray> fields = palm.split('\xfc');
        QCOMPARE(fields.size(), 8);
        QCOMPARE(QString::fromUtf8(fields[1] + ", " + fields[3] + ",x\r"), csv);
    }

    void plainLines() {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        CalendarWriter w(&buffer);
        QVERIFY(w.WriteHeader("", "Seattle", kNow));
        QVERIFY(w.WriteEvent("", 2009, 3, 1, 6, 49, "Sunrise"));
        QVERIFY(w.WriteEvent("", 2009, 3, 12, 0, 7, "1.56 feet  Low Tide"));
        QVERIFY(w.WriteFooter(""));
        QCOMPARE(buffer.data(), QByteArray("2009-03-01 Sunrise\n2009-03-12 1.56 feet  Low Tide\n"));
    }

    // The format is read for every call: entries and footer follow a change made mid-run.
    void formatChangedDuringRun() {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        CalendarWriter w(&buffer);
        w.WriteHeader("iCal", "Seattle", kNow);
        w.WriteEvent("iCal", 2009, 3, 1, 6, 49, "Sunrise");
        w.WriteEvent("Comma Separated Text", 2009, 3, 1, 17, 54, "Sunset");
        w.WriteFooter("RSS");
        QVERIFY(buffer.data().endsWith("END:VEVENT\n3/1/09, 5:54 PM,Sunset\r</channel>\n</rss>\n"));
        QVERIFY(buffer.data().startsWith("BEGIN:VCALENDAR\n"));
    }

    void rssDate_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QString>("text");
        QTest::newRow("afternoon") << QDate(2009, 3, 1) << QTime(14, 30) << "-0800"
                                   << "Sun, 01 Mar 2009 14:30:00 -0800";
        QTest::newRow("month end") << QDate(2009, 3, 31) << QTime(23, 59) << "-0700"
                                   << "Tue, 31 Mar 2009 23:59:00 -0700";
        QTest::newRow("leap day") << QDate(2008, 2, 29) << QTime(6, 0) << "+0000"
                                  << "Fri, 29 Feb 2008 06:00:00 +0000";
        QTest::newRow("noon") << QDate(2009, 3, 7) << QTime(12, 0, 9) << "+1200"
                              << "Sat, 07 Mar 2009 12:00:09 +1200";
        QTest::newRow("just after midnight") << QDate(2027, 12, 31) << QTime(0, 30) << "-0000"
                                             << "Fri, 31 Dec 2027 00:30:00 -0000";
    }
    void rssDate() {
        QFETCH(QDate, date);
        QFETCH(QTime, time);
        QFETCH(QString, zone);
        QTEST(CalendarWriter::FormatToRSSDate(date.year(), date.month(), date.day(), time.hour(),
                                              time.minute(), time.second(), zone),
              "text");
    }

    // A malformed line's day 0 is written as read; the names follow the day before the 1st.
    void rssDateOfDayZero() {
        QCOMPARE(CalendarWriter::FormatToRSSDate(2009, 3, 0, 0, 0, 0, "-0800"),
                 QString("Sat, 00 Feb 2009 00:00:00 -0800"));
    }

    // Each item's date carries the offset of the zone word printed on its event's line.
    void rssDateOfALine_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("date");
        QTest::newRow("PST") << "2026-03-08  1:29 AM PST   5.51 feet  Low Tide"
                             << "Sun, 08 Mar 2026 01:29:00 -0800";
        QTest::newRow("PDT") << "2026-03-08  7:35 AM PDT   Sunrise"
                             << "Sun, 08 Mar 2026 07:35:00 -0700";
        QTest::newRow("AKST, four letters") << "2026-03-01  3:13 AM AKST  17.54 feet  High Tide"
                                            << "Sun, 01 Mar 2026 03:13:00 -0900";
        QTest::newRow("ChST") << "2026-03-01  4:10 PM ChST   0.12 feet  Low Tide"
                              << "Sun, 01 Mar 2026 16:10:00 +1000";
        QTest::newRow("a +12 station") << "2026-03-01 11:41 PM +12   1.68 meters  High Tide"
                                       << "Sun, 01 Mar 2026 23:41:00 +1200";
        QTest::newRow("a -03 station") << "2026-03-01  6:02 AM -03   Sunrise"
                                       << "Sun, 01 Mar 2026 06:02:00 -0300";
        QTest::newRow("an unknown zone word") << "2026-03-01  1:03 AM XYZT   4.41 feet  Low Tide"
                                              << "Sun, 01 Mar 2026 01:03:00 -0000";
        QTest::newRow("no zone word") << "2026-03-01  6:49 AM       Sunrise"
                                      << "Sun, 01 Mar 2026 06:49:00 -0000";
    }
    void rssDateOfALine() {
        QFETCH(QString, line);
        QFETCH(QString, date);
        const auto e = TideOutputReader::ReadLine(line, "2026-03");
        QVERIFY(e);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        CalendarWriter w(&buffer);
        QVERIFY(w.WriteEvent("RSS", 2026, 3, e->day, e->hour, e->minute, e->eventText, e->zone));
        QCOMPARE(ElementTexts("<rss>" + buffer.data() + "</rss>", "pubDate"), QStringList{date});
    }

    // Seattle's month in which daylight time begins: standard time up to the last event before
    // 2 AM on 8 March, daylight time from the next event on, never back.
    void rssOfTheMonthDaylightTimeBegins() {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        CalendarWriter w(&buffer);
        QVERIFY(w.WriteHeader("RSS", "Seattle, Puget Sound, Washington", kNow));
        const QString prefix = TideOutputReader::MonthPrefix(2026, 3);
        for (const QString& line : TideOutputReader::CutLines(TideOutputReader::OutputText(
                 Fixture(QStringLiteral("xtide/seattle_2026-03.stdout"))))) {
            if (const auto e = TideOutputReader::ReadLine(line, prefix))
                QVERIFY(w.WriteEvent("RSS", 2026, 3, e->day, e->hour, e->minute, e->eventText,
                                     e->zone));
        }
        QVERIFY(w.WriteFooter("RSS"));
        const QStringList dates = ElementTexts(buffer.data(), "pubDate").mid(1);
        QCOMPARE(dates.size(), 57 + 189);
        for (int i = 0; i < dates.size(); ++i)
            QVERIFY2(dates[i].endsWith(i < 57 ? " -0800" : " -0700"), qPrintable(dates[i]));
        QCOMPARE(dates.first(), QString("Sun, 01 Mar 2026 04:24:00 -0800"));
        QCOMPARE(dates[56], QString("Sun, 08 Mar 2026 01:29:00 -0800"));
        QCOMPARE(dates[57], QString("Sun, 08 Mar 2026 07:35:00 -0700"));
        QCOMPARE(dates.last(), QString("Tue, 31 Mar 2026 22:56:00 -0700"));
    }

    // The channel's date is the time of the run with the offset of the machine's clock.
    void rssChannelDate_data() {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("date");
        QTest::newRow("behind UTC") << kNow << "Sun, 01 Mar 2009 14:30:05 -0800";
        QTest::newRow("half an hour ahead")
            << QDateTime(QDate(2026, 7, 4), QTime(9, 5, 0), QTimeZone(5 * 3600 + 1800))
            << "Sat, 04 Jul 2026 09:05:00 +0530";
        QTest::newRow("UTC") << QDateTime(QDate(2026, 1, 1), QTime(0, 0, 1), Qt::UTC)
                             << "Thu, 01 Jan 2026 00:00:01 +0000";
        QTest::newRow("daylight time of a zone")
            << QDateTime(QDate(2026, 6, 1), QTime(12, 0),
                         QTimeZone(QByteArrayLiteral("America/Los_Angeles")))
            << "Mon, 01 Jun 2026 12:00:00 -0700";
    }
    void rssChannelDate() {
        QFETCH(QDateTime, now);
        QFETCH(QString, date);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        CalendarWriter w(&buffer);
        QVERIFY(w.WriteHeader("RSS", "Seattle", now));
        QVERIFY(w.WriteFooter("RSS"));
        QCOMPARE(ElementTexts(buffer.data(), "pubDate"), QStringList{date});
    }

    void writeFailureIsReported() {
        QFile full("/dev/full");
        if (!full.open(QIODevice::WriteOnly)) QSKIP("no /dev/full here");
        CalendarWriter w(&full);
        QVERIFY(!w.WriteHeader("iCal", "Seattle", kNow));
        QVERIFY(w.Failed());
        QVERIFY(!w.ErrorString().isEmpty());
        QVERIFY(!w.WriteEvent("Comma Separated Text", 2009, 3, 1, 6, 49, "Sunrise"));
        QVERIFY(!w.WriteFooter("iCal"));
    }

    // A month's entries wait in the file's buffer and go through at its end: there, at the
    // latest, a full disk shows; a month larger than the buffer is refused at an entry already.
    void monthWrittenThroughAtItsEnd_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("entries");
        QTest::addColumn<bool>("full");              // the device is /dev/full
        QTest::addColumn<bool>("refusedAtAnEntry");  // before the month's end
        QTest::newRow("iCal on disk") << "iCal" << 3 << false << false;
        QTest::newRow("RSS larger than the buffer on disk") << "RSS" << 2000 << false << false;
        QTest::newRow("iCal refused at the end") << "iCal" << 3 << true << false;
        QTest::newRow("Palm refused at the end") << "Palm Desktop" << 3 << true << false;
        QTest::newRow("RSS larger than the buffer refused at an entry")
            << "RSS" << 2000 << true << true;
    }
    void monthWrittenThroughAtItsEnd() {
        QFETCH(QString, format);
        QFETCH(int, entries);
        QFETCH(bool, full);
        QFETCH(bool, refusedAtAnEntry);
        QTemporaryDir dir;
        QFile file(full ? QStringLiteral("/dev/full") : dir.filePath("month.ics"));
        if (!file.open(QIODevice::WriteOnly)) QSKIP("no /dev/full here");
        QBuffer expected;
        expected.open(QIODevice::WriteOnly);
        CalendarWriter w(&file);
        CalendarWriter reference(&expected);
        w.BeginMonth();
        int taken = 0;
        for (int i = 0; i < entries; ++i) {
            reference.WriteEvent(format, 2009, 3, 1 + i % 28, 6, 49, "Sunrise");
            if (w.WriteEvent(format, 2009, 3, 1 + i % 28, 6, 49, "Sunrise")) ++taken;
        }
        QCOMPARE(taken < entries, refusedAtAnEntry);
        QCOMPARE(w.EndMonth(), !full);
        QCOMPARE(w.Failed(), full);
        if (full) {
            QVERIFY(!w.ErrorString().isEmpty());
            QVERIFY(!w.WriteFooter(format));
            return;
        }
        // On disk now, before the file is closed.
        QFile disk(file.fileName());
        QVERIFY(disk.open(QIODevice::ReadOnly));
        QCOMPARE(disk.readAll(), expected.data());
    }

    // Entries reach the file as UTF-8, within a month or outside one; a lone surrogate, which
    // no UTF-8 can hold, becomes "?".
    void entriesInUtf8_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ASCII") << "4.41 feet  Low Tide" << QByteArray("4.41 feet  Low Tide");
        QTest::newRow("beyond ASCII")
            << QString::fromUtf8("\u00fc \u20ac") << QByteArray("\xc3\xbc \xe2\x82\xac");
        QTest::newRow("surrogate pair")
            << QString::fromUtf8("\U0001F30A") << QByteArray("\xf0\x9f\x8c\x8a");
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + "x" << QByteArray("?x");
    }
    void entriesInUtf8() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        for (bool inMonth : {false, true}) {
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            {
                CalendarWriter w(&buffer);
                if (inMonth) w.BeginMonth();
                QVERIFY(w.WriteEvent("", 2009, 3, 1, 6, 49, text));
                if (inMonth) QVERIFY(w.EndMonth());
            }
            QCOMPARE(buffer.data(), "2009-03-01 " + bytes + '\n');
        }
    }

    void closedDeviceIsAFailure() {
        QBuffer buffer;
        CalendarWriter w(&buffer);
        QVERIFY(!w.WriteEvent("", 2009, 3, 1, 6, 49, "Sunrise"));
        QVERIFY(w.Failed());
        QVERIFY(!w.ErrorString().isEmpty());
    }

    void rssIsWellFormedWithMarkupInTexts() {
        const QString location = "Fish & Chips <Bay>, \"Upper\"";
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        CalendarWriter w(&buffer);
        w.WriteHeader("RSS", location, kNow);
        w.WriteEvent("RSS", 2009, 3, 1, 1, 3, "4.41 feet  Low Tide & <rising>", "PST");
        w.WriteEvent("RSS", 2009, 3, 1, 6, 49, "Sunrise", "PST");
        w.WriteFooter("RSS");

        QXmlStreamReader xml(buffer.data());
        QStringList titles;
        QStringList dates;
        QString description;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) continue;
            if (xml.name() == QLatin1String("title"))
                titles << xml.readElementText();
            else if (xml.name() == QLatin1String("pubDate"))
                dates << xml.readElementText();
            else if (xml.name() == QLatin1String("description"))
                description = xml.readElementText();
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(titles, (QStringList{"Tide Calendar for " + location,
                                      "4.41 feet  Low Tide & <rising>", "Sunrise"}));
        QCOMPARE(description, "Tide Calendar of events for " + location + " ");
        QCOMPARE(dates.size(), 3);
        QCOMPARE(dates.at(2), QString("Sun, 01 Mar 2009 06:49:00 -0800"));
    }

    // Texts from outside (tide's output, the listing) may hold characters a format cannot
    // hold: the event is still written, the file stays valid.
    void unwritableCharacters_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("location");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("written");
        const QString nul(QChar(0));
        QTest::newRow("iCal control characters, tab kept")
            << "iCal"
            << "Seattle"
            << "4.41 feet\x01 Low\x7fTide\tx"
            << QByteArray("SUMMARY:4.41 feet\xef\xbf\xbd Low\xef\xbf\xbdTide\tx at 01:03\n");
        QTest::newRow("iCal calendar name")
            << "iCal"
            << "Sea\x1bttle"
            << "Sunrise" << QByteArray("X-WR-CALNAME;VALUE=TEXT:Sea\xef\xbf\xbdttle\n");
        QTest::newRow("RSS control characters and noncharacters")
            << "RSS"
            << "Seattle"
            << "a" + nul +
                   "b\x02"
                   "c" +
                   QChar(0xFFFE) + "d\x7f\te\nf"
            << QByteArray(
                   "<title>a\xef\xbf\xbd"
                   "b\xef\xbf\xbd"
                   "c\xef\xbf\xbd"
                   "d\x7f\te\nf</title>\n");
        QTest::newRow("RSS channel title")
            << "RSS"
            << "Sea" + nul + "ttle"
            << "Sunrise" << QByteArray("<title>Tide Calendar for Sea\xef\xbf\xbdttle</title>\n");
        QTest::newRow("CSV line ends as blanks")
            << "Comma Separated Text"
            << "Seattle"
            << "4.41 feet\nLow\rTide" << QByteArray("3/1/09, 1:03 AM,4.41 feet Low Tide\r");
        QTest::newRow("Palm Desktop keeps the text")
            << "Palm Desktop"
            << "Seattle"
            << "4.41 feet\nLow\x01Tide" << QByteArray("4.41 feet\nLow\x01Tide\xfc");
    }
    void unwritableCharacters() {
        QFETCH(QString, format);
        QFETCH(QString, location);
        QFETCH(QString, text);
        QFETCH(QByteArray, written);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        CalendarWriter w(&buffer);
        QVERIFY(w.WriteHeader(format, location, kNow));
        QVERIFY(w.WriteEvent(format, 2009, 3, 1, 1, 3, text));
        QVERIFY(w.WriteFooter(format));
        QVERIFY2(buffer.data().contains(written), buffer.data().toPercentEncoding(" \n"));
        if (format == "RSS") {
            QXmlStreamReader xml(buffer.data());
            while (!xml.atEnd()) xml.readNext();
            QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        }
    }

    void rssOfARecordedMonthIsWellFormed() {
        int count = 0;
        const QByteArray rss = WriteMarch("RSS", "Admiralty Inlet & Seattle", &count);
        QXmlStreamReader xml(rss);
        int items = 0;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement &&
                xml.name() == QLatin1String("item"))
                ++items;
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(items, count);
        QCOMPARE(count, 20);
    }

    void iCalReadByLibical() {
#ifndef QUORVEX_HAVE_LIBICAL
        QSKIP("built without libical");
#else
        int count = 0;
        const QString location = "Seattle, Puget Sound; Washington";
        const QByteArray ics = WriteMarch("iCal", location, &count);
        QCOMPARE(count, 20);
        icalcomponent* cal = icalparser_parse_string(ics.constData());
        QVERIFY(cal);
        QCOMPARE(icalcomponent_isa(cal), ICAL_VCALENDAR_COMPONENT);

        int parseErrors = icalcomponent_count_properties(cal, ICAL_XLICERROR_PROPERTY);
        QString calendarName;
        bool timezoneLine = false;
        for (icalproperty* p = icalcomponent_get_first_property(cal, ICAL_X_PROPERTY); p;
             p = icalcomponent_get_next_property(cal, ICAL_X_PROPERTY)) {
            const QString name = QString::fromUtf8(icalproperty_get_x_name(p));
            if (name == "X-WR-CALNAME")  // VALUE=TEXT: parsed, unescaped, as a TEXT value
                calendarName = QString::fromUtf8(icalvalue_get_text(icalproperty_get_value(p)));
            if (name == "X-WR-TIMEZONE") timezoneLine = true;
        }
        QVERIFY(!timezoneLine);

        struct Seen {
            QString summary;
            icaltimetype start;
        };
        QList<Seen> events;
        for (icalcomponent* e = icalcomponent_get_first_component(cal, ICAL_VEVENT_COMPONENT); e;
             e = icalcomponent_get_next_component(cal, ICAL_VEVENT_COMPONENT)) {
            parseErrors += icalcomponent_count_properties(e, ICAL_XLICERROR_PROPERTY);
            events.append(
                {QString::fromUtf8(icalcomponent_get_summary(e)), icalcomponent_get_dtstart(e)});
        }
        icalcomponent_free(cal);

        QCOMPARE(parseErrors, 0);
        QCOMPARE(calendarName, location);
        QCOMPARE(events.size(), 20);
        QCOMPARE(events.at(0).summary, QString("4.41 feet  Low Tide at 01:03"));
        QCOMPARE(events.at(7).summary, QString("Moonset at 23:58"));
        QCOMPARE(events.at(14).summary, QString("-0.00 knots  Slack, Ebb Begins at 06:59"));
        const icaltimetype first = events.at(0).start;
        QCOMPARE(first.year, 2009);
        QCOMPARE(first.month, 3);
        QCOMPARE(first.day, 1);
        QCOMPARE(first.hour, 1);
        QCOMPARE(first.minute, 3);
        QVERIFY(!icaltime_is_utc(first));
        QVERIFY(!first.zone);  // floating: the station's clock time
        const icaltimetype late = events.at(7).start;
        QCOMPARE(late.hour, 23);
        QCOMPARE(late.minute, 58);
#endif
    }
};

QUORVEX_TEST_MAIN(TestCalendarWriter)
#include "tst_CalendarWriter.moc"
