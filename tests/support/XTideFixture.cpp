// XTideFixture  A temporary XTide folder with the stand-in tide, for tests.
#include "support/XTideFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/Folders.h"

namespace {
const char kFailureVariable[] = "QUORVEX_STANDIN_FAIL";
}

XTideFixture::XTideFixture(const QString& dataFolder, const QString& appFolderName) {
    if (!dir.isValid()) return;
    root = dir.path() + QLatin1Char('/') + appFolderName;
    const QString resources = xtideFolder();
    if (!QDir().mkpath(resources)) return;
    if (!QFile::copy(QStringLiteral(QUORVEX_STANDIN_TIDE), tidePath())) return;
    QFile::setPermissions(tidePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                          QFileDevice::ExeGroup);
    if (!QFile::link(QFileInfo(dataFolder).absoluteFilePath(),
                     resources + QStringLiteral("/standin-data")))
        return;
    QFile harmonics(harmonicsPath());
    if (!harmonics.open(QIODevice::WriteOnly)) return;
    harmonics.write("placeholder harmonics database for the tide stand-in\n");
    valid = true;
}

XTideFixture::~XTideFixture() {
    clearFailure();
    if (appFolderSet) Folders::SetApplicationFolderForTesting(QString());
}

QString XTideFixture::appFolder() const { return root; }

QString XTideFixture::xtideFolder() const {
    return root + QStringLiteral("/Quorvex.app/Contents/Resources");
}

QString XTideFixture::tidePath() const { return xtideFolder() + QStringLiteral("/tide"); }

QString XTideFixture::harmonicsPath() const {
    return xtideFolder() + QStringLiteral("/harmonics.tcd");
}

void XTideFixture::useAsApplicationFolder() {
    Folders::SetApplicationFolderForTesting(root);
    appFolderSet = true;
}

void XTideFixture::setFailure(const QByteArray& switches) { qputenv(kFailureVariable, switches); }

void XTideFixture::clearFailure() { qunsetenv(kFailureVariable); }

bool XTideFixture::removeTide() { return QFile::remove(tidePath()); }

bool XTideFixture::makeTideNotExecutable() {
    return QFile::setPermissions(
        tidePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
}

bool XTideFixture::removeHarmonics() { return QFile::remove(harmonicsPath()); }

QString XTideFixture::defaultDataFolder() { return QStringLiteral(QUORVEX_TEST_FIXTURES "/xtide"); }

QString XTideFixture::sampleDataFolder() {
    return QDir::cleanPath(QStringLiteral(QUORVEX_TEST_FIXTURES "/../../tools/sample"));
}
