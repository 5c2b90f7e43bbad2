// BinaryStream  Big-endian field writer and bounds-checked field reader.
#include "platform/BinaryStream.h"

#include <QtEndian>

namespace {

constexpr unsigned char kLongTextMark = 255;
// Lengths from here on do not fit the long form's 32-bit number with its zero first byte.
constexpr qsizetype kHugeText = qsizetype(1) << 24;

}  // namespace

void BinaryWriter::WriteLong(qint32 value) {
    char bytes[4];
    qToBigEndian<qint32>(value, bytes);
    data.append(bytes, 4);
}

void BinaryWriter::WriteShort(qint16 value) {
    char bytes[2];
    qToBigEndian<qint16>(value, bytes);
    data.append(bytes, 2);
}

void BinaryWriter::WriteBoolean(bool value) { data.append(value ? '\1' : '\0'); }

void BinaryWriter::WritePString(const QByteArray& text) {
    const qsizetype n = text.size();
    if (n < kLongTextMark || (n == kLongTextMark && text.front() != '\0')) {
        data.append(static_cast<char>(n));
    } else if (n < kHugeText) {
        data.append(static_cast<char>(kLongTextMark));
        char bytes[4];
        qToBigEndian<quint32>(static_cast<quint32>(n), bytes);
        data.append(bytes, 4);
    } else {
        data.append(static_cast<char>(kLongTextMark));
        char bytes[8];
        qToBigEndian<quint32>(0, bytes);
        data.append(bytes, 4);
        qToBigEndian<quint64>(static_cast<quint64>(n), bytes);
        data.append(bytes, 8);
    }
    data.append(text);
}

bool BinaryReader::Take(qsizetype count, const char** bytes) {
    if (endedEarly || count > data.size() - pos) {
        endedEarly = true;
        return false;
    }
    *bytes = data.constData() + pos;
    pos += count;
    return true;
}

bool BinaryReader::ReadLong(qint32* out) {
    const char* bytes = nullptr;
    if (!Take(4, &bytes)) return false;
    *out = qFromBigEndian<qint32>(bytes);
    return true;
}

bool BinaryReader::ReadShort(qint16* out) {
    const char* bytes = nullptr;
    if (!Take(2, &bytes)) return false;
    *out = qFromBigEndian<qint16>(bytes);
    return true;
}

bool BinaryReader::ReadBoolean(bool* out) {
    const char* bytes = nullptr;
    if (!Take(1, &bytes)) return false;
    *out = *bytes != 0;
    return true;
}

bool BinaryReader::ReadPString(QByteArray* out) {
    const qsizetype start = pos;
    const char* bytes = nullptr;
    if (!Take(1, &bytes)) return false;
    qsizetype length = static_cast<unsigned char>(*bytes);
    // After the byte 255 a zero byte begins the long form's length; any other byte is the first of
    // 255 text bytes.
    if (length == kLongTextMark && pos < data.size() && data.at(pos) == '\0') {
        if (!Take(4, &bytes)) {
            pos = start;
            return false;
        }
        const quint32 longLength = qFromBigEndian<quint32>(bytes);
        if (longLength != 0) {
            length = static_cast<qsizetype>(longLength);
        } else {
            if (!Take(8, &bytes)) {
                pos = start;
                return false;
            }
            const quint64 hugeLength = qFromBigEndian<quint64>(bytes);
            if (hugeLength > static_cast<quint64>(data.size() - pos)) {
                endedEarly = true;
                pos = start;
                return false;
            }
            length = static_cast<qsizetype>(hugeLength);
        }
    }
    if (!Take(length, &bytes)) {
        pos = start;
        return false;
    }
    *out = QByteArray(bytes, length);
    return true;
}
