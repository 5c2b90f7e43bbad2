// FullWrite  Writes that end either with every byte on the device or with the system's reason.
//
// A file system that takes only part of a block (a disk that fills up, a file size limit) gives
// no reason for the bytes it left; the reason comes with the next attempt. A device's
// errorString() after a failure of these functions therefore names it ("No space left on
// device") instead of "Unknown error".
#pragma once

#include <QByteArray>

class QFileDevice;
class QIODevice;

namespace FullWrite {

// Writes all `size` bytes to `device`, again after a partial write. False when the device
// refused some of them.
bool Write(QIODevice& device, const char* data, qsizetype size);
bool Write(QIODevice& device, const QByteArray& bytes);

// Hands everything a file device buffers to the system, again after a partial hand-over. False
// when some of it was refused.
bool Flush(QFileDevice& file);

}  // namespace FullWrite
