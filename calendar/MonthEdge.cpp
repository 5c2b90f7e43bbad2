// MonthEdge  Events at a month's edge that two runs print.
#include "calendar/MonthEdge.h"

#include <QDate>

void MonthEdge::Clear() { *this = MonthEdge(); }

void MonthEdge::BeginMonth(int newMonth, int newYear) {
    const bool next = (newYear == year && newMonth == month + 1) ||
                      (newYear == year + 1 && newMonth == 1 && month == 12);
    previous = next ? current : QStringList();
    current.clear();
    month = newMonth;
    year = newYear;
    lastDay = QDate(year, month, 1).daysInMonth();
}

bool MonthEdge::RecordAndCheckRepeat(const QString& line, const TideEventLine& event) {
    if (event.day == lastDay && event.hour == 23 && event.minute == 59) {
        current.append(AfterTime(line));
        return false;
    }
    if (event.day == 1 && event.hour == 0 && event.minute == 0 && !previous.isEmpty())
        return previous.removeOne(AfterTime(line));
    return false;
}

QString MonthEdge::AfterTime(const QString& line) {
    // Columns 18-19 hold AM or PM; what follows is the same in both runs' lines of one event.
    return line.mid(19);
}
