// GlobalModule  The shared date and time helpers.
#include "engine/GlobalModule.h"

#include <QStringList>

#include "platform/Text.h"

namespace GlobalModule {

int DaysInMonth(int month, int year) {
    switch (month) {
        case 1:
        case 3:
        case 5:
        case 7:
        case 8:
        case 10:
        case 12:
            return 31;
        case 4:
        case 6:
        case 9:
        case 11:
            return 30;
        default:
            return year % 4 == 0 ? 29 : 28;
    }
}

namespace {

QString ClockText(int minutes) {
    const int h = Text::ToInt32(minutes / 60.0);
    const QString m = Text::Format(minutes % 60, QStringLiteral("00"));
    if (h == 0) return QStringLiteral("12:") + m + QStringLiteral(" AM");
    if (h < 12)
        return Text::Format(h, QStringLiteral("00")) + QLatin1Char(':') + m + QStringLiteral(" AM");
    if (h == 12) return QStringLiteral("12:") + m + QStringLiteral(" PM");
    return Text::Format(h - 12, QStringLiteral("00")) + QLatin1Char(':') + m +
           QStringLiteral(" PM");
}

}  // namespace

QString FormatHHMM(int minutes) {
    // The day's 1440 texts made once: every tide table row shows several of them.
    static const QStringList kDay = [] {
        QStringList texts;
        texts.reserve(1440);
        for (int t = 0; t < 1440; ++t) texts << ClockText(t);
        return texts;
    }();
    return minutes >= 0 && minutes < 1440 ? kDay.at(minutes) : ClockText(minutes);
}

}  // namespace GlobalModule
