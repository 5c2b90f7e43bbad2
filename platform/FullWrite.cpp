// FullWrite  Whole writes and flushes, with the reason of a refusal.
#include "platform/FullWrite.h"

#include <QFileDevice>

namespace FullWrite {

bool Flush(QFileDevice& file) {
    qint64 pending = file.bytesToWrite();
    while (!file.flush()) {
        // Only a hand-over that made progress is worth another; the one that makes none fails
        // with the reason.
        const qint64 left = file.bytesToWrite();
        if (left == 0 || left >= pending) return false;
        pending = left;
    }
    return true;
}

bool Write(QIODevice& device, const char* data, qsizetype size) {
    auto* file = qobject_cast<QFileDevice*>(&device);
    qsizetype done = 0;
    while (done < size) {
        const qint64 written = device.write(data + done, size - done);
        if (written > 0) {
            done += written;
            continue;
        }
        // A buffered file refuses a write when its full buffer could not be handed over: hand
        // over the rest, which either fails with the reason or makes room for the write.
        if (!file || file->bytesToWrite() == 0 || !Flush(*file)) return false;
    }
    return true;
}

bool Write(QIODevice& device, const QByteArray& bytes) {
    return Write(device, bytes.constData(), bytes.size());
}

}  // namespace FullWrite
