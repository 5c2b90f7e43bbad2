// PageStream  UTF-8 text writing with failure tracking.
#include "htmltables/PageStream.h"

#include <QIODevice>
#include <QVarLengthArray>
#include <algorithm>

#include "platform/FullWrite.h"

PageStream::PageStream(QIODevice* device) : device(device) {}

bool PageStream::Write(const QString& text) { return Put(text.toUtf8()); }

bool PageStream::WriteLine(const QString& text) {
    QByteArray bytes = text.toUtf8();
    bytes.append(kLineEnding);
    return Put(bytes);
}

namespace {

bool IsAscii(QLatin1String text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

}  // namespace

bool PageStream::Write(QLatin1String text) {
    if (!IsAscii(text)) return Write(QString(text));
    return Put(text.data(), text.size());
}

bool PageStream::WriteLine(QLatin1String text) {
    if (!IsAscii(text)) return WriteLine(QString(text));
    // One write for the line and its end, as WriteLine(QString) does.
    QVarLengthArray<char, 512> line(text.size() + 1);
    std::copy(text.begin(), text.end(), line.begin());
    line[text.size()] = kLineEnding;
    return Put(line.constData(), line.size());
}

bool PageStream::Put(const QByteArray& bytes) { return Put(bytes.constData(), bytes.size()); }

bool PageStream::Put(const char* bytes, qsizetype size) {
    if (failed) return false;
    if (!device || size == 0) return true;
    if (!FullWrite::Write(*device, bytes, size)) {
        failed = true;
        error = device->errorString();
        if (error.isEmpty()) error = QStringLiteral("write refused");
    }
    return !failed;
}
