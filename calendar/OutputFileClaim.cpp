// OutputFileClaim  The calendar files runs are writing, shared by all main windows.
#include "calendar/OutputFileClaim.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

QSet<QString>& Claimed() {
    static QSet<QString> claimed;
    return claimed;
}

}  // namespace

QString OutputFileClaim::KeyOf(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

bool OutputFileClaim::IsClaimed(const QString& path) {
    return !path.isEmpty() && Claimed().contains(KeyOf(path));
}

std::unique_ptr<OutputFileClaim> OutputFileClaim::Take(const QString& path) {
    if (path.isEmpty()) return nullptr;
    const QString key = KeyOf(path);
    if (Claimed().contains(key)) return nullptr;
    Claimed().insert(key);
    return std::unique_ptr<OutputFileClaim>(new OutputFileClaim(key));
}

OutputFileClaim::~OutputFileClaim() { Claimed().remove(key); }
