// BinaryStream  The field encodings of the binary settings documents: big-endian Int32 and Int16,
// one-byte Booleans and length-prefixed texts, with a writer and a reader that never reads past
// the end of its data.
#pragma once

#include <QByteArray>
#include <QtGlobal>

// Texts shorter than 255 bytes take one length byte and their bytes. A longer text takes the byte
// 255, its length as a big-endian unsigned 32-bit number, then its bytes; no text is shortened.
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
