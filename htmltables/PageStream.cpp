// PageStream  UTF-8 text writing with failure tracking.
#include "htmltables/PageStream.h"

#include <QIODevice>

PageStream::PageStream(QIODevice* device) : device(device) {}

bool PageStream::Write(const QString& text) { return Put(text.toUtf8()); }

bool PageStream::WriteLine(const QString& text) {
    QByteArray bytes = text.toUtf8();
    bytes.append(kLineEnding);
    return Put(bytes);
}

bool PageStream::Put(const QByteArray& bytes) {
    if (failed) return false;
    if (!device || bytes.isEmpty()) return true;
    if (device->write(bytes) != bytes.size()) {
        failed = true;
        error = device->errorString();
        if (error.isEmpty()) error = QStringLiteral("write refused");
    }
    return !failed;
}
