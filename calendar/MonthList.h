// MonthList  The months offered by the period popups of both windows; an item's index is the
// month number less one.
#pragma once

#include <QStringList>

namespace MonthList {

// "January" to "December".
QStringList Items();

}  // namespace MonthList
