// TideOutputReader  Cutting and column reading of tide's monthly prediction output.
#include "calendar/TideOutputReader.h"

#include <QStringDecoder>

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
    if (!Text::Same(Text::Left(line, 7), monthPrefix)) return std::nullopt;
    // A column that holds a number its field cannot have (a line of another layout) reads as 0,
    // like one that holds no number: the writers then never see a day, hour or minute that
    // makes no date.
    const auto column = [&line](int start, int highest) {
        const int value = Text::ToInt32(Text::Val(Text::Mid(line, start, 2)));
        return value >= 0 && value <= highest ? value : 0;
    };
    TideEventLine event;
    event.day = column(9, 31);
    int hour = column(12, 23);
    event.minute = column(15, 59);
    const bool pm = Text::Same(Text::Mid(line, 18, 1), QStringLiteral("p"));
    if (pm && hour < 12)
        hour += 12;
    else if (!pm && hour == 12)
        hour = 0;
    event.hour = hour;
    event.eventText = EventText(line);
    event.kind = Classify(event.eventText);
    return event;
}

QString TideOutputReader::EventText(const QString& line) {
    const int n = line.size();
    auto skipBlanks = [&](int i) {
        while (i < n && line.at(i) == QLatin1Char(' ')) ++i;
        return i;
    };
    auto skipWord = [&](int i) {
        while (i < n && line.at(i) != QLatin1Char(' ')) ++i;
        return i;
    };
    int i = skipWord(17);  // the AM/PM word starts at column 18
    i = skipBlanks(i);
    // The zone abbreviation starts at column 21 in tide's layout; a word that only starts
    // after column 25 is already the event.
    if (i < 25) i = skipBlanks(skipWord(i));
    return i < n ? line.mid(i) : QString();
}

TideEventKind TideOutputReader::Classify(const QString& eventText) {
    auto starts = [&](const char* word) {
        const QString w = QLatin1String(word);
        return Text::Same(Text::Left(eventText, w.size()), w);
    };
    if (starts("sun")) return TideEventKind::SunEvent;
    if (starts("moon")) return TideEventKind::MoonEvent;
    if (starts("first") || starts("new") || starts("full") || starts("last"))
        return TideEventKind::MoonPhase;
    if (Text::InStr(eventText, QStringLiteral("high")) > 0) return TideEventKind::HighTide;
    if (Text::InStr(eventText, QStringLiteral("low")) > 0) return TideEventKind::LowTide;
    return TideEventKind::OtherEvent;
}

double TideOutputReader::Height(const QString& eventText) {
    // A text that begins with a blank has an empty first field, hence height 0.
    return Text::Val(Text::NthField(eventText, QStringLiteral(" "), 1));
}
