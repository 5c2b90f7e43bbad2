// BinaryStream  The field encodings of the binary settings documents: big-endian Int32 and Int16,
// one-byte Booleans and length-prefixed texts, with a writer and a reader that never reads past
// the end of its data.
#pragma once

#include <QByteArray>
#include <QtGlobal>

// A text is one length byte n (0 to 255) and its n bytes. Texts that one byte cannot hold take a
// long form: the byte 255, the length as a big-endian unsigned 32-bit number, then the bytes.
// Below 16 MiB that number begins with a zero byte, which no 255-byte text begins with, so a
// reader tells the two apart by the byte after the 255. A text of 16 MiB or more writes the number
// 0 and then its length as a big-endian unsigned 64-bit number. No text is shortened: a 255-byte
// text is written in the one-byte form unless it begins with a zero byte.
class BinaryWriter {
  public:
    void WriteLong(qint32 value);
    void WriteShort(qint16 value);
    // Written as 1 or 0.
    void WriteBoolean(bool value);
    void WritePString(const QByteArray& text);

    const QByteArray& Data() const { return data; }

  private:
    QByteArray data;
};

// Each Read returns false, leaves *out untouched and marks the stream as ended early when the
// data ends before the whole field; the position then stays where that field began, and every
// later Read fails as well.
class BinaryReader {
  public:
    explicit BinaryReader(const QByteArray& data) : data(data) {}

    bool ReadLong(qint32* out);
    bool ReadShort(qint16* out);
    // Any non-zero byte reads as true.
    bool ReadBoolean(bool* out);
    bool ReadPString(QByteArray* out);

    bool EndedEarly() const { return endedEarly; }
    qsizetype Position() const { return pos; }
    bool AtEnd() const { return pos >= data.size(); }

  private:
    bool Take(qsizetype count, const char** bytes);

    QByteArray data;
    qsizetype pos = 0;
    bool endedEarly = false;
};
