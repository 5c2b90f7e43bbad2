// TideOutputReader  Reads one month of tide's prediction output: cuts it into lines and turns
// each line of the month into a TideEventLine. Shared by the calendar and HTML windows.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

#include "calendar/TideEventLine.h"

// Use: build one reader per month from the output text, then call NextLine() until it returns
// false and ReadLine() on each line. The reader never yields to the event loop and reads no
// control: the caller offers the event loop a turn after every line and reads its filter controls
// afresh for every event. The reader owns its copy of the text, so nothing done during a yield
// disturbs it.
class TideOutputReader {
  public:
    // `output` is the month's whole output (see OutputText). The line separator is the carriage
    // return when the text holds one anywhere, otherwise the line feed; the other character
    // stays in the lines as an ordinary character.
    explicit TideOutputReader(const QString& output);

    // The next line, cut forward at the separator (without it). Returns false when no separator
    // is left: text after the last separator is never read. Two separators in a row give an
    // empty line.
    bool NextLine(QString* line);

    // The text of tide's output bytes: UTF-8 when the bytes are valid UTF-8 (tide under a UTF-8
    // locale), otherwise Latin-1 (tide under the C locale). Prediction lines are ASCII either
    // way; only station names in the header differ.
    static QString OutputText(const QByteArray& bytes);

    // Every line NextLine() would give, in order (for callers that want them at once).
    static QStringList CutLines(const QString& output);

    // "YYYY-MM", e.g. "2009-03" for March 2009.
    static QString MonthPrefix(int year, int month);

    // The event of `line`, or nullopt when its first seven characters are not `monthPrefix`
    // (case-blind). Columns (1-based): day 9-10, hour 12-13 on the 12-hour clock, minute 15-16,
    // AM/PM letter 18 ("p" in either case is PM). Columns that hold no number, or one outside
    // 0-31 (day), 0-23 (hour) or 0-59 (minute), read as 0. 12 AM becomes hour 0, 1 PM to 11 PM
    // become 13 to 23.
    static std::optional<TideEventLine> ReadLine(const QString& line, const QString& monthPrefix);

    // The event text of a prediction line: from column 18 on, the AM/PM word, then the zone
    // word (when one starts by column 25), then blanks are passed over; the rest is the text.
    // Zones of any width ("PST", "AKST", "ChST") give the same text.
    static QString EventText(const QString& line);

    // The zone word of a prediction line: the word after the AM/PM word when it starts by
    // column 25 (as EventText passes it over); "" when there is none.
    static QString ZoneWord(const QString& line);

    // First match wins, all case-blind: "sun" prefix SunEvent; "moon" prefix MoonEvent;
    // "first"/"new"/"full"/"last" prefix MoonPhase; "high" anywhere HighTide; "low" anywhere
    // LowTide; else OtherEvent.
    static TideEventKind Classify(const QString& eventText);

    // The number before the first blank of the event text; 0 when there is none.
    static double Height(const QString& eventText);

  private:
    QString text;
    QChar separator;
    int start = 0;  // 0-based position where the next line begins
};
