// DayRow  One day's row of a monthly tide table: the day, five High/Low tide columns with the
// good hiking tides in green, sunrise and sunset; and the "csv-version.txt" line of a good tide.
#pragma once

#include <QString>
#include <array>
#include <functional>

class PageStream;
class QIODevice;

// What the generator window holds for the rows of a run, read afresh each time a tide is
// judged (the window may change it, or close "csv-version.txt", during a yield).
struct HikingState {
    int daylightMargin = 0;      // minutes kept clear after sunrise and before sunset
    float maximumHeight = 0.0f;  // highest good tide, in the unit tide prints
    QIODevice* csv = nullptr;    // the open "csv-version.txt", or nullptr when none is written
};
using HikingStateSource = std::function<HikingState()>;

// Offers the event loop a turn (the window paces the turns, see YieldPacer); returns false when
// the run must stop (its window closed or its run ended meanwhile). An empty function never
// yields and never stops.
using YieldFunction = std::function<bool()>;

// The tides and sun times of one day, in the order tide printed them.
struct DayTides {
    static constexpr int kMaxTides = 11;

    int day = -1;
    int sunrise = -1;  // minutes after midnight; -1 when the day had no sunrise line
    int sunset = -1;   // minutes after midnight; -1 when the day had no sunset line
    std::array<int, kMaxTides> times{};
    std::array<float, kMaxTides> heights{};
    QString pattern;  // "H" or "L" per stored tide; its length is the number stored

    // Starts `newDay` with no sun times and no tides (the arrays are reused).
    void Begin(int newDay);
    // Stores one tide; a day's tides past the eleventh are dropped (no row shows more than
    // five). Returns false when dropped.
    bool AddTide(int minutes, float height, QChar letter);
};

namespace DayRow {

// A tide at `t` minutes with height `h` is good when t >= sunrise + margin, t <= sunset -
// margin and h <= maximumHeight, all inclusive. A missing sun time (-1) takes part as it is,
// so a day without sunset has no good tide.
bool GoodHikingTide(int t, float h, int sunrise, int sunset, int daylightMargin,
                    float maximumHeight);

// "M/D/YYYY, hh:mm AM, h.hh": no leading zeros in the date, the height with two decimals.
QString CSVVersionLine(int month, int day, int year, int t, float h);

struct RowResult {
    bool finished = true;         // false when the yield said stop; the row is then unfinished
    bool csvWriteFailed = false;  // a line for "csv-version.txt" was refused
};

// Writes the day's five-line row to `page`. Tides fill the columns in their order: a tide goes
// into the next column of its own letter, leaving the columns between empty; tides left over
// when the five columns are used are neither shown nor listed. Each good tide shown is green
// and, when the hiking state names a csv device, gets its CSVVersionLine there. `month` and
// `year` are the page's month, for those lines. Yields after every tide column.
// A sun cell for a missing sun time (-1) is empty, so every row keeps its eight cells.
RowResult GenerateOneDay(PageStream& page, const DayTides& tides, int month, int year,
                         const HikingStateSource& hiking, const YieldFunction& yield);

}  // namespace DayRow
