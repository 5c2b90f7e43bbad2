// YearList  The years offered by the period popups of both windows: "2008" first (stored calendar
// settings compute popup indexes from it), then every year up to ten years after the current one.
#pragma once

#include <QString>
#include <QStringList>

class QComboBox;

namespace YearList {

constexpr int kFirstYear = 2008;
constexpr int kYearsAhead = 10;

// The last year offered: the current local year plus kYearsAhead.
int LastYear();
// "2008", "2009", ... up to LastYear(), as texts.
QStringList Items();
// Fills a popup with Items() (after removing what it held); no item is selected afterwards but
// the first, as a fresh popup of the framework shows it.
void Fill(QComboBox* popup);
// The index of `year` in a list filled by Fill, clamped to the list: a year before 2008 gives 0,
// a year after the last gives the last index. With a popup the index counts from the year its
// first item reads and the clamp uses its item count; without one, from 2008 over Items().
// -1 for an empty popup.
int IndexOf(int year, const QComboBox* popup = nullptr);

}  // namespace YearList
