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
// the table end. At the period's first month the previous cell and at its last month the next
// cell hold only "&nbsp"; otherwise they link to "YYYY-MM-tides.html" of the neighbouring
// month (January's previous is December of the year before, December's next January of the
// year after).
void GenerateNavigation(PageStream& page, int month, int year, const TablePeriod& period);

}  // namespace Navigation
