// CalendarSettings  The 21 fields of a calendar settings document and their byte layout.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The choices of a calendar window as stored: months, hours and the output format as popup
// indexes, the years as year numbers, the texts as the controls hold them.
struct CalendarSettings {
    // The fields in document order; a field's number is its position (1 to 21).
    enum Field {
        VersionField = 1,
        LocationField,
        FirstMonthField,
        FirstYearField,
        LastMonthField,
        LastYearField,
        IncludeHighTidesField,
        HighTideAboveField,
        HighTideBelowField,
        HighTideBeforeField,
        HighTideAfterField,
        IncludeLowTidesField,
        LowTideAboveField,
        LowTideBelowField,
        LowTideBeforeField,
        LowTideAfterField,
        SunriseSunsetField,
        MoonriseMoonsetField,
        ShowMoonPhasesField,
        OutputPathField,
        OutputFormatField,
        FieldCount = OutputFormatField
    };

    // The version this code writes; versions 1 and 2 share one layout and are both read.
    static constexpr qint32 kCurrentVersion = 2;

    QString location;
    qint16 firstMonth = 0;
    qint16 firstYear = 0;
    qint16 lastMonth = 0;
    qint16 lastYear = 0;
    bool includeHighTides = false;
    QString highTideAbove;
    QString highTideBelow;
    qint16 highTideBefore = 0;
    qint16 highTideAfter = 0;
    bool includeLowTides = false;
    QString lowTideAbove;
    QString lowTideBelow;
    qint16 lowTideBefore = 0;
    qint16 lowTideAfter = 0;
    bool sunriseSunset = false;
    bool moonriseMoonset = false;
    bool showMoonPhases = false;
    QString outputPath;
    qint16 outputFormat = 0;

    bool operator==(const CalendarSettings& other) const;
    bool operator!=(const CalendarSettings& other) const { return !(*this == other); }

    struct Decoded;

    // The whole document, version kCurrentVersion first; texts as UTF-8, never shortened.
    QByteArray Encode() const;
    // Reads a document as far as it goes; never fails and never reads past the end of `bytes`.
    static Decoded Decode(const QByteArray& bytes);
};

struct CalendarSettings::Decoded {
    qint32 version = 0;       // meaningful when fieldsRead >= VersionField
    bool versionOk = false;   // the version field was read and is 1 or 2
    int fieldsRead = 0;       // fields 1 .. fieldsRead were read completely, in order
    CalendarSettings fields;  // those fields; the rest keep their defaults

    // True when the document holds field `f` completely (and its version is accepted).
    bool Has(Field f) const { return versionOk && fieldsRead >= f; }
    bool Complete() const { return Has(FieldCount); }
};
