// YearList  The years of the period popups.
#include "calendar/YearList.h"

#include <QComboBox>
#include <QDate>
#include <algorithm>

#include "platform/Text.h"

namespace YearList {

int LastYear() { return QDate::currentDate().year() + kYearsAhead; }

QStringList Items() {
    QStringList items;
    for (int year = kFirstYear, last = LastYear(); year <= last; ++year)
        items.append(QString::number(year));
    return items;
}

void Fill(QComboBox* popup) {
    popup->clear();
    popup->addItems(Items());
    popup->setCurrentIndex(0);
}

int IndexOf(int year, const QComboBox* popup) {
    const int count = popup ? popup->count() : int(Items().size());
    if (count <= 0) return -1;
    const int first = popup ? Text::ToInt32(Text::Val(popup->itemText(0))) : kFirstYear;
    return std::clamp(year - first, 0, count - 1);
}

}  // namespace YearList
