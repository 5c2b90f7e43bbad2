// EventFilter  The calendar window's event filters: which events of a month are written.
#pragma once

#include <QString>

#include "calendar/TideEventLine.h"

// The filter controls' values at the moment one event is judged. The window fills one from
// its controls for every event, so a change made during a run applies to later events.
struct FilterSettings {
    bool sunriseSunset = false;    // SunriseSunset
    bool moonriseMoonset = false;  // MoonriseMoonset
    bool showMoonPhases = false;   // ShowMoonPhases

    bool includeHighTides = false;  // IncludeHighTides
    QString highTideAbove;          // HighTideAbove text, as typed
    QString highTideBelow;          // HighTideBelow text
    int highTideBefore = -1;        // HighTideBefore ListIndex (hour 0-23, -1 none)
    int highTideAfter = -1;         // HighTideAfter ListIndex

    bool includeLowTides = false;
    QString lowTideAbove;
    QString lowTideBelow;
    int lowTideBefore = -1;
    int lowTideAfter = -1;
};

class EventFilter {
  public:
    // Sun, moon and moon-phase events by their check boxes; high and low tides by their check
    // box and ValidateTide with their own limits; any other event is always wanted.
    static bool Wanted(const TideEventLine& event, const FilterSettings& settings);

    // Height and time-of-day test of one tide. `text` is its event text (the height is the
    // number before its first blank), `hour` 0-23. `above`/`below`: the height limits as typed;
    // an empty text is no limit, any other text is a limit (0 when it holds no number). When
    // both are set and below < above, the band is inverted: heights from below to above are
    // rejected. `before`/`after`: hour indexes; 0 or -1 means no limit. Both bounds inclusive
    // (before 13 keeps 13:00, rejects 13:01); a before hour earlier than the after hour rejects
    // every tide (the window does not wrap past midnight).
    static bool ValidateTide(const QString& text, int hour, int minute, const QString& above,
                             const QString& below, int before, int after);
};
