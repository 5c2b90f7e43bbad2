// tst_DesktopEntry  The desktop integration files: the MIME types of the two settings documents
// and the application entry that says which documents the desktop opens with Quorvex. Only
// calendar settings open from the desktop; generator settings open in the generator window's
// own dialog, so the entry must not claim them. The installed entry's Exec is tst_Install's.
#include <QFile>
#include <QMap>
#include <QXmlStreamReader>
#include <QtTest>

#include "core/FileTypes.h"
#include "support/TestMain.h"

namespace {

QString DesktopFile(const char* name) {
    return QStringLiteral(QUORVEX_TEST_FIXTURES "/../../core/desktop/") + QLatin1String(name);
}

// The value of `key` in the [Desktop Entry] group.
QString EntryValue(const QString& path, const QString& key) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return QStringLiteral("<unreadable>");
    bool inEntry = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) inEntry = line == QLatin1String("[Desktop Entry]");
        if (inEntry && line.startsWith(key + QLatin1Char('='))) return line.mid(key.size() + 1);
    }
    return QString();
}

// MIME type -> its glob patterns, as the shared MIME-info file declares them.
QMap<QString, QStringList> MimeGlobs(const QString& path) {
    QMap<QString, QStringList> globs;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return globs;
    QXmlStreamReader xml(&file);
    QString type;
    while (!xml.atEnd()) {
        if (!xml.readNextStartElement()) continue;
        if (xml.name() == QLatin1String("mime-type")) {
            type = xml.attributes().value(QLatin1String("type")).toString();
            globs[type];
        } else if (xml.name() == QLatin1String("glob")) {
            globs[type] << xml.attributes().value(QLatin1String("pattern")).toString();
        }
    }
    if (xml.hasError()) globs[QStringLiteral("<xml error>")] << xml.errorString();
    return globs;
}

}  // namespace

class tst_DesktopEntry : public QObject {
    Q_OBJECT
  private slots:
    void settingsDocuments_data();
    void settingsDocuments();
    void entryClaimsOnlyCalendarSettings();
};

void tst_DesktopEntry::settingsDocuments_data() {
    QTest::addColumn<QString>("typeName");
    QTest::addColumn<QString>("mimeType");
    QTest::addColumn<bool>("opensFromDesktop");
    QTest::newRow("calendar settings") << "quorvex"
                                       << "application/x-quorvex-settings" << true;
    QTest::newRow("generator settings") << "tidehtml"
                                        << "application/x-tidehtml-settings" << false;
}

// Both settings documents stay registered (file managers and dialogs know them by their
// extension); the application entry claims a document only when Quorvex opens it from there.
void tst_DesktopEntry::settingsDocuments() {
    QFETCH(QString, typeName);
    QFETCH(QString, mimeType);
    QFETCH(bool, opensFromDesktop);
    const FileType* type = FileTypes::ByName(typeName);
    QVERIFY(type);
    const QMap<QString, QStringList> globs = MimeGlobs(DesktopFile("quorvex-mime.xml"));
    QCOMPARE(globs.value(mimeType), QStringList{QLatin1Char('*') + type->Extensions});

    const QStringList claimed =
        EntryValue(DesktopFile("quorvex.desktop.in"), QStringLiteral("MimeType"))
            .split(QLatin1Char(';'), Qt::SkipEmptyParts);
    QCOMPARE(claimed.contains(mimeType), opensFromDesktop);
}

void tst_DesktopEntry::entryClaimsOnlyCalendarSettings() {
    QCOMPARE(EntryValue(DesktopFile("quorvex.desktop.in"), QStringLiteral("MimeType")),
             QStringLiteral("application/x-quorvex-settings;"));
}

QUORVEX_TEST_MAIN(tst_DesktopEntry)
#include "tst_DesktopEntry.moc"
