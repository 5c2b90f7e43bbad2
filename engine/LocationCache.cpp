// LocationCache  Reading and writing "Quorvex Locations.txt".
#include "engine/LocationCache.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "engine/LocationName.h"
#include "platform/Folders.h"
#include "platform/WholeFile.h"

namespace LocationCache {
namespace {

// A line ends at its line feed; carriage returns before it belong to the line end (a file
// that went through CR LF conversion twice ends its lines in CR CR LF). No value ends in one, so
// whatever is read is written back and reads the same.
QByteArray withoutLineEnd(QByteArray line) {
    if (line.endsWith('\n')) line.chop(1);
    while (line.endsWith('\r')) line.chop(1);
    return line;
}

// The whole cache in `bytes`, open in `lines` for reading line by line; false when it cannot be
// read, as a named pipe that nothing writes to cannot.
bool openCache(const QString& path, QByteArray& bytes, QBuffer& lines) {
    if (!WholeFile::Read(path, &bytes)) return false;
    lines.setBuffer(&bytes);
    return lines.open(QIODevice::ReadOnly);
}

// Whether the cache at `path` holds at least one name line after the folder line.
bool holdsNames(const QString& path) {
    QByteArray bytes;
    QBuffer file;
    if (!openCache(path, bytes, file)) return false;
    file.readLine();
    return !file.atEnd();
}

}  // namespace

QString Path() {
    const QString preferences = Folders::Preferences();
    if (preferences.isEmpty()) return QString();
    return Folders::Child(preferences, FileName);
}

bool Read(const QString& path, QString& folder, const std::function<void(const QString&)>& entry) {
    if (path.isEmpty() || QFileInfo(path).isDir()) return false;
    QByteArray bytes;
    QBuffer file;
    if (!openCache(path, bytes, file)) return false;
    // Byte order marks that an editor put before the folder line are not part of the folder
    // (decodeName drops one itself, and a second would then not read back the same).
    QByteArray folderLine = withoutLineEnd(file.readLine());
    while (folderLine.startsWith("\xEF\xBB\xBF")) folderLine.remove(0, 3);
    folder = QFile::decodeName(folderLine);
    while (!file.atEnd()) {
        const QString name = LocationName::FromListing(withoutLineEnd(file.readLine()));
        if (entry) entry(name);
    }
    return true;
}

bool Write(const QString& path, const QString& folder, const QStringList& names, int count,
           const std::function<void()>& afterLine) {
    if (path.isEmpty() || QFileInfo(path).isDir()) return false;
    count = qBound(0, count, int(names.size()));
    if (count == 0 && holdsNames(path)) return false;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(QFile::encodeName(folder) + '\n');
    for (int i = 0; i < count; ++i) {
        file.write(LocationName::ToCommandBytes(names.at(i)) + '\n');
        if (afterLine) afterLine();
    }
    // The flush shows a full disk, which commit() would not report.
    return file.flush() && file.commit();
}

}  // namespace LocationCache
