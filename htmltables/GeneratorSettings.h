// GeneratorSettings  The nine lines of a generator settings document.
#pragma once

#include <QByteArray>
#include <QString>

// The texts the generator window's controls show, one per line of the document, in line order.
// Pop-ups are stored by the text of their selected item.
struct GeneratorSettings {
    QString location;         // line 1
    QString firstMonth;       // line 2
    QString firstYear;        // line 3
    QString lastMonth;        // line 4
    QString lastYear;         // line 5
    QString outputPath;       // line 6
    QString daylightMargin;   // line 7
    QString maximumHeight;    // line 8
    bool alsoGenCSV = false;  // line 9: "true" or "false"

    bool operator==(const GeneratorSettings& other) const;
    bool operator!=(const GeneratorSettings& other) const { return !(*this == other); }

    // The nine lines as UTF-8, each ended by "\n". A text holding a line ending is written as
    // it is (and shifts the lines after it when read back). The location is written with the
    // bytes it was listed with (LocationName), so a name cut inside a character comes back whole.
    QByteArray Encode() const;
    // Reads any bytes as lines ended by "\n", "\r\n" or "\r"; a missing line reads as "", lines
    // after the ninth are ignored, byte order marks that begin the document are skipped. Line 9
    // is true when it equals "true" ignoring letter case.
    static GeneratorSettings Decode(const QByteArray& bytes);
    // False for bytes that hold a NUL byte: no text file does, and every calendar settings
    // document does (its first four bytes hold its version). Such a file is no settings document
    // of this window and must not be read as one.
    static bool IsTextDocument(const QByteArray& bytes);
};
