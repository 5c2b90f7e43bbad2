// MonthChain  The month-by-month step of a run that both windows share: one month is computed at a
// time, in calendar order, and the run ends once the next month lies after the period's last.
#pragma once

namespace MonthChain {

// Moves (month, year) one month on: after December comes January of the next year.
void Next(int& month, int& year);
// Whether (month, year) still belongs to a period that ends with (lastMonth, lastYear): the year
// is before the last year, or it is the last year and the month is at most the last month.
bool WithinPeriod(int month, int year, int lastMonth, int lastYear);

}  // namespace MonthChain
