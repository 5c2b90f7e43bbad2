// MonthChain  The month step of a run.
#include "calendar/MonthChain.h"

namespace MonthChain {

void Next(int& month, int& year) {
    month += 1;
    if (month > 12) {
        month = 1;
        year += 1;
    }
}

bool WithinPeriod(int month, int year, int lastMonth, int lastYear) {
    return year < lastYear || (year == lastYear && month <= lastMonth);
}

}  // namespace MonthChain
