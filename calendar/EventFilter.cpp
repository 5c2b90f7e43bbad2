// EventFilter  The calendar window's event filters and the tide height and time test.
#include "calendar/EventFilter.h"

#include "calendar/TideOutputReader.h"
#include "platform/Text.h"

bool EventFilter::Wanted(const TideEventLine& event, const FilterSettings& s) {
    switch (event.kind) {
        case TideEventKind::SunEvent:
            return s.sunriseSunset;
        case TideEventKind::MoonEvent:
            return s.moonriseMoonset;
        case TideEventKind::MoonPhase:
            return s.showMoonPhases;
        case TideEventKind::HighTide:
            return s.includeHighTides &&
                   ValidateTide(event.eventText, event.hour, event.minute, s.highTideAbove,
                                s.highTideBelow, s.highTideBefore, s.highTideAfter);
        case TideEventKind::LowTide:
            return s.includeLowTides &&
                   ValidateTide(event.eventText, event.hour, event.minute, s.lowTideAbove,
                                s.lowTideBelow, s.lowTideBefore, s.lowTideAfter);
        case TideEventKind::OtherEvent:
            return true;
    }
    return true;
}

bool EventFilter::ValidateTide(const QString& text, int hour, int minute, const QString& above,
                               const QString& below, int before, int after) {
    const double h = TideOutputReader::Height(text);
    if (!above.isEmpty() && !below.isEmpty()) {
        const double a = Text::Val(above);
        const double b = Text::Val(below);
        if (b < a) {
            if (b <= h && h <= a) return false;
        } else if (h < a || h > b) {
            return false;
        }
    } else {
        if (!above.isEmpty() && h < Text::Val(above)) return false;
        if (!below.isEmpty() && h > Text::Val(below)) return false;
    }
    const int t = hour * 60 + minute;
    if (t < after * 60) return false;
    if (before > 0 && t > before * 60) return false;
    return true;
}
