// MonthList  The months offered by the period popups of both windows.
#include "calendar/MonthList.h"

namespace MonthList {

QStringList Items() {
    return {QStringLiteral("January"), QStringLiteral("February"), QStringLiteral("March"),
            QStringLiteral("April"),   QStringLiteral("May"),      QStringLiteral("June"),
            QStringLiteral("July"),    QStringLiteral("August"),   QStringLiteral("September"),
            QStringLiteral("October"), QStringLiteral("November"), QStringLiteral("December")};
}

}  // namespace MonthList
