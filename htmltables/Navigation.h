// Navigation  The row of links to the previous and the next month's page, written above and
// below every monthly tide table.
#pragma once

#include <functional>

class PageStream;

// The period of a run as the window's four period popups give it at the moment of reading:
// first/last month 1-12 (popup index + 1, so 0 when nothing is selected), years as the popup
// texts read (Val).
struct TablePeriod {
    int firstMonth = 0;
    int firstYear = 0;
    int lastMonth = 0;
    int lastYear = 0;
};

// Reads the period popups afresh; called once for every navigation row.
using TablePeriodSource = std::function<TablePeriod()>;

namespace Navigation {

// Five lines: the table start, the previous-month cell, the middle cell, the next-month cell,
// the table end. The cells link to "YYYY-MM-tides.html" of the neighbouring month (January's
// previous is December of the year before, December's next January of the year after) only
// where the run writes that page: the previous cell holds only "&nbsp" at the period's first
// month (or before it), the next cell wherever the next month lies after the period's last, as
// the month step of the run decides; so the only page of a period whose last month lies before
// its first links nowhere.
void GenerateNavigation(PageStream& page, int month, int year, const TablePeriod& period);

}  // namespace Navigation
