// CalendarSettings  Encoding and decoding of the calendar settings document.
#include "calendar/CalendarSettings.h"

#include <QStringDecoder>

#include "platform/BinaryStream.h"

bool CalendarSettings::operator==(const CalendarSettings& o) const {
    return location == o.location && firstMonth == o.firstMonth && firstYear == o.firstYear &&
           lastMonth == o.lastMonth && lastYear == o.lastYear &&
           includeHighTides == o.includeHighTides && highTideAbove == o.highTideAbove &&
           highTideBelow == o.highTideBelow && highTideBefore == o.highTideBefore &&
           highTideAfter == o.highTideAfter && includeLowTides == o.includeLowTides &&
           lowTideAbove == o.lowTideAbove && lowTideBelow == o.lowTideBelow &&
           lowTideBefore == o.lowTideBefore && lowTideAfter == o.lowTideAfter &&
           sunriseSunset == o.sunriseSunset && moonriseMoonset == o.moonriseMoonset &&
           showMoonPhases == o.showMoonPhases && outputPath == o.outputPath &&
           outputFormat == o.outputFormat;
}

QByteArray CalendarSettings::Encode() const {
    BinaryWriter w;
    w.WriteLong(kCurrentVersion);
    w.WritePString(location.toUtf8());
    w.WriteShort(firstMonth);
    w.WriteShort(firstYear);
    w.WriteShort(lastMonth);
    w.WriteShort(lastYear);
    w.WriteBoolean(includeHighTides);
    w.WritePString(highTideAbove.toUtf8());
    w.WritePString(highTideBelow.toUtf8());
    w.WriteShort(highTideBefore);
    w.WriteShort(highTideAfter);
    w.WriteBoolean(includeLowTides);
    w.WritePString(lowTideAbove.toUtf8());
    w.WritePString(lowTideBelow.toUtf8());
    w.WriteShort(lowTideBefore);
    w.WriteShort(lowTideAfter);
    w.WriteBoolean(sunriseSunset);
    w.WriteBoolean(moonriseMoonset);
    w.WriteBoolean(showMoonPhases);
    w.WritePString(outputPath.toUtf8());
    w.WriteShort(outputFormat);
    return w.Data();
}

namespace {

// A U+FEFF at the start of a text is a character of it: QString::fromUtf8 would drop it as a
// byte order mark, and the text would then not read back the same.
bool ReadText(BinaryReader& r, QString* out) {
    QByteArray bytes;
    if (!r.ReadPString(&bytes)) return false;
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    *out = utf8.decode(bytes);
    return true;
}

}  // namespace

CalendarSettings::Decoded CalendarSettings::Decode(const QByteArray& bytes) {
    Decoded d;
    BinaryReader r(bytes);
    if (!r.ReadLong(&d.version)) return d;
    d.fieldsRead = VersionField;
    d.versionOk = d.version >= 1 && d.version <= 2;
    if (!d.versionOk) return d;

    CalendarSettings& s = d.fields;
    // Each step reads one field in document order; the first that cannot be read ends the walk.
    const auto step = [&](bool ok) {
        if (ok) ++d.fieldsRead;
        return ok;
    };
    step(ReadText(r, &s.location)) && step(r.ReadShort(&s.firstMonth)) &&
        step(r.ReadShort(&s.firstYear)) && step(r.ReadShort(&s.lastMonth)) &&
        step(r.ReadShort(&s.lastYear)) && step(r.ReadBoolean(&s.includeHighTides)) &&
        step(ReadText(r, &s.highTideAbove)) && step(ReadText(r, &s.highTideBelow)) &&
        step(r.ReadShort(&s.highTideBefore)) && step(r.ReadShort(&s.highTideAfter)) &&
        step(r.ReadBoolean(&s.includeLowTides)) && step(ReadText(r, &s.lowTideAbove)) &&
        step(ReadText(r, &s.lowTideBelow)) && step(r.ReadShort(&s.lowTideBefore)) &&
        step(r.ReadShort(&s.lowTideAfter)) && step(r.ReadBoolean(&s.sunriseSunset)) &&
        step(r.ReadBoolean(&s.moonriseMoonset)) && step(r.ReadBoolean(&s.showMoonPhases)) &&
        step(ReadText(r, &s.outputPath)) && step(r.ReadShort(&s.outputFormat));
    return d;
}
