// GlobalModule  The shared date and time helpers: the length of a month and the 12-hour clock text.
#pragma once

#include <QString>

namespace GlobalModule {

// Days of `month` (1 to 12) in `year`. Any month other than the 31- and 30-day months follows the
// February rule: 29 when year mod 4 is 0, else 28.
int DaysInMonth(int month, int year);

// `minutes` after midnight as "hh:mm AM" / "hh:mm PM" with a two-digit hour; hours 0 and 12 read
// "12". Values of a day or more do not wrap (1500 gives "13:00 PM"); negative values go through
// unchanged (truncation toward zero, remainder with the sign of the minutes).
QString FormatHHMM(int minutes);

}  // namespace GlobalModule
