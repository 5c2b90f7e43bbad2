// settings_fuzzer  libFuzzer target for the calendar settings reader: any bytes must decode
// without a fault, and whatever decodes must survive an encode and decode unchanged.
#include <cstdint>
#include <cstdlib>

#include "calendar/CalendarSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const CalendarSettings::Decoded d = CalendarSettings::Decode(bytes);

    if (d.fieldsRead < 0 || d.fieldsRead > CalendarSettings::FieldCount) abort();
    if (d.versionOk != (d.fieldsRead >= 1 && d.version >= 1 && d.version <= 2)) abort();
    if (!d.versionOk && d.fieldsRead > 1) abort();
    if (size < 33 && d.Complete()) abort();

    // What was read, written again, reads back the same.
    const QByteArray again = d.fields.Encode();
    const CalendarSettings::Decoded d2 = CalendarSettings::Decode(again);
    if (!d2.Complete() || d2.fields != d.fields) abort();
    return 0;
}
