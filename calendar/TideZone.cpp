// TideZone  Zone words of tide's prediction lines and their RFC 2822 zone texts.
#include "calendar/TideZone.h"

#include <cstdlib>

#include "platform/Text.h"

namespace {

struct LetterZone {
    const char* word;
    int minutes;
};

// Every letter zone that tide prints for the stations of its database, and the mountain zones.
const LetterZone kLetterZones[] = {
    {"EST", -5 * 60},  {"EDT", -4 * 60}, {"CST", -6 * 60}, {"CDT", -5 * 60},  {"MST", -7 * 60},
    {"MDT", -6 * 60},  {"PST", -8 * 60}, {"PDT", -7 * 60}, {"AKST", -9 * 60}, {"AKDT", -8 * 60},
    {"HST", -10 * 60}, {"HDT", -9 * 60}, {"AST", -4 * 60}, {"ChST", 10 * 60}, {"SST", -11 * 60},
};

// The number of the two digits at `at`, or -1 when they are not both digits.
int TwoDigits(const QString& word, int at) {
    const QChar tens = word.at(at);
    const QChar ones = word.at(at + 1);
    if (tens < QLatin1Char('0') || tens > QLatin1Char('9') || ones < QLatin1Char('0') ||
        ones > QLatin1Char('9'))
        return -1;
    return (tens.unicode() - '0') * 10 + (ones.unicode() - '0');
}

std::optional<int> NumericOffset(const QString& word) {
    if (word.size() != 3 && word.size() != 5) return std::nullopt;
    const QChar sign = word.at(0);
    if (sign != QLatin1Char('+') && sign != QLatin1Char('-')) return std::nullopt;
    const int hours = TwoDigits(word, 1);
    const int minutes = word.size() == 5 ? TwoDigits(word, 3) : 0;
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59) return std::nullopt;
    const int offset = hours * 60 + minutes;
    return sign == QLatin1Char('-') ? -offset : offset;
}

QString FromMinutes(int minutes) {
    const int magnitude = std::abs(minutes);
    return (minutes < 0 ? QStringLiteral("-") : QStringLiteral("+")) +
           Text::Format(magnitude / 60, QStringLiteral("00")) +
           Text::Format(magnitude % 60, QStringLiteral("00"));
}

}  // namespace

std::optional<int> TideZone::OffsetMinutes(const QString& zoneWord) {
    if (const std::optional<int> numeric = NumericOffset(zoneWord)) return numeric;
    for (const LetterZone& zone : kLetterZones)
        if (Text::Same(zoneWord, QLatin1String(zone.word))) return zone.minutes;
    return std::nullopt;
}

QString TideZone::Rfc2822(const QString& zoneWord) {
    const std::optional<int> minutes = OffsetMinutes(zoneWord);
    return minutes ? FromMinutes(*minutes) : QStringLiteral("-0000");
}

QString TideZone::Rfc2822FromSeconds(int secondsEastOfUtc) {
    return FromMinutes(secondsEastOfUtc / 60);
}
