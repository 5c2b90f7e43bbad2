// PageStream  A text output stream over an open device: Write adds nothing, WriteLine adds the
// line feed; text goes out as UTF-8. Remembers the first refused write.
#pragma once

#include <QString>

class QIODevice;

class PageStream {
  public:
    // `device` must be open for writing and outlive the stream; nullptr gives a stream that
    // drops everything and never fails (no "csv-version.txt" to write).
    explicit PageStream(QIODevice* device);

    // Both return false once any write of this stream has been refused (disk full, file gone);
    // after a refusal nothing more is written.
    bool Write(const QString& text);
    bool WriteLine(const QString& text);
    // The same for the page's fixed texts, which go out without a detour through QString.
    bool Write(QLatin1String text);
    bool WriteLine(QLatin1String text);

    bool Failed() const { return failed; }
    // The device's error text of the first refused write; "" while none failed.
    QString ErrorString() const { return error; }

    static constexpr char kLineEnding = '\n';

  private:
    bool Put(const QByteArray& bytes);
    bool Put(const char* bytes, qsizetype size);

    QIODevice* device;
    bool failed = false;
    QString error;
};
