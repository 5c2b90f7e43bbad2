// tst_LocationGetter  The location listing: the parse of listing bytes, and whole listings run
// through bash against the stand-in tide, with their failures and a getter destroyed meanwhile.
#include <signal.h>

#include <QtTest>

#include "engine/LocationGetter.h"
#include "engine/LocationName.h"
#include "support/ProcessProbe.h"
#include "support/TestMain.h"
#include "support/XTideFixture.h"

namespace {

const QString Started = QStringLiteral("Progress:Parsing location list started");
const QString ZeroParsed = QStringLiteral("Progress:0 locations parsed");
const QString HaveLocations = QStringLiteral("HaveLocations");
const QString NoTemporary = QStringLiteral("Error:Unable to create a temporary output file");
const QString NoList = QStringLiteral("Error:There was no location list generated");
const QString Unable = QStringLiteral("Error:Unable to get the location list");
const QString TooLong = QStringLiteral(
    "Error:Unable to get the location list: tide printed more than 64 MiB and was stopped");
QString Found(int n) { return QStringLiteral("Progress:%1 locations found").arg(n); }

// A getter whose temporary and documents folders the test chooses.
class FolderGetter : public LocationGetter {
  public:
    explicit FolderGetter(const QString& temporary, const QString& documents = QString())
        : temporary(temporary), documents(documents) {}
    QString temporary, documents;

  protected:
    QString TemporaryFolder() const override { return temporary; }
    QString DocumentsFolder() const override { return documents; }
};

// The events of one getter, in order; `done` after the last event a listing can raise.
struct Events {
    explicit Events(LocationGetter* getter) {
        QObject::connect(getter, &LocationGetter::Progress, &context,
                         [this](const QString& m) { list << QStringLiteral("Progress:") + m; });
        QObject::connect(getter, &LocationGetter::Error, &context, [this](const QString& m) {
            list << QStringLiteral("Error:") + m;
            if (m != QLatin1String("Unable to get the location list")) done = true;
        });
        QObject::connect(getter, &LocationGetter::HaveLocations, &context, [this] {
            list << HaveLocations;
            done = true;
        });
    }
    QObject context;
    QStringList list;
    bool done = false;
};

// An XTide folder whose `tide` is a bash script.
bool WriteTideScript(const QString& folder, const QByteArray& body) {
    QFile script(folder + QStringLiteral("/tide"));
    if (!script.open(QIODevice::WriteOnly)) return false;
    script.write("#!/bin/bash\n" + body);
    script.close();
    return QFile::setPermissions(script.fileName(),
                                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// The bytes the listing command writes in `xtideFolder`, run here into a file of the test's own.
QByteArray ListingBytes(const QString& xtideFolder) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("listing.txt"));
    QProcess bash;
    bash.start(QStringLiteral("/bin/bash"),
               {QStringLiteral("-c"), LocationGetter::LocationListCommand(xtideFolder, file)});
    if (!bash.waitForFinished(10000)) return {};
    QFile listing(file);
    return listing.open(QIODevice::ReadOnly) ? listing.readAll() : QByteArray();
}

// The private folder a listing wrote its file into, checked to lie directly in `parent`.
QString ListFolder(const LocationGetter& getter, const QString& parent) {
    const QFileInfo file(getter.outputFile);
    if (file.fileName() != QLatin1String("tide locations.txt")) return {};
    const QFileInfo folder(file.absolutePath());
    return folder.absolutePath() == QFileInfo(parent).absoluteFilePath() ? folder.absoluteFilePath()
                                                                         : QString();
}

QByteArray TrimmedHead(const QByteArray& line) {
    QByteArray head = line.left(LocationGetter::NameBytes);
    while (head.startsWith(' ')) head.remove(0, 1);
    while (head.endsWith(' ')) head.chop(1);
    return head;
}

}  // namespace

class tst_LocationGetter : public QObject {
    Q_OBJECT
  private slots:
    void parse_data();
    void parse();
    void parseStopsWhenDestroyed_data();
    void parseStopsWhenDestroyed();
    void listingCommand();

    void standInListing();
    void failures_data();
    void failures();
    void lineEndsOfTheStandIn_data();
    void lineEndsOfTheStandIn();
    void listFileGone();
    void entryOfTheListFileNameInTheWay_data();
    void entryOfTheListFileNameInTheWay();
    void twoListingsAtOnce();
    void privateListFolder();
    void noFolderForTheListFile_data();
    void noFolderForTheListFile();
    void documentsFolderWhenNoTemporary_data();
    void documentsFolderWhenNoTemporary();
    void fullListing();
    void destroyedWhileRunning();
};

void tst_LocationGetter::parse_data() {
    QTest::addColumn<QByteArray>("listing");
    QTest::addColumn<QStringList>("names");
    const QByteArray marker = "Location list generated 2026-12-10  8:57 AM UTC";

    QTest::newRow("final line without line end is dropped")
        << QByteArray("banner\n" + marker + "\n\nA\nB\nC\nD") << QStringList{"A", "B", "C"};
    QTest::newRow("no marker") << QByteArray("A\nB\n") << QStringList{};
    QTest::newRow("empty text") << QByteArray() << QStringList{};
    QTest::newRow("marker only") << QByteArray(marker + "\n") << QStringList{};
    QTest::newRow("lines before the marker give no names")
        << QByteArray("Seattle\n\n" + marker + "\nA\n") << QStringList{"A"};
    QTest::newRow("CR LF ends one line")
        << QByteArray("banner\r\n" + marker + "\r\n\r\nA  \r\nB\r\n") << QStringList{"A", "B"};
    QTest::newRow("CR alone") << QByteArray(marker + "\rA\r\rB\r") << QStringList{"A", "B"};
    QTest::newRow("a CR anywhere makes CR the line end")
        << QByteArray(marker + "\nA\rB\r") << QStringList{"B"};
    QTest::newRow("a line feed inside a CR-cut line ends its name")
        << QByteArray(marker + "\rAbc\nDef\r  \nGhi\rJkl\r") << QStringList{"Abc", "", "Jkl"};
    QTest::newRow("blank line gives an empty name, empty line none")
        << QByteArray(marker + "\n\n   \nA\n") << QStringList{"", "A"};
    QTest::newRow("blanks around the name are removed")
        << QByteArray(marker + "\n  Seattle, Washington   \n")
        << QStringList{"Seattle, Washington"};
    QTest::newRow("columns after byte 52 are dropped")
        << QByteArray(marker +
                      "\nSeattle, Puget Sound, Washington                    Ref 47.6026 N\n")
        << QStringList{"Seattle, Puget Sound, Washington"};
    QTest::newRow("a name is cut at byte 52")
        << QByteArray(marker + "\n" + QByteArray(60, 'x') + "\n")
        << QStringList{QString(52, QLatin1Char('x'))};
    QTest::newRow("marker in other letter case is not one")
        << QByteArray("location list generated\nA\n") << QStringList{};
    QTest::newRow("marker inside a longer line")
        << QByteArray("-- " + marker + " --\nA\n") << QStringList{"A"};
    QTest::newRow("second marker neither a name nor a reset")
        << QByteArray(marker + "\nA\n" + marker + " again\nB\n") << QStringList{"A", "B"};
    // As listed: the name padded to 51 characters (52 bytes here), then the columns.
    const QByteArray utf8Name(
        "Mayag\xc3\xbc"
        "ez, Puerto Rico");
    QTest::newRow("UTF-8 name") << QByteArray(marker + "\n" + utf8Name +
                                              QByteArray(52 - utf8Name.size(), ' ') +
                                              " Ref 18.2189\xc2\xb0 N\n")
                                << QStringList{QStringLiteral("Mayag\u00fcez, Puerto Rico")};
    QTest::newRow("cut inside a UTF-8 character")
        << QByteArray(marker + "\n" + QByteArray(51, 'a') + "\xc3\xb1 Sub\n")
        << QStringList{QString(51, QLatin1Char('a')) + QChar(0xDCC3)};
}

void tst_LocationGetter::parse() {
    QFETCH(QByteArray, listing);
    QFETCH(QStringList, names);
    LocationGetter getter;
    getter.locations = QStringList{"old"};
    Events events(&getter);
    QCOMPARE(getter.Parse(listing), names);
    QCOMPARE(getter.locations, names);
    QStringList expected{Started};
    if (!names.isEmpty()) expected << ZeroParsed;
    expected << Found(names.size());
    QCOMPARE(events.list, expected);
}

void tst_LocationGetter::parseStopsWhenDestroyed_data() {
    QTest::addColumn<bool>("fromProgressHandler");
    QTest::newRow("during a yield") << false;
    QTest::newRow("from the Progress handler") << true;
}

// The owner may be closed while the parse yields: the parse ends silently, nothing touched.
void tst_LocationGetter::parseStopsWhenDestroyed() {
    QFETCH(bool, fromProgressHandler);
    QByteArray listing = "Location list generated\n";
    for (int i = 0; i < 200; ++i) listing += "Station " + QByteArray::number(i) + "\n";
    auto* getter = new LocationGetter;
    QPointer<LocationGetter> alive(getter);
    QStringList progress;
    QObject context;
    connect(getter, &LocationGetter::Progress, &context, [&](const QString& m) {
        progress << m;
        if (fromProgressHandler && m == QLatin1String("0 locations parsed")) delete getter;
    });
    if (!fromProgressHandler) QTimer::singleShot(0, &context, [&] { delete getter; });
    QCOMPARE(getter->Parse(listing), QStringList{});
    QVERIFY(!alive);
    QVERIFY(!progress.contains(QStringLiteral("200 locations found")));
}

void tst_LocationGetter::listingCommand() {
    QCOMPARE(LocationGetter::LocationListCommand(QStringLiteral("/A b/Resources"),
                                                 QStringLiteral("/tmp/tide locations.txt")),
             QStringLiteral("cd '/A b/Resources' || exit; export HFILE_PATH=./harmonics.tcd;./tide "
                            "-l'/A b/Resources/harmonics.tcd' -ml -df \"%Y-%m-%d\" -tf \"%l:%M "
                            "%p %Z\" -z n -em x -tw 79 >&'/tmp/tide locations.txt'"));
}

void tst_LocationGetter::standInListing() {
    XTideFixture fixture;
    QVERIFY(fixture.isValid());
    QTemporaryDir temporary;
    FolderGetter getter(temporary.path());
    Events events(&getter);
    getter.GetLocations(fixture.xtideFolder());
    QVERIFY(getter.IsRunning());
    const QString listFolder = ListFolder(getter, temporary.path());
    QVERIFY2(!listFolder.isEmpty(), qPrintable(getter.outputFile));
    QTRY_VERIFY_WITH_TIMEOUT(events.done, 10000);
    QVERIFY(!getter.IsRunning());
    // The list was read and its folder removed.
    QVERIFY(!QFileInfo::exists(listFolder));
    QCOMPARE(
        QDir(temporary.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList{});

    QCOMPARE(getter.locations.size(), 18);
    QCOMPARE(events.list, (QStringList{Started, ZeroParsed, Found(18), HaveLocations}));
    QCOMPARE(getter.locations.first(),
             QStringLiteral("0.2 mile off Flat Point, Taku Inlet, Stephens Passa"));
    QVERIFY(getter.locations.contains(QStringLiteral("Mayag\u00fcez, Puerto Rico")));
    QVERIFY(getter.locations.contains(QStringLiteral("Seattle, Puget Sound, Washington")));
    // Every name gives back the bytes of its line in the listing.
    const QList<QByteArray> lines = ListingBytes(fixture.xtideFolder()).split('\n');
    int checked = 0;
    for (const QString& name : getter.locations) {
        const QByteArray bytes = LocationName::ToCommandBytes(name);
        bool found = false;
        for (const QByteArray& line : lines)
            if (TrimmedHead(line) == bytes) found = true;
        QVERIFY2(found, bytes.constData());
        ++checked;
    }
    QCOMPARE(checked, 18);
}

void tst_LocationGetter::failures_data() {
    QTest::addColumn<QByteArray>("switches");  // stand-in failure switches
    QTest::addColumn<QString>("tide");         // "missing", "not executable", a script, or ""
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("non-zero exit")
        << QByteArray("exit:3") << QString() << QStringList{Unable, HaveLocations};
    QTest::newRow("tide missing (127)")
        << QByteArray() << "missing" << QStringList{Unable, HaveLocations};
    QTest::newRow("tide not executable (126)")
        << QByteArray() << "not executable" << QStringList{Unable, HaveLocations};
    QTest::newRow("killed") << QByteArray() << "echo 'Location list generated'; echo A; kill -9 $$"
                            << QStringList{Unable, HaveLocations};
    QTest::newRow("empty listing")
        << QByteArray("empty") << QString() << QStringList{Started, Found(0), HaveLocations};
    QTest::newRow("no marker") << QByteArray("nomarker") << QString()
                               << QStringList{Started, Found(0), HaveLocations};
    QTest::newRow("garbage") << QByteArray("garbage") << QString()
                             << QStringList{Started, Found(0), HaveLocations};
    // A tide that never stops printing is stopped once the list file reaches the bound.
    QTest::newRow("listing without end")
        << QByteArray("flood") << QString() << QStringList{TooLong, HaveLocations};
}

// A failed listing keeps the names of the last good one.
void tst_LocationGetter::failures() {
    QFETCH(QByteArray, switches);
    QFETCH(QString, tide);
    QFETCH(QStringList, expected);
    XTideFixture fixture;
    QVERIFY(fixture.isValid());
    if (!switches.isEmpty()) fixture.setFailure(switches);
    if (tide == QLatin1String("missing"))
        QVERIFY(fixture.removeTide());
    else if (tide == QLatin1String("not executable"))
        QVERIFY(fixture.makeTideNotExecutable());
    else if (!tide.isEmpty())
        QVERIFY(WriteTideScript(fixture.xtideFolder(), tide.toUtf8()));

    QTemporaryDir temporary;
    FolderGetter getter(temporary.path());
    getter.locations = QStringList{"kept"};
    Events events(&getter);
    getter.GetLocations(fixture.xtideFolder());
    QTRY_VERIFY_WITH_TIMEOUT(events.done, 10000);
    QCOMPARE(events.list, expected);
    if (expected.first().startsWith(Unable))
        QCOMPARE(getter.locations, QStringList{"kept"});
    else
        QCOMPARE(getter.locations, QStringList{});
}

void tst_LocationGetter::lineEndsOfTheStandIn_data() {
    QTest::addColumn<QByteArray>("switches");
    QTest::newRow("CR LF") << QByteArray("crlf");
    QTest::newRow("CR") << QByteArray("cr");
}

// Whatever the line ends, the same names as with line feeds.
void tst_LocationGetter::lineEndsOfTheStandIn() {
    QFETCH(QByteArray, switches);
    XTideFixture fixture;
    QVERIFY(fixture.isValid());
    QTemporaryDir temporary;
    FolderGetter plain(temporary.path());
    Events plainEvents(&plain);
    plain.GetLocations(fixture.xtideFolder());
    QTRY_VERIFY_WITH_TIMEOUT(plainEvents.done, 10000);
    QCOMPARE(plain.locations.size(), 18);

    fixture.setFailure(switches);
    FolderGetter getter(temporary.path());
    Events events(&getter);
    getter.GetLocations(fixture.xtideFolder());
    QTRY_VERIFY_WITH_TIMEOUT(events.done, 10000);
    QCOMPARE(getter.locations, plain.locations);
}

// The list file vanished before it could be read: nothing to parse, the old names stay.
void tst_LocationGetter::listFileGone() {
    QTemporaryDir xtide;
    QVERIFY(WriteTideScript(xtide.path(),
                            "echo 'Location list generated'; echo A\n"
                            "rm -f \"$(readlink /proc/$$/fd/1)\"\n"));
    QTemporaryDir temporary;
    FolderGetter getter(temporary.path());
    getter.locations = QStringList{"kept"};
    Events events(&getter);
    getter.GetLocations(xtide.path());
    QTRY_VERIFY_WITH_TIMEOUT(events.done, 10000);
    QCOMPARE(events.list, QStringList{NoList});
    QCOMPARE(getter.locations, QStringList{"kept"});
}

void tst_LocationGetter::entryOfTheListFileNameInTheWay_data() {
    QTest::addColumn<QString>("entry");
    QTest::newRow("a folder") << "folder";
    QTest::newRow("a link to another file") << "link";
    QTest::newRow("a file of another listing") << "file";
}

// Whatever lies under the list file's name in the temporary folder (another user's file, a link
// planted there, a folder) is neither written nor read: the listing goes its own way.
void tst_LocationGetter::entryOfTheListFileNameInTheWay() {
    QFETCH(QString, entry);
    XTideFixture fixture;
    QVERIFY(fixture.isValid());
    QTemporaryDir temporary;
    QTemporaryDir elsewhere;
    const QString inTheWay = temporary.filePath(QStringLiteral("tide locations.txt"));
    const QString target = elsewhere.filePath(QStringLiteral("precious.txt"));
    const QByteArray precious = "Location list generated\nNot a station\n";
    QFile targetFile(entry == QLatin1String("file") ? inTheWay : target);
    QVERIFY(targetFile.open(QIODevice::WriteOnly));
    targetFile.write(precious);
    targetFile.close();
    if (entry == QLatin1String("folder")) QVERIFY(QDir().mkdir(inTheWay));
    if (entry == QLatin1String("link")) QVERIFY(QFile::link(target, inTheWay));

    FolderGetter getter(temporary.path());
    Events events(&getter);
    getter.GetLocations(fixture.xtideFolder());
    QTRY_VERIFY_WITH_TIMEOUT(events.done, 10000);
    QCOMPARE(events.list, (QStringList{Started, ZeroParsed, Found(18), HaveLocations}));
    QVERIFY(getter.locations.contains(QStringLiteral("Seattle, Puget Sound, Washington")));
    QFile after(targetFile.fileName());
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), precious);
    QCOMPARE(QFileInfo(inTheWay).isDir(), entry == QLatin1String("folder"));
}

// Two windows listing at the same time: each reads its own whole list, not a mix of both.
void tst_LocationGetter::twoListingsAtOnce() {
    QTemporaryDir xtide;
    // Slow enough that the two listings overlap for most of their lines.
    QVERIFY(WriteTideScript(xtide.path(),
                            "echo 'Location list generated'\n"
                            "for i in $(seq 1 40); do echo \"Station $i\"; sleep 0.01; done\n"));
    QTemporaryDir temporary;
    FolderGetter first(temporary.path());
    FolderGetter second(temporary.path());
    Events firstEvents(&first);
    Events secondEvents(&second);
    first.GetLocations(xtide.path());
    QTest::qWait(100);
    second.GetLocations(xtide.path());
    QVERIFY(first.outputFile != second.outputFile);
    QTRY_VERIFY_WITH_TIMEOUT(firstEvents.done && secondEvents.done, 20000);
    QStringList expected;
    for (int i = 1; i <= 40; ++i) expected << QStringLiteral("Station %1").arg(i);
    QCOMPARE(first.locations, expected);
    QCOMPARE(second.locations, expected);
}

// In a temporary folder that all users share, the listing's own folder is the user's alone
// while the listing runs (the script prints the mode of the folder that holds its output).
void tst_LocationGetter::privateListFolder() {
    QTemporaryDir xtide;
    QVERIFY(WriteTideScript(xtide.path(),
                            "echo 'Location list generated'\n"
                            "stat -c '%a' \"$(dirname \"$(readlink /proc/$$/fd/1)\")\"\n"));
    QTemporaryDir temporary;
    QVERIFY(QProcess::execute(QStringLiteral("chmod"),
                              {QStringLiteral("1777"), temporary.path()}) == 0);
    FolderGetter getter(temporary.path());
    Events events(&getter);
    getter.GetLocations(xtide.path());
    QTRY_VERIFY_WITH_TIMEOUT(events.done, 10000);
    QCOMPARE(getter.locations, QStringList{"700"});
}

void tst_LocationGetter::noFolderForTheListFile_data() {
    QTest::addColumn<QString>("temporary");
    QTest::addColumn<QString>("documents");
    QTest::newRow("the system gives no folders") << QString() << QString();
    QTest::newRow("neither folder exists")
        << QStringLiteral("/nonexistent/tmp") << QStringLiteral("/nonexistent/Documents");
}

void tst_LocationGetter::noFolderForTheListFile() {
    QFETCH(QString, temporary);
    QFETCH(QString, documents);
    FolderGetter getter{temporary, documents};
    Events events(&getter);
    getter.GetLocations(QStringLiteral("/nonexistent"));
    QCOMPARE(events.list, QStringList{NoTemporary});
    QVERIFY(!getter.IsRunning());
    QVERIFY(getter.outputFile.isEmpty());
}

void tst_LocationGetter::documentsFolderWhenNoTemporary_data() {
    QTest::addColumn<QString>("temporary");
    QTest::newRow("no temporary folder") << QString();
    QTest::newRow("temporary folder missing") << QStringLiteral("/nonexistent/tmp");
}

void tst_LocationGetter::documentsFolderWhenNoTemporary() {
    QFETCH(QString, temporary);
    XTideFixture fixture;
    QVERIFY(fixture.isValid());
    QTemporaryDir documents;
    FolderGetter getter(temporary, documents.path());
    Events events(&getter);
    getter.GetLocations(fixture.xtideFolder());
    const QString listFolder = ListFolder(getter, documents.path());
    QVERIFY2(!listFolder.isEmpty(), qPrintable(getter.outputFile));
    QTRY_VERIFY_WITH_TIMEOUT(events.done, 10000);
    QCOMPARE(getter.locations.size(), 18);
    QVERIFY(!QFileInfo::exists(listFolder));
}

// The recorded listing of the real program: 5407 stations after its banner, every name the
// bytes of its line.
void tst_LocationGetter::fullListing() {
    const QString recorded = QStringLiteral(QUORVEX_TEST_FIXTURES "/xtide/listing-full.txt");
    QFile source(recorded);
    QVERIFY(source.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = source.readAll().split('\n');
    QTemporaryDir xtide;
    QVERIFY(WriteTideScript(xtide.path(), "cat " + recorded.toUtf8().replace(' ', "\\ ") + "\n"));
    QTemporaryDir temporary;
    FolderGetter getter(temporary.path());
    Events events(&getter);
    getter.GetLocations(xtide.path());
    QTRY_VERIFY_WITH_TIMEOUT(events.done, 20000);
    QCOMPARE(events.list, (QStringList{Started, ZeroParsed, Found(5407), HaveLocations}));
    QCOMPARE(getter.locations.size(), 5407);

    int marker = -1;
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].startsWith("Location list generated")) marker = i;
    QCOMPARE(marker, 25);
    int index = 0;
    for (int i = marker + 1; i < lines.size(); ++i) {
        if (lines[i].isEmpty()) continue;
        QCOMPARE(LocationName::ToCommandBytes(getter.locations[index]), TrimmedHead(lines[i]));
        ++index;
    }
    QCOMPARE(index, 5407);
    QVERIFY(getter.locations.contains(QStringLiteral("Mayag\u00fcez, Puerto Rico")));
}

// A window closed while its listing runs: the child ends, no event reaches anyone.
void tst_LocationGetter::destroyedWhileRunning() {
    QTemporaryDir xtide;
    const QByteArray pidFile = xtide.filePath(QStringLiteral("sleep.pid")).toUtf8();
    QVERIFY(WriteTideScript(xtide.path(), "sleep 30 & echo $! > '" + pidFile + "'; wait\n"));
    QTemporaryDir temporary;
    auto* window = new QObject;
    auto* getter = new FolderGetter(temporary.path());
    getter->setParent(window);
    Events events(getter);
    getter->GetLocations(xtide.path());
    QTRY_VERIFY_WITH_TIMEOUT(QFile(QString::fromUtf8(pidFile)).size() > 0, 10000);
    QFile pid(QString::fromUtf8(pidFile));
    QVERIFY(pid.open(QIODevice::ReadOnly));
    const QByteArray sleeper = pid.readAll();

    QElapsedTimer timer;
    timer.start();
    delete window;
    QVERIFY(timer.elapsed() < 2000);
    QTRY_VERIFY_WITH_TIMEOUT(ProcessEnded(sleeper), 5000);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCOMPARE(events.list, QStringList{});
    // The listing's private folder went with it.
    QCOMPARE(QDir(temporary.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{});
}

QUORVEX_TEST_MAIN(tst_LocationGetter)
#include "tst_LocationGetter.moc"
