// GeneratorSettings  Encoding and decoding of the generator settings document.
#include "htmltables/GeneratorSettings.h"

#include <QStringDecoder>
#include <QStringList>

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
    for (const QString& line : lines) {
        out += line.toUtf8();
        out += '\n';
    }
    return out;
}

namespace {

// The first `count` lines of `bytes`; fewer when the text ends sooner. Byte order marks that an
// editor put at the start of the document are not part of line 1; any other U+FEFF is a
// character of its line (QString::fromUtf8 would drop one at the start of every line, and a
// line would then not read back the same).
QStringList ReadLines(const QByteArray& bytes, int count) {
    QStringList lines;
    qsizetype pos = 0;
    const qsizetype n = bytes.size();
    while (bytes.mid(pos, 3) == "\xEF\xBB\xBF") pos += 3;
    while (lines.size() < count && pos < n) {
        qsizetype end = pos;
        while (end < n && bytes[end] != '\n' && bytes[end] != '\r') ++end;
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                      QStringDecoder::Flag::ConvertInitialBom);
        lines.append(utf8.decode(QByteArrayView(bytes.constData() + pos, end - pos)));
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
