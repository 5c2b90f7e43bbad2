// XTideFolder  The search for the XTide folder.
#include "engine/XTideFolder.h"

#include <QDir>
#include <QFileInfo>

#include "platform/Folders.h"
#include "platform/ShellWord.h"

namespace XTideFolder {
namespace {

bool exists(const QString& path) { return !path.isEmpty() && QFileInfo::exists(path); }
bool isFolder(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

}  // namespace

QString TryForTideAndHarmonics(const QString& item) {
    if (!isFolder(item)) return QString();
    const QString contents = Folders::Child(item, QStringLiteral("Contents"));
    if (!isFolder(contents)) return QString();
    const QString resources = Folders::Child(contents, QStringLiteral("Resources"));
    if (!isFolder(resources)) return QString();
    if (!exists(Folders::Child(resources, TideProgram))) return QString();
    if (!exists(Folders::Child(resources, HarmonicsTCD)) &&
        !exists(Folders::Child(resources, HarmonicsTXT)))
        return QString();
    return resources;
}

QString ApplicationHolder() {
    const QString anything = Folders::GetFolderItem(QStringLiteral("anything"));
    if (anything.isEmpty()) return QString();
    return QFileInfo(anything).absolutePath();
}

QString FindInPackages() {
    for (const QString& name : {DebugPackage, Package}) {
        const QString package = Folders::GetFolderItem(name);
        if (package.isEmpty()) continue;
        const QString found = TryForTideAndHarmonics(package);
        if (!found.isEmpty()) return found;
    }
    return TryForTideAndHarmonics(ApplicationHolder());
}

bool HasHarmonicsDatabase(const QString& folder) {
    const QString item = Folders::GetFolderItem(folder);
    if (item.isEmpty()) return false;
    return exists(Folders::Child(item, HarmonicsTCD));
}

QString HarmonicsFile(const QString& folder) {
    if (folder.isEmpty()) return QString();
    const QString item = Folders::GetFolderItem(folder);
    if (item.isEmpty()) return QString();
    for (const QString& name : {HarmonicsTCD, HarmonicsTXT}) {
        const QString file = Folders::Child(item, name);
        if (exists(file)) return ShellWord::ShellPath(file);
    }
    return QString();
}

}  // namespace XTideFolder
