// TideZone  The offset from UTC of the zone word tide prints on a prediction line, and the zone
// text of an RFC 2822 date.
#pragma once

#include <QString>
#include <optional>

class TideZone {
  public:
    // Minutes east of UTC. A numeric word reads as it stands: a sign and two digits of hours
    // ("+12", "-03"), or a sign, two of hours and two of minutes ("+0530"). A letter word reads by
    // the table of the zones tide prints for the stations of its harmonics database (EST, EDT,
    // CST, CDT, MST, MDT, PST, PDT, AKST, AKDT, HST, HDT, AST, ChST, SST), letter case ignored.
    // nullopt for any other word.
    static std::optional<int> OffsetMinutes(const QString& zoneWord);

    // The zone of an RFC 2822 date for a zone word: "-0800", "+1200"; "-0000" (a local time
    // whose offset is unknown) for a word that OffsetMinutes does not know.
    static QString Rfc2822(const QString& zoneWord);

    // The zone of an RFC 2822 date for an offset in seconds east of UTC, to the minute: "+0100",
    // "-0330", "+0000".
    static QString Rfc2822FromSeconds(int secondsEastOfUtc);
};
