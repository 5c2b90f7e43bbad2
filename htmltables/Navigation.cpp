// Navigation  The previous/next month link row of a tide table page.
#include "htmltables/Navigation.h"

#include "calendar/MonthChain.h"
#include "htmltables/PageStream.h"
#include "platform/Text.h"

namespace {

const char* const kRowStart = "<table width=100%><tr>";
const char* const kNoLink = "<td width=20%>&nbsp</td>";
const char* const kMiddle = "<td width=60%>&nbsp</td>";
const char* const kRowEnd = "</tr></table>";
const char* const kLinkStart = "<td width=20%><center><a href=\"";
const char* const kPageSuffix = "-tides.html";
const char* const kPreviousEnd = "\">Previous Month</a></center></td>";
const char* const kNextEnd = "\">Next Month</a></center></td>";

QString LinkCell(int month, int year, const char* end) {
    return QLatin1String(kLinkStart) + Text::Str(year) + QLatin1Char('-') +
           Text::Format(month, QStringLiteral("00")) + QLatin1String(kPageSuffix) +
           QLatin1String(end);
}

}  // namespace

namespace Navigation {

void GenerateNavigation(PageStream& page, int month, int year, const TablePeriod& period) {
    page.WriteLine(QLatin1String(kRowStart));
    // Links only to pages the run writes: no previous link at or before the first month, and no
    // next link from the month where the run ends, the last month or, for a period whose last
    // month lies before its first, the first month itself.
    if (MonthChain::WithinPeriod(month, year, period.firstMonth, period.firstYear))
        page.WriteLine(QLatin1String(kNoLink));
    else if (month == 1)
        page.WriteLine(LinkCell(12, year - 1, kPreviousEnd));
    else
        page.WriteLine(LinkCell(month - 1, year, kPreviousEnd));
    page.WriteLine(QLatin1String(kMiddle));
    int nextMonth = month, nextYear = year;
    MonthChain::Next(nextMonth, nextYear);
    if (MonthChain::WithinPeriod(nextMonth, nextYear, period.lastMonth, period.lastYear))
        page.WriteLine(LinkCell(nextMonth, nextYear, kNextEnd));
    else
        page.WriteLine(QLatin1String(kNoLink));
    page.WriteLine(QLatin1String(kRowEnd));
}

}  // namespace Navigation
