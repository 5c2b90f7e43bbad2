// TideOutputReader  Cutting and column reading of tide's monthly prediction output.
#include "calendar/TideOutputReader.h"

#include <QStringDecoder>
#include <algorithm>

#include "platform/Text.h"

TideOutputReader::TideOutputReader(const QString& output)
    : text(output), separator(output.contains(QChar(13)) ? QChar(13) : QChar(10)) {}

bool TideOutputReader::NextLine(QString* line) {
    const int at = text.indexOf(separator, start);
    if (at < 0) return false;
    if (line) *line = text.mid(start, at - start);
    start = at + 1;
    return true;
}

QString TideOutputReader::OutputText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8.decode(bytes);
    if (!utf8.hasError()) return decoded;
    return QString::fromLatin1(bytes);
}

QStringList TideOutputReader::CutLines(const QString& output) {
    QStringList lines;
    TideOutputReader reader(output);
    QString line;
    while (reader.NextLine(&line)) lines.append(line);
    return lines;
}

QString TideOutputReader::MonthPrefix(int year, int month) {
    return Text::Format(year, QStringLiteral("0000")) + QLatin1Char('-') +
           Text::Format(month, QStringLiteral("00"));
}

std::optional<TideEventLine> TideOutputReader::ReadLine(const QString& line,
                                                        const QString& monthPrefix) {
    // The columns are read in place (Text::Left and Text::Mid of the same positions).
    const QStringView view(line);
    if (view.left(7).compare(monthPrefix, Qt::CaseInsensitive) != 0) return std::nullopt;
    // A column that holds a number its field cannot have (a line of another layout) reads as 0,
    // like one that holds no number: the writers then never see a day, hour or minute that
    // makes no date.
    const auto column = [&view](int start, int highest) {
        const int value = Text::ToInt32(Text::Val(view.mid(start, 2)));
        return value >= 0 && value <= highest ? value : 0;
    };
    TideEventLine event;
    event.day = column(8, 31);
    int hour = column(11, 23);
    event.minute = column(14, 59);
    const bool pm = view.mid(17, 1).compare(QLatin1String("p"), Qt::CaseInsensitive) == 0;
    if (pm && hour < 12)
        hour += 12;
    else if (!pm && hour == 12)
        hour = 0;
    event.hour = hour;
    event.eventText = EventText(line);
    event.zone = ZoneWord(line);
    event.kind = Classify(event.eventText);
    return event;
}

namespace {

// Where the zone word of a prediction line begins and ends (0-based, end excluded); an empty span
// at the first character after the AM/PM word's blanks when there is no zone word.
struct ZoneSpan {
    int begin = 0;
    int end = 0;
};

ZoneSpan ZoneWordSpan(const QString& line) {
    const int n = line.size();
    int i = 17;  // the AM/PM word starts at column 18
    while (i < n && line.at(i) != QLatin1Char(' ')) ++i;
    while (i < n && line.at(i) == QLatin1Char(' ')) ++i;
    ZoneSpan span{i, i};
    // The zone abbreviation starts at column 21 in tide's layout; a word that only starts
    // after column 25 is already the event.
    if (i < 25)
        while (span.end < n && line.at(span.end) != QLatin1Char(' ')) ++span.end;
    return span;
}

}  // namespace

QString TideOutputReader::EventText(const QString& line) {
    const int n = line.size();
    int i = ZoneWordSpan(line).end;
    while (i < n && line.at(i) == QLatin1Char(' ')) ++i;
    return i < n ? line.mid(i) : QString();
}

QString TideOutputReader::ZoneWord(const QString& line) {
    const ZoneSpan span = ZoneWordSpan(line);
    return line.mid(span.begin, span.end - span.begin);
}

TideEventKind TideOutputReader::Classify(const QString& eventText) {
    // Compared in place, case-blind as Text::Same and Text::InStr are: this runs for every line.
    // Tide prints ASCII, whose letters compare case-blind by their lower case; any other text
    // takes QString's case folding, which agrees with that on ASCII.
    const bool ascii =
        std::all_of(eventText.begin(), eventText.end(), [](QChar c) { return c.unicode() < 128; });
    auto lower = [](char16_t c) { return char16_t(c >= u'A' && c <= u'Z' ? c + 32 : c); };
    auto at = [&](qsizetype from, const char* word) {  // word in lower case
        for (qsizetype i = 0; word[i]; ++i)
            if (from + i >= eventText.size() || lower(eventText.at(from + i).unicode()) != word[i])
                return false;
        return true;
    };
    auto starts = [&](const char* word) {
        if (!ascii) return eventText.startsWith(QLatin1String(word), Qt::CaseInsensitive);
        return at(0, word);
    };
    auto holds = [&](const char* word) {
        if (!ascii) return eventText.contains(QLatin1String(word), Qt::CaseInsensitive);
        for (qsizetype from = 0; from < eventText.size(); ++from)
            if (at(from, word)) return true;
        return false;
    };
    if (starts("sun")) return TideEventKind::SunEvent;
    if (starts("moon")) return TideEventKind::MoonEvent;
    if (starts("first") || starts("new") || starts("full") || starts("last"))
        return TideEventKind::MoonPhase;
    if (holds("high")) return TideEventKind::HighTide;
    if (holds("low")) return TideEventKind::LowTide;
    return TideEventKind::OtherEvent;
}

double TideOutputReader::Height(const QString& eventText) {
    // A text that begins with a blank has an empty first field, hence height 0.
    return Text::Val(Text::NthField(eventText, QStringLiteral(" "), 1));
}
