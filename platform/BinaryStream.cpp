// BinaryStream  Big-endian field writer and bounds-checked field reader.
#include "platform/BinaryStream.h"

#include <QtEndian>

namespace {

constexpr unsigned char kLongTextMark = 255;

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
    if (text.size() < kLongTextMark) {
        data.append(static_cast<char>(text.size()));
    } else {
        data.append(static_cast<char>(kLongTextMark));
        char bytes[4];
        qToBigEndian<quint32>(static_cast<quint32>(text.size()), bytes);
        data.append(bytes, 4);
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
    if (length == kLongTextMark) {
        if (!Take(4, &bytes)) {
            pos = start;
            return false;
        }
        length = static_cast<qsizetype>(qFromBigEndian<quint32>(bytes));
    }
    if (!Take(length, &bytes)) {
        pos = start;
        return false;
    }
    *out = QByteArray(bytes, length);
    return true;
}
