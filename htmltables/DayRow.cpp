// DayRow  Table rows, good hiking tides and their comma-separated list lines.
// A row's texts are pieces joined: joined in one allocation, not one per piece.
#define QT_USE_QSTRINGBUILDER
#include "htmltables/DayRow.h"

#include "engine/GlobalModule.h"
#include "htmltables/PageStream.h"
#include "platform/Text.h"

namespace {

const char* const kRowStart = "<tr>";
const char* const kDayStart = "<td><b><center>";
const char* const kDayEnd = "</center></b></td>";
const char* const kEmptyCell = "<td></td>";
const char* const kTideCell = "<td>";
const char* const kGoodTideCell = "<td style=\"color: rgb(51, 204, 0);\">";
const char* const kTideStart = "<small><center>";
const char* const kTideBreak = "<br>";
const char* const kTideUnit = " ft";
const char* const kTideEnd = "</center></small></td>";
const char* const kSunStart = "<td><center>";
const char* const kSunEnd = "</center></td>";
const char* const kRowEnd = "</tr>";

// The letters of the five tide columns, left to right, as the heading row names them.
const QString kTideColumns = QStringLiteral("HLHLH");
const QString kHeightMask = QStringLiteral("-#0.00");

// A missing sun time shows as an empty cell rather than a clock text of -1 minutes.
QString SunCell(int minutes) {
    const QString time = minutes < 0 ? QString() : GlobalModule::FormatHHMM(minutes);
    return QLatin1String(kSunStart) + time + QLatin1String(kSunEnd);
}

}  // namespace

void DayTides::Begin(int newDay) {
    day = newDay;
    sunrise = -1;
    sunset = -1;
    pattern.clear();
}

bool DayTides::AddTide(int minutes, float height, QChar letter) {
    const int k = int(pattern.size());
    if (k >= kMaxTides) return false;
    times[k] = minutes;
    heights[k] = height;
    pattern.append(letter);
    return true;
}

namespace DayRow {

bool GoodHikingTide(int t, float h, int sunrise, int sunset, int daylightMargin,
                    float maximumHeight) {
    return t >= sunrise + daylightMargin && t <= sunset - daylightMargin && h <= maximumHeight;
}

QString CSVVersionLine(int month, int day, int year, int t, float h) {
    return Text::Str(month) + QLatin1Char('/') + Text::Str(day) + QLatin1Char('/') +
           Text::Str(year) + QStringLiteral(", ") + GlobalModule::FormatHHMM(t) +
           QStringLiteral(", ") + Text::Format(h, kHeightMask);
}

RowResult GenerateOneDay(PageStream& page, const DayTides& tides, int month, int year,
                         const HikingStateSource& hiking, const YieldFunction& yield) {
    RowResult result;
    page.WriteLine(QLatin1String(kRowStart));
    page.WriteLine(QLatin1String(kDayStart) + Text::Str(tides.day) + QLatin1String(kDayEnd));
    int k = 0;
    for (int c = 0; c < kTideColumns.size(); ++c) {
        const bool match = k < tides.pattern.size() &&
                           tides.pattern.at(k).toCaseFolded() == kTideColumns.at(c).toCaseFolded();
        if (match) {
            const int t = tides.times[k];
            const float h = tides.heights[k];
            const HikingState state = hiking ? hiking() : HikingState();
            if (GoodHikingTide(t, h, tides.sunrise, tides.sunset, state.daylightMargin,
                               state.maximumHeight)) {
                page.Write(QLatin1String(kGoodTideCell));
                if (state.csv) {
                    PageStream csv(state.csv);
                    if (!csv.WriteLine(CSVVersionLine(month, tides.day, year, t, h)))
                        result.csvWriteFailed = true;
                }
            } else {
                page.Write(QLatin1String(kTideCell));
            }
            page.Write(QLatin1String(kTideStart));
            page.Write(GlobalModule::FormatHHMM(t) + QLatin1String(kTideBreak) +
                       Text::Format(h, kHeightMask) + QLatin1String(kTideUnit));
            page.Write(QLatin1String(kTideEnd));
            ++k;
        } else {
            page.Write(QLatin1String(kEmptyCell));
        }
        if (yield && !yield()) {
            result.finished = false;
            return result;
        }
    }
    page.WriteLine(SunCell(tides.sunrise));
    page.WriteLine(SunCell(tides.sunset));
    page.WriteLine(QLatin1String(kRowEnd));
    return result;
}

}  // namespace DayRow
