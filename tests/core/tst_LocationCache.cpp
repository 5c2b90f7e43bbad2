// tst_LocationCache  "Quorvex Locations.txt": its line layout, the names' bytes, the files it
// cannot read or write, and the rule that a stored list is never replaced by an empty one.
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "core/App.h"
#include "engine/LocationCache.h"
#include "engine/LocationName.h"
#include "support/FileSizeLimit.h"
#include "support/TestMain.h"

namespace {

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

struct ReadResult {
    bool ok = false;
    QString folder = QStringLiteral("<untouched>");
    QList<QByteArray> names;  // as command bytes
};

ReadResult readCache(const QString& path) {
    ReadResult r;
    r.ok = LocationCache::Read(path, r.folder, [&r](const QString& name) {
        r.names.append(LocationName::ToCommandBytes(name));
    });
    return r;
}

}  // namespace

class tst_LocationCache : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void readLayout_data();
    void readLayout();
    void unreadable();
    void roundTripKeepsBytes_data();
    void roundTripKeepsBytes();
    void writeLayout();
    void writeFailureKeepsOldFile();
    void fullDiskKeepsOldFile();
    void emptyListNeverReplacesStoredNames();

    void appReadLocations();
    void appWriteLocations();

  private:
    std::unique_ptr<QTemporaryDir> dir;
    QString cachePath() const { return dir->filePath(LocationCache::FileName); }
};

void tst_LocationCache::init() {
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    QFile::remove(LocationCache::Path());
}

void tst_LocationCache::cleanup() {
    QFile::remove(LocationCache::Path());
    dir.reset();
}

void tst_LocationCache::readLayout_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QList<QByteArray>>("names");
    using L = QList<QByteArray>;
    QTest::newRow("folder and names")
        << QByteArray("/x/Resources\nA\nB\n") << QStringLiteral("/x/Resources") << L{"A", "B"};
    QTest::newRow("folder line only") << QByteArray("/x\n") << QStringLiteral("/x") << L{};
    QTest::newRow("empty file") << QByteArray() << QString() << L{};
    QTest::newRow("empty folder line") << QByteArray("\nA\n") << QString() << L{"A"};
    QTest::newRow("empty line in the middle is a name")
        << QByteArray("/x\nA\n\nB\n") << QStringLiteral("/x") << L{"A", "", "B"};
    QTest::newRow("last line without line end")
        << QByteArray("/x\nA\nB") << QStringLiteral("/x") << L{"A", "B"};
    QTest::newRow("blanks kept, nothing sorted or merged")
        << QByteArray("/x\n  Zeta  \nAlpha\nAlpha\n") << QStringLiteral("/x")
        << L{"  Zeta  ", "Alpha", "Alpha"};
    QTest::newRow("CRLF line ends") << QByteArray("/x\r\nA\r\n") << QStringLiteral("/x") << L{"A"};
    QTest::newRow("byte order marks before the folder are not part of it")
        << QByteArray(
               "\xEF\xBB\xBF\xEF\xBB\xBF/x\n\xEF\xBB\xBF"
               "A\n")
        << QStringLiteral("/x")
        << L{"\xEF\xBB\xBF"
             "A"};
    QTest::newRow("every CR before a line end belongs to it")
        << QByteArray("/x\r\r\nA\r\r\nB\rC\r\r") << QStringLiteral("/x") << L{"A", "B\rC"};
}

void tst_LocationCache::readLayout() {
    QFETCH(QByteArray, file);
    QFETCH(QString, folder);
    QFETCH(QList<QByteArray>, names);
    writeFile(cachePath(), file);
    const ReadResult r = readCache(cachePath());
    QVERIFY(r.ok);
    QCOMPARE(r.folder, folder);
    QCOMPARE(r.names, names);
}

void tst_LocationCache::unreadable() {
    ReadResult r = readCache(cachePath());  // no file
    QVERIFY(!r.ok);
    QCOMPARE(r.folder, QStringLiteral("<untouched>"));
    QVERIFY(r.names.isEmpty());

    QVERIFY(QDir().mkpath(cachePath()));  // a folder of that name
    r = readCache(cachePath());
    QVERIFY(!r.ok);
    QCOMPARE(r.folder, QStringLiteral("<untouched>"));

    QVERIFY(!readCache(QString()).ok);  // no preferences folder

    if (geteuid() == 0) QSKIP("permissions do not bind root");
    QVERIFY(QDir(cachePath()).removeRecursively());
    writeFile(cachePath(), "/x\nA\n");
    QVERIFY(QFile::setPermissions(cachePath(), QFileDevice::WriteOwner));
    r = readCache(cachePath());
    QVERIFY(!r.ok);
    QCOMPARE(r.folder, QStringLiteral("<untouched>"));
}

void tst_LocationCache::roundTripKeepsBytes_data() {
    QTest::addColumn<LocationName::Charset>("charset");
    QTest::addColumn<QByteArray>("listed");
    QTest::newRow("ASCII") << LocationName::Charset::Utf8 << QByteArray("Alameda, California");
    QTest::newRow("UTF-8") << LocationName::Charset::Utf8
                           << QByteArray("\xC3\x8Ele d'Orl\xC3\xA9\x61ns, Qu\xC3\xA9\x62\x65\x63");
    QTest::newRow("UTF-8 cut inside a character") << LocationName::Charset::Utf8
                                                  << QByteArray(
                                                         "Ba\xC3\xAD"
                                                         "a de Cai\xC3");
    QTest::newRow("Latin-1 bytes under UTF-8")
        << LocationName::Charset::Utf8 << QByteArray("\xC9\x63ole du Fran\xE7\x61is");
    QTest::newRow("Latin-1") << LocationName::Charset::Latin1
                             << QByteArray(
                                    "Bah\xED"
                                    "a de C\xE1"
                                    "diz");
}

void tst_LocationCache::roundTripKeepsBytes() {
    QFETCH(LocationName::Charset, charset);
    QFETCH(QByteArray, listed);
    if (LocationName::LocaleCharset() != charset)
        QSKIP("the cache uses the process locale's character set");
    const QString name = LocationName::FromListing(listed);
    const QString folder = QStringLiteral("/opt/xtide folder/Resources");
    QVERIFY(
        LocationCache::Write(cachePath(), folder, {QStringLiteral("Before"), name, QString()}, 3));
    QCOMPARE(contentsOf(cachePath()), QFile::encodeName(folder) + "\nBefore\n" + listed + "\n\n");
    const ReadResult r = readCache(cachePath());
    QCOMPARE(r.folder, folder);
    QCOMPARE(r.names, (QList<QByteArray>{"Before", listed, ""}));
}

void tst_LocationCache::writeLayout() {
    int lines = 0;
    const auto count = [&lines] { ++lines; };
    QVERIFY(LocationCache::Write(cachePath(), QString(), {QString(), QString()}, 0, count));
    QCOMPARE(contentsOf(cachePath()), QByteArray("\n"));
    QCOMPARE(lines, 0);

    // Only entries 0 .. count - 1 are written; a count past the list is held to it.
    QVERIFY(LocationCache::Write(cachePath(), QStringLiteral("/x"),
                                 {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}, 2,
                                 count));
    QCOMPARE(contentsOf(cachePath()), QByteArray("/x\nA\nB\n"));
    QCOMPARE(lines, 2);
    QVERIFY(LocationCache::Write(cachePath(), QStringLiteral("/y"), {QStringLiteral("A")}, 5));
    QCOMPARE(contentsOf(cachePath()), QByteArray("/y\nA\n"));

    // A missing preferences folder is made.
    const QString deeper = dir->filePath(QStringLiteral("new/prefs/") + LocationCache::FileName);
    QVERIFY(LocationCache::Write(deeper, QStringLiteral("/x"), {QStringLiteral("A")}, 1));
    QCOMPARE(contentsOf(deeper), QByteArray("/x\nA\n"));
}

void tst_LocationCache::writeFailureKeepsOldFile() {
    QVERIFY(!LocationCache::Write(QString(), QStringLiteral("/x"), {QStringLiteral("A")}, 1));

    // The cache's folder is a plain file: nothing can be created below it.
    const QString blocker = dir->filePath(QStringLiteral("blocker"));
    writeFile(blocker, "x");
    QVERIFY(!LocationCache::Write(blocker + QLatin1Char('/') + LocationCache::FileName,
                                  QStringLiteral("/x"), {QStringLiteral("A")}, 1));
    QCOMPARE(contentsOf(blocker), QByteArray("x"));

    if (geteuid() == 0) QSKIP("permissions do not bind root");
    writeFile(cachePath(), "/old\nA\n");
    QVERIFY(QFile::setPermissions(dir->path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    QVERIFY(QFile::setPermissions(cachePath(), QFileDevice::ReadOwner));
    const bool written =
        LocationCache::Write(cachePath(), QStringLiteral("/new"), {QStringLiteral("B")}, 1);
    QFile::setPermissions(dir->path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY(!written);
    QCOMPARE(contentsOf(cachePath()), QByteArray("/old\nA\n"));
}

// A disk that fills while the cache is written: the write fails and the earlier cache stays whole
// (the last piece of the file is written only when it is committed).
void tst_LocationCache::fullDiskKeepsOldFile() {
    writeFile(cachePath(), "/old\nA\n");
    QStringList names;
    for (int i = 0; i < 100; ++i) names << QStringLiteral("Station %1").arg(i);
    bool written = true;
    {
        FileSizeLimit disk(64);
        if (!disk.isValid()) QSKIP("the file size limit cannot be set here");
        written = LocationCache::Write(cachePath(), QStringLiteral("/new"), names, names.size());
    }
    QVERIFY(!written);
    QCOMPARE(contentsOf(cachePath()), QByteArray("/old\nA\n"));
}

void tst_LocationCache::emptyListNeverReplacesStoredNames() {
    writeFile(cachePath(), "/old\nA\nB\n");
    QVERIFY(!LocationCache::Write(cachePath(), QStringLiteral("/new"), {}, 0));
    QCOMPARE(contentsOf(cachePath()), QByteArray("/old\nA\nB\n"));

    // A stored list holding one empty name is still a list.
    writeFile(cachePath(), "/old\n\n");
    QVERIFY(!LocationCache::Write(cachePath(), QStringLiteral("/new"), {}, 0));
    QCOMPARE(contentsOf(cachePath()), QByteArray("/old\n\n"));

    // Only the folder line stored: nothing to lose, the file is written.
    writeFile(cachePath(), "/old\n");
    QVERIFY(LocationCache::Write(cachePath(), QStringLiteral("/new"), {}, 0));
    QCOMPARE(contentsOf(cachePath()), QByteArray("/new\n"));

    // A non-empty list replaces a stored one.
    writeFile(cachePath(), "/old\nA\nB\n");
    QVERIFY(LocationCache::Write(cachePath(), QStringLiteral("/new"), {QStringLiteral("C")}, 1));
    QCOMPARE(contentsOf(cachePath()), QByteArray("/new\nC\n"));
}

void tst_LocationCache::appReadLocations() {
    App app;
    app.xtideFolder = QStringLiteral("/kept");
    app.locations = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                     QStringLiteral("d")};
    app.nlocations = 4;
    app.ReadLocations();  // no file
    QCOMPARE(app.nlocations, 0);
    QCOMPARE(app.xtideFolder, QStringLiteral("/kept"));

    writeFile(LocationCache::Path(), "/from/cache\nAlameda\n\n");
    app.ReadLocations();
    QCOMPARE(app.xtideFolder, QStringLiteral("/from/cache"));
    QCOMPARE(app.nlocations, 2);
    // Entries past the count are neither part of the list nor cleared.
    QCOMPARE(app.locations, (QStringList{QStringLiteral("Alameda"), QString(), QStringLiteral("c"),
                                         QStringLiteral("d")}));

    writeFile(LocationCache::Path(), "/f\nA\nB\nC\nD\nE\nF\n");
    app.ReadLocations();
    QCOMPARE(app.nlocations, 6);
    QCOMPARE(app.locations.at(5), QStringLiteral("F"));
}

void tst_LocationCache::appWriteLocations() {
    App app;
    app.WriteLocations();  // nothing held, nothing stored: the one empty folder line
    QCOMPARE(contentsOf(LocationCache::Path()), QByteArray("\n"));

    app.xtideFolder = QStringLiteral("/x");
    app.locations = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("stale")};
    app.nlocations = 2;
    app.WriteLocations();
    QCOMPARE(contentsOf(LocationCache::Path()), QByteArray("/x\nA\nB\n"));

    App reader;
    reader.ReadLocations();
    QCOMPARE(reader.xtideFolder, QStringLiteral("/x"));
    QCOMPARE(reader.nlocations, 2);
    QCOMPARE(reader.locations.mid(0, 2), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
}

QUORVEX_TEST_MAIN(tst_LocationCache)
#include "tst_LocationCache.moc"
