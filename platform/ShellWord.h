// ShellWord  Quoting of arbitrary bytes and paths as one bash word.
#pragma once

#include <QByteArray>
#include <QString>

namespace ShellWord {

// One bash word that expands to exactly `bytes`: plain ASCII words stay readable in single
// quotes; any other byte is written as a \xNN escape inside $'...'. The result is pure ASCII,
// so it survives any text conversion on its way to the shell.
QString Quote(const QByteArray& bytes);

// The shell path of a file or folder: its local file name bytes, quoted as one word.
QString ShellPath(const QString& path);

}  // namespace ShellWord
