// GeneratorSettings  Encoding and decoding of the generator settings document.
#include "htmltables/GeneratorSettings.h"

#include <QStringDecoder>
#include <QStringList>

#include "engine/LocationName.h"
#include "platform/Text.h"

bool GeneratorSettings::operator==(const GeneratorSettings& o) const {
    return location == o.location && firstMonth == o.firstMonth && firstYear == o.firstYear &&
           lastMonth == o.lastMonth && lastYear == o.lastYear && outputPath == o.outputPath &&
           daylightMargin == o.daylightMargin && maximumHeight == o.maximumHeight &&
           alsoGenCSV == o.alsoGenCSV;
}

QByteArray GeneratorSettings::Encode() const {
    const QStringList lines{location,
                            firstMonth,
                            firstYear,
                            lastMonth,
                            lastYear,
                            outputPath,
                            daylightMargin,
                            maximumHeight,
                            alsoGenCSV ? QStringLiteral("true") : QStringLiteral("false")};
    QByteArray out;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        // The location keeps the bytes tide listed it with, a byte that is no character included.
        out += i == 0 ? LocationName::ToCommandBytes(lines[i], LocationName::Charset::Utf8)
                      : lines[i].toUtf8();
        out += '\n';
    }
    return out;
}

namespace {

// The first `count` lines of `bytes`; fewer when the text ends sooner. Byte order marks that an
// editor put at the start of the document are not part of line 1; any other U+FEFF is a
// character of its line (QString::fromUtf8 would drop one at the start of every line, and a
// line would then not read back the same). Line 1, the location, is read as LocationName reads
// a listing, so bytes that are no UTF-8 character come back as they were written.
QStringList ReadLines(const QByteArray& bytes, int count) {
    QStringList lines;
    qsizetype pos = 0;
    const qsizetype n = bytes.size();
    while (bytes.mid(pos, 3) == "\xEF\xBB\xBF") pos += 3;
    while (lines.size() < count && pos < n) {
        qsizetype end = pos;
        while (end < n && bytes[end] != '\n' && bytes[end] != '\r') ++end;
        const QByteArray line = bytes.mid(pos, end - pos);
        if (lines.isEmpty()) {
            lines.append(LocationName::FromListing(line, LocationName::Charset::Utf8));
        } else {
            QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                          QStringDecoder::Flag::ConvertInitialBom);
            lines.append(utf8.decode(line));
        }
        if (end < n && bytes[end] == '\r' && end + 1 < n && bytes[end + 1] == '\n') ++end;
        pos = end + 1;
    }
    return lines;
}

}  // namespace

GeneratorSettings GeneratorSettings::Decode(const QByteArray& bytes) {
    const QStringList lines = ReadLines(bytes, 9);
    const auto line = [&](int i) { return i < lines.size() ? lines[i] : QString(); };
    GeneratorSettings s;
    s.location = line(0);
    s.firstMonth = line(1);
    s.firstYear = line(2);
    s.lastMonth = line(3);
    s.lastYear = line(4);
    s.outputPath = line(5);
    s.daylightMargin = line(6);
    s.maximumHeight = line(7);
    s.alsoGenCSV = Text::Same(line(8), QStringLiteral("true"));
    return s;
}

bool GeneratorSettings::IsTextDocument(const QByteArray& bytes) { return !bytes.contains('\0'); }
