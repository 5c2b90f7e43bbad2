// Tests of the calendar formats: exact bytes of each format's header, entries and footer, the
// record builders, the RSS date, write failures, and the files read back by real consumers
// (libical, an XML reader).
#include <time.h>

#include <QBuffer>
#include <QFile>
#include <QLocale>
#include <QXmlStreamReader>

#include "calendar/CalendarWriter.h"
#include "calendar/TideOutputReader.h"
#include "support/TestMain.h"

#ifdef QUORVEX_HAVE_LIBICAL
#include <libical/ical.h>
#endif

namespace {

const QDateTime kNow(QDate(2009, 3, 1), QTime(14, 30, 5));

QByteArray Fixture(const QString& name) {
    QFile f(QStringLiteral(QUORVEX_TEST_FIXTURES "/calendar/") + name);
    if (!f.open(QIODevice::ReadOnly)) qFatal("missing fixture %s", qPrintable(name));
    return f.readAll();
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
        writer.WriteEvent(format, 2009, 3, e->day, e->hour, e->minute, e->eventText);
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
        QVERIFY(w.WriteEvent("RSS", 2009, 3, 31, 23, 59, "4.41 feet  Low Tide"));
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
                            "<pubDate>Sun, 01 Mar 2009 14:30:05 +0000</pubDate>\n"
                            "<generator>https://quorvex.example.org/</generator>\n"
                            "<language>en</language>\n"
                            "<item>\n"
                            "<title>4.41 feet  Low Tide</title>\n"
                            "<pubDate>Tue, 31 Mar 2009 23:59:00 +0000</pubDate>\n"
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

    // The times are the station's clock times: the user's daylight saving changes, on the
    // station's days or on others, move none of them.
    void recordsKeepTheClockTimeInEveryZone_data() {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("shown");
        const QByteArray pacific = "PST8PDT,M3.2.0,M11.1.0";
        const QByteArray central = "CET-1CEST,M3.5.0,M10.5.0/3";
        QTest::newRow("after the spring change")
            << pacific << QDate(2009, 3, 8) << QTime(6, 49) << "3/8/09, 6:49 AM";
        QTest::newRow("in the hour the spring change skips")
            << pacific << QDate(2009, 3, 8) << QTime(2, 30) << "3/8/09, 2:30 AM";
        QTest::newRow("after the autumn change")
            << pacific << QDate(2009, 11, 1) << QTime(20, 5) << "11/1/09, 8:05 PM";
        QTest::newRow("another zone's spring day")
            << central << QDate(2026, 3, 29) << QTime(2, 39) << "3/29/26, 2:39 AM";
        QTest::newRow("late on another zone's autumn day")
            << central << QDate(2009, 10, 25) << QTime(23, 59) << "10/25/09, 11:59 PM";
    }
    void recordsKeepTheClockTimeInEveryZone() {
        QFETCH(QByteArray, zone);
        QFETCH(QDate, date);
        QFETCH(QTime, time);
        QFETCH(QString, shown);
        const QByteArray before = qgetenv("TZ");
        const bool hadZone = qEnvironmentVariableIsSet("TZ");
        qputenv("TZ", zone);
        tzset();
        const QString csv = CalendarWriter::CommaSeparatedEvent(
            date.year(), date.month(), date.day(), time.hour(), time.minute(), "Sunrise");
        const QByteArray palm = CalendarWriter::PalmDesktopEvent(
            date.year(), date.month(), date.day(), time.hour(), time.minute(), "Sunrise");
        if (hadZone)
            qputenv("TZ", before);
        else
            qunsetenv("TZ");
        tzset();
        QCOMPARE(csv, shown + ",Sunrise\r");
        const QList<QByteArray> fields = palm.split(char(252));
        QCOMPARE(fields.value(1) + ", " + fields.value(3), shown.toUtf8());
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
        QTest::addColumn<QString>("text");
        QTest::newRow("afternoon")
            << QDate(2009, 3, 1) << QTime(14, 30) << "Sun, 01 Mar 2009 14:30:00 +0000";
        QTest::newRow("month end")
            << QDate(2009, 3, 31) << QTime(23, 59) << "Tue, 31 Mar 2009 23:59:00 +0000";
        QTest::newRow("leap day") << QDate(2008, 2, 29) << QTime(6, 0)
                                  << "Fri, 29 Feb 2008 06:00:00 +0000";
        QTest::newRow("noon") << QDate(2009, 3, 7) << QTime(12, 0, 9)
                              << "Sat, 07 Mar 2009 12:00:09 +0000";
        QTest::newRow("just after midnight")
            << QDate(2027, 12, 31) << QTime(0, 30) << "Fri, 31 Dec 2027 00:30:00 +0000";
    }
    void rssDate() {
        QFETCH(QDate, date);
        QFETCH(QTime, time);
        QTEST(CalendarWriter::FormatToRSSDate(date.year(), date.month(), date.day(), time.hour(),
                                              time.minute(), time.second()),
              "text");
    }

    // A malformed line's day 0 is written as read; the names follow the day before the 1st.
    void rssDateOfDayZero() {
        QCOMPARE(CalendarWriter::FormatToRSSDate(2009, 3, 0, 0, 0, 0),
                 QString("Sat, 00 Feb 2009 00:00:00 +0000"));
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
        w.WriteEvent("RSS", 2009, 3, 1, 1, 3, "4.41 feet  Low Tide & <rising>");
        w.WriteEvent("RSS", 2009, 3, 1, 6, 49, "Sunrise");
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
        QCOMPARE(dates.at(2), QString("Sun, 01 Mar 2009 06:49:00 +0000"));
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
