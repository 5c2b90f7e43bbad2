// CalendarWriter  Header, entry and footer of iCal, Palm Desktop, comma-separated text, RSS
// and plain event lines.
// Every entry is a handful of pieces joined: joined in one allocation, not one per piece.
#define QT_USE_QSTRINGBUILDER
#include "calendar/CalendarWriter.h"

#include <QDate>
#include <QFileDevice>
#include <QIODevice>
#include <QLocale>
#include <QStringList>
#include <QTime>
#include <algorithm>

#include "calendar/TideZone.h"
#include "platform/FullWrite.h"
#include "platform/Text.h"

const char* const CalendarWriter::MakerAddress = "https://quorvex.example.org/";

namespace {

const char kPalmSeparator = char(252);
const char kPalmRecordEnd = char(253);

QString Two(int value) {
    // "00" to "99" made once: an entry's two-digit fields share these texts.
    static const QStringList kTwo = [] {
        QStringList texts;
        for (int i = 0; i < 100; ++i) texts << Text::Format(i, QStringLiteral("00"));
        return texts;
    }();
    return value >= 0 && value < 100 ? kTwo.at(value) : Text::Format(value, QStringLiteral("00"));
}
QString Four(int value) { return Text::Format(value, QStringLiteral("0000")); }

// The date a Date of year, month and day stands for; a day outside the month rolls over into
// the neighbouring month (day 0 is the last day of the month before).
QDate DateOf(int year, int month, int day) { return QDate(year, month, 1).addDays(day - 1); }

// The station's clock time as a date and time of no zone: counted in UTC, so that the machine's
// own daylight-time changes never move it.
QDateTime DateTimeOf(int year, int month, int day, int hour, int minute, int second = 0) {
    return QDateTime(DateOf(year, month, day), QTime(0, 0), Qt::UTC)
        .addSecs(qint64(hour) * 3600 + qint64(minute) * 60 + second);
}

QString ShortDate(const QDateTime& at) {
    return QLocale().toString(at.date(), QLocale::ShortFormat);
}
QString ShortTime(const QDateTime& at) {
    return QLocale().toString(at.time(), QLocale::ShortFormat);
}

// A character that a format cannot hold at all is written as U+FFFD, so that the file stays
// valid and the event keeps the rest of its text.
const QChar kUnwritable(QChar::ReplacementCharacter);

// An iCalendar TEXT value: backslash, semicolon and comma escaped, line breaks as \n, and the
// other control characters, which no content line may hold (tab aside), as U+FFFD.
QString ICalText(const QString& s) {
    auto special = [](QChar c) {
        return c == QLatin1Char('\\') || c == QLatin1Char(';') || c == QLatin1Char(',') ||
               c.unicode() < 0x20 || c.unicode() == 0x7F;
    };
    if (std::none_of(s.begin(), s.end(), special)) return s;  // most texts: nothing to escape
    QString out;
    out.reserve(s.size());
    for (int i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c == QLatin1Char('\\') || c == QLatin1Char(';') || c == QLatin1Char(',')) {
            out += QLatin1Char('\\');
            out += c;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < s.size() && s.at(i + 1) == QLatin1Char('\n')) ++i;
            out += QLatin1String("\\n");
        } else if ((c.unicode() < 0x20 && c != QLatin1Char('\t')) || c.unicode() == 0x7F) {
            out += kUnwritable;
        } else {
            out += c;
        }
    }
    return out;
}

// XML character data: &, < and > escaped, and what XML 1.0 cannot hold even as a reference
// (control characters other than tab and line ends, U+FFFE, U+FFFF) as U+FFFD.
QString XmlText(const QString& s) {
    QString out;
    out.reserve(s.size());
    for (const QChar c : s) {
        const char16_t u = c.unicode();
        if (c == QLatin1Char('&'))
            out += QLatin1String("&amp;");
        else if (c == QLatin1Char('<'))
            out += QLatin1String("&lt;");
        else if (c == QLatin1Char('>'))
            out += QLatin1String("&gt;");
        else if ((u < 0x20 && u != 0x9 && u != 0xA && u != 0xD) || u == 0xFFFE || u == 0xFFFF)
            out += kUnwritable;
        else
            out += c;
    }
    return out;
}

// A comma-separated record ends at its carriage return; a line end inside the text would end it
// early, so each is written as a blank.
QString CsvText(const QString& s) {
    QString out = s;
    for (QChar& c : out)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) c = QLatin1Char(' ');
    return out;
}

QString WithoutScheme(const QString& address) {
    const int at = address.indexOf(QLatin1String("://"));
    return at < 0 ? address : address.mid(at + 3);
}

}  // namespace

CalendarWriter::Format CalendarWriter::FormatOf(const QString& outputFormat) {
    if (Text::Same(outputFormat, QStringLiteral("iCal"))) return Format::ICal;
    if (Text::Same(outputFormat, QStringLiteral("Palm Desktop"))) return Format::PalmDesktop;
    if (Text::Same(outputFormat, QStringLiteral("Comma Separated Text")))
        return Format::CommaSeparatedText;
    if (Text::Same(outputFormat, QStringLiteral("RSS"))) return Format::RSS;
    return Format::Plain;
}

CalendarWriter::CalendarWriter(QIODevice* device)
    : device(device), encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless) {}

CalendarWriter::~CalendarWriter() {
    // A run stopped within a month keeps the entries it wrote, as the file's own buffer does.
    if (!failed && !held.isEmpty() && device && device->isWritable())
        FullWrite::Write(*device, held);
}

bool CalendarWriter::Put(const QByteArray& bytes) {
    held += bytes;
    return Pass();
}

bool CalendarWriter::Line(const QString& text) {
    // Encoded straight into the held bytes, the line feed after it. A text with surrogates goes
    // through toUtf8(), which writes a lone one as "?" where the encoder would write U+FFFD.
    if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSurrogate(); })) {
        held += text.toUtf8();
        held += '\n';
        return Pass();
    }
    const qsizetype at = held.size();
    held.resize(at + encoder.requiredSpace(text.size()) + 1);
    char* end = encoder.appendToBuffer(held.data() + at, text);
    *end++ = '\n';
    held.truncate(end - held.constData());
    return Pass();
}

bool CalendarWriter::Pass() {
    if (failed) {
        held.clear();
        return false;
    }
    if (!device || !device->isWritable()) {
        held.clear();
        failed = true;
        error = QStringLiteral("The calendar file is not open for writing.");
        return false;
    }
    // Outside a month written through at once, so that a full disk or a vanished file shows at
    // this call; a month's entries go in pieces, the rest at EndMonth.
    if (inMonth && held.size() < kPiece) return true;
    const bool taken = FullWrite::Write(*device, held);
    held.resize(0);  // keeps its room for the next piece
    if (!taken) return Fail();
    return inMonth || WriteThrough();
}

bool CalendarWriter::WriteThrough() {
    if (auto* file = qobject_cast<QFileDevice*>(device); file && !FullWrite::Flush(*file))
        return Fail();
    return true;
}

bool CalendarWriter::Fail() {
    failed = true;
    error = device->errorString();
    if (error.isEmpty()) error = QStringLiteral("The calendar file could not be written.");
    return false;
}

void CalendarWriter::BeginMonth() { inMonth = true; }

bool CalendarWriter::EndMonth() {
    inMonth = false;
    return Pass();
}

bool CalendarWriter::WriteHeader(const QString& outputFormat, const QString& location) {
    return WriteHeader(outputFormat, location, QDateTime::currentDateTime());
}

bool CalendarWriter::WriteHeader(const QString& outputFormat, const QString& location,
                                 const QDateTime& now) {
    switch (FormatOf(outputFormat)) {
        case Format::ICal:
            // No X-WR-TIMEZONE: the start times are floating, the station's clock times.
            return Line(QStringLiteral("BEGIN:VCALENDAR")) && Line(QStringLiteral("VERSION:2.0")) &&
                   Line(QStringLiteral("X-WR-CALNAME;VALUE=TEXT:") + ICalText(location)) &&
                   Line(QStringLiteral("PRODID:-//Vostrane Palvarite//Quorvex 1.0//EN")) &&
                   Line(QStringLiteral("CALSCALE:GREGORIAN"));
        case Format::RSS: {
            const QString maker = QString::fromLatin1(MakerAddress);
            const QString place = XmlText(location);
            const QDate d = now.date();
            const QTime t = now.time();
            return Line(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")) &&
                   Line(QStringLiteral("<!-- generator=\"Quorvex ") + WithoutScheme(maker) +
                        QStringLiteral("\" -->")) &&
                   Line(QStringLiteral("<rss version=\"2.0\">")) && Line(QString()) &&
                   Line(QStringLiteral("<channel>")) &&
                   Line(QStringLiteral("<title>Tide Calendar for ") + place +
                        QStringLiteral("</title>")) &&
                   Line(QStringLiteral("<link>") + maker + QStringLiteral("</link>")) &&
                   Line(QStringLiteral("<description>Tide Calendar of events for ") + place +
                        QStringLiteral(" </description>")) &&
                   Line(QStringLiteral("<pubDate>") +
                        FormatToRSSDate(d.year(), d.month(), d.day(), t.hour(), t.minute(),
                                        t.second(),
                                        TideZone::Rfc2822FromSeconds(now.offsetFromUtc())) +
                        QStringLiteral("</pubDate>")) &&
                   Line(QStringLiteral("<generator>") + maker + QStringLiteral("</generator>")) &&
                   Line(QStringLiteral("<language>en</language>"));
        }
        case Format::PalmDesktop:
        case Format::CommaSeparatedText:
        case Format::Plain:
            break;
    }
    return !failed;
}

bool CalendarWriter::WriteEvent(const QString& outputFormat, int year, int month, int day, int hour,
                                int minute, const QString& eventText, const QString& zone) {
    switch (FormatOf(outputFormat)) {
        case Format::ICal:
            return Line(QStringLiteral("BEGIN:VEVENT")) &&
                   Line(QStringLiteral("SUMMARY:") + ICalText(eventText) + QStringLiteral(" at ") +
                        Two(hour) + QLatin1Char(':') + Two(minute)) &&
                   Line(QStringLiteral("DTSTART:") + Four(year) + Two(month) + Two(day) +
                        QLatin1Char('T') + Two(hour) + Two(minute) + QStringLiteral("00")) &&
                   Line(QStringLiteral("END:VEVENT"));
        case Format::PalmDesktop:
            return Put(PalmDesktopEvent(year, month, day, hour, minute, eventText));
        case Format::CommaSeparatedText:
            return Put(CommaSeparatedEvent(year, month, day, hour, minute, eventText).toUtf8());
        case Format::RSS:
            return Line(QStringLiteral("<item>")) &&
                   Line(QStringLiteral("<title>") + XmlText(eventText) +
                        QStringLiteral("</title>")) &&
                   Line(
                       QStringLiteral("<pubDate>") +
                       FormatToRSSDate(year, month, day, hour, minute, 0, TideZone::Rfc2822(zone)) +
                       QStringLiteral("</pubDate>")) &&
                   Line(QStringLiteral("</item>"));
        case Format::Plain:
            return Line(Four(year) + QLatin1Char('-') + Two(month) + QLatin1Char('-') + Two(day) +
                        QLatin1Char(' ') + eventText);
    }
    return !failed;
}

bool CalendarWriter::WriteFooter(const QString& outputFormat) {
    switch (FormatOf(outputFormat)) {
        case Format::ICal:
            return Line(QStringLiteral("END:VCALENDAR"));
        case Format::RSS:
            return Line(QStringLiteral("</channel>")) && Line(QStringLiteral("</rss>"));
        case Format::PalmDesktop:
        case Format::CommaSeparatedText:
        case Format::Plain:
            break;
    }
    return !failed;
}

QByteArray CalendarWriter::PalmDesktopEvent(int year, int month, int day, int hour, int minute,
                                            const QString& text) {
    const QDateTime at = DateTimeOf(year, month, day, hour, minute);
    const QByteArray date = ShortDate(at).toUtf8();
    QByteArray record = text.toUtf8();
    record += kPalmSeparator;
    record += date;
    record += kPalmSeparator;
    record += kPalmSeparator;
    record += ShortTime(at).toUtf8();
    record += kPalmSeparator;
    record += date;
    record += kPalmSeparator;
    record += kPalmSeparator;
    record += kPalmSeparator;
    record += "Not Private";
    record += kPalmRecordEnd;
    return record;
}

QString CalendarWriter::CommaSeparatedEvent(int year, int month, int day, int hour, int minute,
                                            const QString& text) {
    const QDateTime at = DateTimeOf(year, month, day, hour, minute);
    return ShortDate(at) + QStringLiteral(", ") + ShortTime(at) + QLatin1Char(',') + CsvText(text) +
           QChar(13);
}

QString CalendarWriter::FormatToRSSDate(int year, int month, int day, int hour, int minute,
                                        int second, const QString& zone) {
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDate date = DateTimeOf(year, month, day, hour, minute, second).date();
    // QDate counts Monday as 1 and Sunday as 7.
    const QString dayName = QLatin1String(kDays[date.dayOfWeek() % 7]);
    const QString monthName = QLatin1String(kMonths[date.month() - 1]);
    return dayName + QStringLiteral(", ") + Two(day) + QLatin1Char(' ') + monthName +
           QLatin1Char(' ') + Four(year) + QLatin1Char(' ') + Two(hour) + QLatin1Char(':') +
           Two(minute) + QLatin1Char(':') + Two(second) + QLatin1Char(' ') + zone;
}
