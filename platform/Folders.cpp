// Folders  File references by path.
#include "platform/Folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace Folders {
namespace {
QString& applicationFolderOverride() {
    static QString folder;
    return folder;
}
}  // namespace

QString ApplicationFolder() {
    if (!applicationFolderOverride().isEmpty()) return applicationFolderOverride();
    return QCoreApplication::applicationDirPath();
}

void SetApplicationFolderForTesting(const QString& folder) { applicationFolderOverride() = folder; }

QString GetFolderItem(const QString& pathOrName) {
    if (pathOrName.isEmpty()) return QString();
    if (QDir::isAbsolutePath(pathOrName)) return QDir::cleanPath(pathOrName);
    if (pathOrName.contains(QLatin1Char('/'))) return QString();
    return Child(ApplicationFolder(), pathOrName);
}

QString Child(const QString& folder, const QString& name) {
    if (folder.isEmpty()) return QString();
    return QDir::cleanPath(folder + QLatin1Char('/') + name);
}

QString Preferences() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString Temporary() { return QDir::tempPath(); }

QString Documents() { return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation); }

}  // namespace Folders
