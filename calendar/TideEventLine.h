// TideEventLine  One event of tide's monthly prediction output, as both windows read it.
#pragma once

#include <QString>

// The kind of an event, decided from its event text (TideOutputReader::Classify).
enum class TideEventKind { SunEvent, MoonEvent, MoonPhase, HighTide, LowTide, OtherEvent };

struct TideEventLine {
    int day = 0;     // day of the month as printed, 0-31 (0 when the columns hold no day)
    int hour = 0;    // hour of the day 0-23, after the 12-hour clock conversion
    int minute = 0;  // minute as printed, 0-59 (0 when the columns hold no minute)
    // What follows the zone abbreviation, less its leading blanks; trailing blanks stay.
    // For a tide it starts with the height ("4.41 feet  Low Tide"), for a sun or moon event
    // with the event's word ("Sunrise"). The HTML tables trim it at both ends.
    QString eventText;
    // The zone word tide printed after AM or PM ("PST", "AKDT", "ChST", "+12"); "" when none.
    QString zone;
    TideEventKind kind = TideEventKind::OtherEvent;
};
