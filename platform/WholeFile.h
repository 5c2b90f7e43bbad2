// WholeFile  Reading a document or a cache whole, without waiting for a writer that never comes.
//
// An ordinary open of a named pipe waits until some program opens it for writing, for ever when
// none does. This open never waits: a pipe (or a device) that nothing writes to holds no
// document and reads as a file that cannot be opened. A pipe that a program holds open for
// writing is read until that program closes it, as a shell's redirection into it expects.
#pragma once

#include <QByteArray>
#include <QString>

namespace WholeFile {

// Reads everything the file `path` names holds into `bytes`. False, with `bytes` empty, when
// there is no such file, it cannot be opened or read, it is a folder, or it is a pipe or device
// that nothing writes to. An empty regular file reads as true with no bytes.
bool Read(const QString& path, QByteArray* bytes);

}  // namespace WholeFile
