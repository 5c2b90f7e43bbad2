// ReaderProperties  The properties of the readers of outside bytes, target by target.
#include "tools/fuzz/ReaderProperties.h"

#include <time.h>

#include <QBuffer>
#include <QFile>
#include <QList>
#include <QLocale>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <algorithm>

#include "calendar/CalendarWriter.h"
#include "calendar/TideOutputReader.h"
#include "calendar/YearList.h"
#include "engine/LocationCache.h"
#include "engine/LocationGetter.h"
#include "engine/LocationName.h"
#include "htmltables/GeneratorSettings.h"
#include "platform/Text.h"

namespace ReaderProperties {
namespace {

QString Shown(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.left(80).toPercentEncoding(" ,:;/()'.-"));
}
QString Shown(const QString& text) { return Shown(text.toUtf8()); }

// ---- listing ----------------------------------------------------------------------------------

QByteArray TrimBlanks(QByteArray bytes) {
    while (bytes.startsWith(' ')) bytes.remove(0, 1);
    while (bytes.endsWith(' ')) bytes.chop(1);
    return bytes;
}

QString Listing(const QByteArray& bytes) {
    LocationGetter getter;
    const QStringList names = getter.Parse(bytes);

    // The lines after the first marker line, cut at carriage returns when the text holds one (a
    // CR LF pair ends one line), else at line feeds; bytes after the last line end are no line.
    const char lineEnd = bytes.contains('\r') ? '\r' : '\n';
    QList<QByteArray> lines;
    bool started = false;
    for (qsizetype pos = 0;;) {
        const qsizetype end = bytes.indexOf(lineEnd, pos);
        if (end < 0) break;
        const QByteArray line = bytes.mid(pos, end - pos);
        pos = end + 1;
        if (lineEnd == '\r' && pos < bytes.size() && bytes[pos] == '\n') ++pos;
        if (line.contains("Location list generated"))
            started = true;
        else if (started && !line.isEmpty())
            lines.append(line);
    }
    if (names.size() != lines.size())
        return QStringLiteral("%1 names from %2 lines after the marker")
            .arg(names.size())
            .arg(lines.size());

    for (int i = 0; i < names.size(); ++i) {
        const QByteArray name = LocationName::ToCommandBytes(names[i]);
        const QString which = QStringLiteral("name %1 \"%2\": ").arg(i).arg(Shown(name));
        if (name.size() > LocationGetter::NameBytes) return which + QStringLiteral("too long");
        if (name.contains('\n') || name.contains('\r'))
            return which + QStringLiteral("holds a line end");
        if (name.startsWith(' ') || name.endsWith(' '))
            return which + QStringLiteral("has a blank at an end");
        // Its line's first 52 bytes, up to a line end the line may hold, less blanks at the ends.
        QByteArray cut = lines[i].left(LocationGetter::NameBytes);
        if (const qsizetype at = cut.indexOf('\n'); at >= 0) cut.truncate(at);
        if (name != TrimBlanks(cut))
            return which + QStringLiteral("is not the start of its line \"%1\"").arg(Shown(cut));
        for (const auto charset : {LocationName::Charset::Utf8, LocationName::Charset::Latin1})
            if (LocationName::ToCommandBytes(LocationName::FromListing(name, charset), charset) !=
                name)
                return which + QStringLiteral("its bytes do not come back");
    }
    return QString();
}

// ---- tide output and the calendar formats -----------------------------------------------------

const QDateTime kNow(QDate(2009, 3, 1), QTime(14, 30, 5));

// The month the output is read as: that of its first line that begins with a year of the
// window's year list and a month, else March 2009.
void MonthOf(const QStringList& lines, int* year, int* month) {
    *year = 2009;
    *month = 3;
    for (const QString& line : lines) {
        if (line.size() < 7 || line.at(4) != QLatin1Char('-')) continue;
        bool yearOk = false, monthOk = false;
        const int y = line.left(4).toInt(&yearOk);
        const int m = line.mid(5, 2).toInt(&monthOk);
        const bool digits = std::all_of(line.begin(), line.begin() + 7, [](QChar c) {
            return c == QLatin1Char('-') || (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
        });
        if (digits && yearOk && monthOk && y >= YearList::kFirstYear && m >= 1 && m <= 12) {
            *year = y;
            *month = m;
            return;
        }
    }
}

// What a text becomes where a format cannot hold a character: U+FFFD in its place.
bool XmlChar(const QString& s, int i) {
    const char16_t c = s.at(i).unicode();
    if (c == 0x9 || c == 0xA || c == 0xD) return true;
    return c >= 0x20 && c != 0xFFFE && c != 0xFFFF;
}
QString XmlCarried(const QString& s) {
    QString out = s;
    for (int i = 0; i < s.size(); ++i)
        if (!XmlChar(s, i)) out[i] = QChar(QChar::ReplacementCharacter);
    return out;
}
QString ICalCarried(const QString& s) {  // line feeds are escaped, other controls cannot be
    QString out = s;
    for (QChar& c : out)
        if ((c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\n')) ||
            c.unicode() == 0x7F)
            c = QChar(QChar::ReplacementCharacter);
    return out;
}
QString CsvCarried(const QString& s) {  // a line end would end the record
    QString out = s;
    for (QChar& c : out)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) c = QLatin1Char(' ');
    return out;
}

QString CheckRSS(const QByteArray& doc, const QString& location,
                 const QList<TideEventLine>& events) {
    QXmlStreamReader xml(doc);
    QStringList titles;
    int items = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) continue;
        if (xml.name() == QLatin1String("item")) ++items;
        if (xml.name() == QLatin1String("title")) titles.append(xml.readElementText());
    }
    if (xml.hasError())
        return QStringLiteral("RSS line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
    if (items != events.size() || titles.size() != events.size() + 1)
        return QStringLiteral("RSS holds %1 items for %2 events").arg(items).arg(events.size());
    if (titles[0] != QStringLiteral("Tide Calendar for ") + XmlCarried(location))
        return QStringLiteral("RSS channel title \"%1\"").arg(Shown(titles[0]));
    for (int i = 0; i < events.size(); ++i)
        if (titles[i + 1] != XmlCarried(events[i].eventText))
            return QStringLiteral("RSS item title \"%1\"").arg(Shown(titles[i + 1]));
    return QString();
}

// The value of an iCalendar TEXT property, unescaped; false for an unescaped ; or , or a
// backslash that escapes nothing.
bool ICalUnescape(const QByteArray& value, QString* text) {
    QByteArray out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == ';' || c == ',') return false;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i == value.size()) return false;
        const char e = value[i];
        if (e == 'n' || e == 'N')
            out += '\n';
        else if (e == '\\' || e == ';' || e == ',')
            out += e;
        else
            return false;
    }
    // A U+FEFF that begins the value is a character of it, not a byte order mark.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    *text = utf8.decode(out);
    return true;
}

QString CheckICal(const QByteArray& doc, const QString& location,
                  const QList<TideEventLine>& events) {
    if (!doc.endsWith('\n')) return QStringLiteral("iCal does not end with a line end");
    QList<QByteArray> lines = doc.split('\n');
    lines.removeLast();
    for (int n = 0; n < lines.size(); ++n)
        for (const char c : lines[n])
            if ((uchar(c) < 0x20 && c != '\t') || c == 0x7F)
                return QStringLiteral("iCal line %1 holds the control character %2")
                    .arg(n + 1)
                    .arg(int(uchar(c)));

    if (lines.size() < 2 || lines.first() != "BEGIN:VCALENDAR" || lines.last() != "END:VCALENDAR")
        return QStringLiteral("iCal is not one calendar");
    int n = 1;
    for (; n < lines.size() - 1 && lines[n] != "BEGIN:VEVENT"; ++n) {
        const QByteArray calname = "X-WR-CALNAME;VALUE=TEXT:";
        if (!lines[n].startsWith(calname)) continue;
        QString name;
        if (!ICalUnescape(lines[n].mid(calname.size()), &name) || name != ICalCarried(location))
            return QStringLiteral("iCal calendar name \"%1\"").arg(Shown(lines[n]));
    }
    int groups = 0;
    for (; n < lines.size() - 1; n += 4, ++groups) {
        if (n + 4 > lines.size() - 1 || lines[n] != "BEGIN:VEVENT" ||
            !lines[n + 1].startsWith("SUMMARY:") || !lines[n + 2].startsWith("DTSTART:") ||
            lines[n + 3] != "END:VEVENT")
            return QStringLiteral("iCal line %1 does not begin a whole event").arg(n + 1);
        if (groups >= events.size()) break;
        const TideEventLine& e = events[groups];
        QString summary;
        const QString at = QStringLiteral(" at %1:%2")
                               .arg(e.hour, 2, 10, QLatin1Char('0'))
                               .arg(e.minute, 2, 10, QLatin1Char('0'));
        if (!ICalUnescape(lines[n + 1].mid(8), &summary) ||
            summary != ICalCarried(e.eventText) + at)
            return QStringLiteral("iCal line %1 \"%2\"").arg(n + 2).arg(Shown(lines[n + 1]));
        const QByteArray start = lines[n + 2].mid(8);
        const bool dateTime = start.size() == 15 && start[8] == 'T' &&
                              std::all_of(start.begin(), start.end(), [](char c) {
                                  return c == 'T' || (c >= '0' && c <= '9');
                              });
        if (!dateTime)
            return QStringLiteral("iCal line %1 \"%2\"").arg(n + 3).arg(Shown(lines[n + 2]));
    }
    if (groups != events.size())
        return QStringLiteral("iCal holds %1 events for %2").arg(groups).arg(events.size());
    return QString();
}

// The date and time of an event in the user's short formats: a day outside the month counts on
// from its first day, and the clock time is the one tide printed, whatever the user's zone.
QByteArray ShortDate(int year, int month, const TideEventLine& e) {
    return QLocale()
        .toString(QDate(year, month, 1).addDays(e.day - 1), QLocale::ShortFormat)
        .toUtf8();
}
QByteArray ShortTime(const TideEventLine& e) {
    return QLocale().toString(QTime(e.hour, e.minute), QLocale::ShortFormat).toUtf8();
}

QString CheckPalm(const QByteArray& doc, int year, int month, const QList<TideEventLine>& events) {
    QList<QByteArray> records = doc.split(char(253));
    if (!records.last().isEmpty()) return QStringLiteral("Palm Desktop ends inside a record");
    records.removeLast();
    if (records.size() != events.size())
        return QStringLiteral("Palm Desktop holds %1 records for %2 events")
            .arg(records.size())
            .arg(events.size());
    for (int i = 0; i < records.size(); ++i) {
        const TideEventLine& e = events[i];
        const QByteArray date = ShortDate(year, month, e);
        const QList<QByteArray> expected{e.eventText.toUtf8(), date, "", ShortTime(e), date, "", "",
                                         "Not Private"};
        if (records[i].split(char(252)) != expected)
            return QStringLiteral("Palm Desktop record %1 \"%2\"").arg(i).arg(Shown(records[i]));
    }
    return QString();
}

QString CheckCSV(const QByteArray& doc, int year, int month, const QList<TideEventLine>& events) {
    QList<QByteArray> records = doc.split('\r');
    if (!records.last().isEmpty()) return QStringLiteral("CSV ends inside a record");
    records.removeLast();
    if (records.size() != events.size())
        return QStringLiteral("CSV holds %1 records for %2 events")
            .arg(records.size())
            .arg(events.size());
    for (int i = 0; i < records.size(); ++i) {
        const TideEventLine& e = events[i];
        // Date, ", ", time, "," and the text, which may hold commas of its own.
        const QByteArray expected = ShortDate(year, month, e) + ", " + ShortTime(e) + "," +
                                    CsvCarried(e.eventText).toUtf8();
        if (records[i] != expected)
            return QStringLiteral("CSV record %1 \"%2\"").arg(i).arg(Shown(records[i]));
    }
    return QString();
}

QString TideOutput(const QByteArray& bytes) {
    const QString output = TideOutputReader::OutputText(bytes);
    const QStringList lines = TideOutputReader::CutLines(output);
    int year, month;
    MonthOf(lines, &year, &month);
    const QString prefix = TideOutputReader::MonthPrefix(year, month);

    QList<TideEventLine> events;
    for (const QString& line : lines) {
        const auto e = TideOutputReader::ReadLine(line, prefix);
        if (e.has_value() != Text::Same(Text::Left(line, 7), prefix))
            return QStringLiteral("line \"%1\" read against its prefix").arg(Shown(line));
        if (!e) continue;
        if (e->day < 0 || e->day > 31 || e->hour < 0 || e->hour > 23 || e->minute < 0 ||
            e->minute > 59)
            return QStringLiteral("line \"%1\" reads as day %2, %3:%4")
                .arg(Shown(line))
                .arg(e->day)
                .arg(e->hour)
                .arg(e->minute);
        events.append(*e);
    }

    // tide's output begins with the station's name; it names the calendar here.
    const QString location = lines.isEmpty() ? QString() : lines.first();
    for (const QString& format : {QStringLiteral("iCal"), QStringLiteral("Palm Desktop"),
                                  QStringLiteral("Comma Separated Text"), QStringLiteral("RSS")}) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        CalendarWriter writer(&buffer);
        bool written = writer.WriteHeader(format, location, kNow);
        for (const TideEventLine& e : events)
            written = written &&
                      writer.WriteEvent(format, year, month, e.day, e.hour, e.minute, e.eventText);
        written = written && writer.WriteFooter(format);
        if (!written) return format + QStringLiteral(": ") + writer.ErrorString();

        QString fault;
        switch (CalendarWriter::FormatOf(format)) {
            case CalendarWriter::Format::ICal:
                fault = CheckICal(buffer.data(), location, events);
                break;
            case CalendarWriter::Format::PalmDesktop:
                fault = CheckPalm(buffer.data(), year, month, events);
                break;
            case CalendarWriter::Format::CommaSeparatedText:
                fault = CheckCSV(buffer.data(), year, month, events);
                break;
            case CalendarWriter::Format::RSS:
                fault = CheckRSS(buffer.data(), location, events);
                break;
            case CalendarWriter::Format::Plain:
                break;
        }
        if (!fault.isEmpty()) return fault;
    }
    return QString();
}

// ---- location cache ---------------------------------------------------------------------------

QString LocationCacheFile(const QByteArray& bytes) {
    static QTemporaryDir dir;
    if (!dir.isValid()) return QStringLiteral("no temporary folder");
    const QString readPath = dir.filePath(QStringLiteral("read.txt"));
    const QString writtenPath = dir.filePath(QStringLiteral("written.txt"));
    {
        QFile file(readPath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size())
            return QStringLiteral("cannot write %1").arg(readPath);
    }
    QString folder;
    QStringList names;
    if (!LocationCache::Read(readPath, folder, [&](const QString& name) { names.append(name); }))
        return QStringLiteral("the cache was not read");

    QFile::remove(writtenPath);
    if (!LocationCache::Write(writtenPath, folder, names, int(names.size())))
        return QStringLiteral("the cache was not written");
    QString folderAgain;
    QStringList namesAgain;
    if (!LocationCache::Read(writtenPath, folderAgain,
                             [&](const QString& name) { namesAgain.append(name); }))
        return QStringLiteral("the written cache was not read");
    if (folderAgain != folder)
        return QStringLiteral("folder \"%1\" reads back as \"%2\"")
            .arg(Shown(folder), Shown(folderAgain));
    if (namesAgain.size() != names.size())
        return QStringLiteral("%1 names read back as %2").arg(names.size()).arg(namesAgain.size());
    for (int i = 0; i < names.size(); ++i)
        if (namesAgain[i] != names[i])
            return QStringLiteral("name %1 \"%2\" reads back as \"%3\"")
                .arg(i)
                .arg(Shown(LocationName::ToCommandBytes(names[i])),
                     Shown(LocationName::ToCommandBytes(namesAgain[i])));
    return QString();
}

// ---- generator settings -----------------------------------------------------------------------

QString GeneratorSettingsDocument(const QByteArray& bytes) {
    const GeneratorSettings read = GeneratorSettings::Decode(bytes);
    const QByteArray written = read.Encode();
    if (written.count('\n') != 9) return QStringLiteral("not nine lines written");
    if (GeneratorSettings::Decode(written) != read)
        return QStringLiteral("the document written does not read the same");
    return QString();
}

}  // namespace

void UseZoneWithDaylightSaving() {
    qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    tzset();
}

QStringList Targets() {
    return {QStringLiteral("listing"), QStringLiteral("tide-output"),
            QStringLiteral("location-cache"), QStringLiteral("generator-settings")};
}

QString Check(const QString& target, const QByteArray& bytes) {
    if (target == QLatin1String("listing")) return Listing(bytes);
    if (target == QLatin1String("tide-output")) return TideOutput(bytes);
    if (target == QLatin1String("location-cache")) return LocationCacheFile(bytes);
    if (target == QLatin1String("generator-settings")) return GeneratorSettingsDocument(bytes);
    return QStringLiteral("no target %1").arg(target);
}

}  // namespace ReaderProperties
