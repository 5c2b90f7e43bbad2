// tst_XTideFolder  The search for the XTide folder: packages next to the application, the folder
// dialog, the harmonics check of the application's Open and its second search.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "core/App.h"
#include "engine/LocationCache.h"
#include "engine/XTideFolder.h"
#include "platform/Folders.h"
#include "platform/ShellWord.h"
#include "support/ScriptedDialogs.h"
#include "support/TestMain.h"

namespace {

// Creates the files `relativePaths` (folders made on the way) under `root`.
void layOut(const QString& root, const QStringList& relativePaths) {
    for (const QString& relative : relativePaths) {
        const QString path = root + QLatin1Char('/') + relative;
        if (relative.endsWith(QLatin1Char('/'))) {
            QVERIFY(QDir().mkpath(path));
            continue;
        }
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
}

const QString kDebugRes = QStringLiteral("Quorvex.debug.app/Contents/Resources");
const QString kAppRes = QStringLiteral("Quorvex.app/Contents/Resources");

class TestApp : public App {
  public:
    using App::SetupXTideFolder;
};

}  // namespace

class tst_XTideFolder : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void packageSearch_data();
    void packageSearch();
    void harmonicsFile();
    void harmonicsLink_data();
    void harmonicsLink();

    void cancelShowsMessageAndStops();
    void chosenFolderIsTakenAsIs();
    void chosenFolderWithoutDatabaseAsksAgain_data();
    void chosenFolderWithoutDatabaseAsksAgain();
    void textDatabaseOnlyPackageIsFoundTwice();
    void cacheFolderLineNeverDecides();
    void dialogPathKeepsStoredLocations();

  private:
    std::unique_ptr<QTemporaryDir> appFolder;
    QString root() const { return appFolder->path(); }
};

void tst_XTideFolder::init() {
    appFolder = std::make_unique<QTemporaryDir>();
    QVERIFY(appFolder->isValid());
    Folders::SetApplicationFolderForTesting(root());
    QFile::remove(LocationCache::Path());
}

void tst_XTideFolder::cleanup() {
    Folders::SetApplicationFolderForTesting(QString());
    QFile::remove(LocationCache::Path());
    appFolder.reset();
}

void tst_XTideFolder::packageSearch_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("found");  // relative to the application folder; "" for none

    const QString tide = QStringLiteral("/tide");
    const QString tcd = QStringLiteral("/harmonics.tcd");
    const QString txt = QStringLiteral("/harmonics.txt");
    QTest::newRow("both packages usable: debug wins")
        << QStringList{kDebugRes + tide, kDebugRes + tcd, kAppRes + tide, kAppRes + tcd}
        << kDebugRes;
    QTest::newRow("debug package without tide is skipped")
        << QStringList{kDebugRes + tcd, kAppRes + tide, kAppRes + tcd} << kAppRes;
    QTest::newRow("debug package without database is skipped")
        << QStringList{kDebugRes + tide, kAppRes + tide, kAppRes + txt} << kAppRes;
    QTest::newRow("harmonics.txt alone passes the package test")
        << QStringList{kDebugRes + tide, kDebugRes + txt} << kDebugRes;
    QTest::newRow("the application folder's own Contents/Resources")
        << QStringList{QStringLiteral("Contents/Resources/tide"),
                       QStringLiteral("Contents/Resources/harmonics.tcd")}
        << QStringLiteral("Contents/Resources");
    QTest::newRow("package given as a plain file")
        << QStringList{QStringLiteral("Quorvex.debug.app"), kAppRes + tide, kAppRes + tcd}
        << kAppRes;
    QTest::newRow("Resources is a file")
        << QStringList{QStringLiteral("Quorvex.app/Contents/Resources")} << QString();
    QTest::newRow("tide and database loose in the application folder")
        << QStringList{QStringLiteral("tide"), QStringLiteral("harmonics.tcd")} << QString();
    QTest::newRow("nothing") << QStringList{} << QString();
}

void tst_XTideFolder::packageSearch() {
    QFETCH(QStringList, files);
    QFETCH(QString, found);
    layOut(root(), files);
    const QString expected = found.isEmpty() ? QString() : root() + QLatin1Char('/') + found;
    QCOMPARE(XTideFolder::FindInPackages(), expected);

    // Through the application object: a package found means no dialog.
    ScriptedDialogs dialogs;
    TestApp app;
    const bool ok = app.SetupXTideFolder();
    if (found.isEmpty()) {
        QVERIFY(!ok);
        QCOMPARE(dialogs.requests.size(), 2);  // the folder dialog, then the message
    } else {
        QVERIFY(ok);
        QCOMPARE(app.xtideFolder, expected);
        QVERIFY(dialogs.requests.isEmpty());
    }
}

void tst_XTideFolder::harmonicsFile() {
    const QString folder = root() + QStringLiteral("/xtide folder");
    QCOMPARE(XTideFolder::HarmonicsFile(QString()), QString());
    QCOMPARE(XTideFolder::HarmonicsFile(folder), QString());  // folder missing

    layOut(folder, {QStringLiteral("harmonics.txt")});
    QCOMPARE(XTideFolder::HarmonicsFile(folder),
             ShellWord::ShellPath(folder + QStringLiteral("/harmonics.txt")));
    QVERIFY(!XTideFolder::HasHarmonicsDatabase(folder));

    layOut(folder, {QStringLiteral("harmonics.tcd")});
    QCOMPARE(XTideFolder::HarmonicsFile(folder),
             ShellWord::ShellPath(folder + QStringLiteral("/harmonics.tcd")));
    QVERIFY(XTideFolder::HasHarmonicsDatabase(folder));

    TestApp app;
    QCOMPARE(app.GetHarmonicsFile(), QString());  // empty xtideFolder
    app.xtideFolder = folder;
    QCOMPARE(app.GetHarmonicsFile(), XTideFolder::HarmonicsFile(folder));
}

void tst_XTideFolder::harmonicsLink_data() {
    QTest::addColumn<QString>("target");  // relative to the application folder
    QTest::addColumn<bool>("found");

    QTest::newRow("to a folder of databases") << QStringLiteral("xtide data") << true;
    QTest::newRow("to a database file")
        << QStringLiteral("xtide data/harmonics-dwf-20990101-free.tcd") << true;
    QTest::newRow("dangling: its database renamed")
        << QStringLiteral("xtide data/harmonics-dwf-20190101-free.tcd") << false;
}

void tst_XTideFolder::harmonicsLink() {
    // The package's harmonics.tcd is a link, as the installed copy's is.
    QFETCH(QString, target);
    QFETCH(bool, found);
    layOut(root(), {kAppRes + QStringLiteral("/tide"),
                    QStringLiteral("xtide data/harmonics-dwf-20990101-free.tcd"),
                    QStringLiteral("xtide data/harmonics-dwf-20990101-nonfree.tcd")});
    const QString resources = root() + QLatin1Char('/') + kAppRes;
    const QString link = resources + QStringLiteral("/harmonics.tcd");
    QVERIFY(QFile::link(root() + QLatin1Char('/') + target, link));

    QCOMPARE(XTideFolder::FindInPackages(), found ? resources : QString());
    QCOMPARE(XTideFolder::HasHarmonicsDatabase(resources), found);
    QCOMPARE(XTideFolder::HarmonicsFile(resources), found ? ShellWord::ShellPath(link) : QString());

    ScriptedDialogs dialogs;
    TestApp app;
    QCOMPARE(app.Event_Open(), found);
    if (found) {
        QCOMPARE(app.xtideFolder, resources);
        QVERIFY(dialogs.requests.isEmpty());
    } else {
        QCOMPARE(dialogs.requests.size(), 2);  // the folder dialog, then the message
    }
}

void tst_XTideFolder::cancelShowsMessageAndStops() {
    ScriptedDialogs dialogs;
    dialogs.Answer(QString());
    TestApp app;
    QVERIFY(!app.Event_Open());
    QCOMPARE(dialogs.requests.size(), 2);
    const DialogRequest& folderDialog = dialogs.requests.at(0);
    QCOMPARE(folderDialog.kind, DialogRequest::Kind::SelectFolder);
    QCOMPARE(folderDialog.actionCaption, QStringLiteral("Select"));
    QCOMPARE(folderDialog.initialDirectory, root());
    QCOMPARE(folderDialog.title, QString());
    QCOMPARE(folderDialog.prompt, QString());
    QCOMPARE(dialogs.messages,
             QStringList{QStringLiteral("If you do not specify the location of the harmonics.tcd "
                                        "and tide files, Quorvex will not work")});
    QCOMPARE(app.xtideFolder, QString());
}

void tst_XTideFolder::chosenFolderIsTakenAsIs() {
    // A database but no tide: accepted; the missing program shows only when a command runs.
    const QString chosen = root() + QStringLiteral("/my xtide");
    layOut(chosen, {QStringLiteral("harmonics.tcd")});
    ScriptedDialogs dialogs;
    dialogs.Answer(chosen + QLatin1Char('/'));
    TestApp app;
    QVERIFY(app.Event_Open());
    QCOMPARE(app.xtideFolder, chosen);
    QCOMPARE(dialogs.requests.size(), 1);
    QVERIFY(dialogs.messages.isEmpty());
}

void tst_XTideFolder::chosenFolderWithoutDatabaseAsksAgain_data() {
    QTest::addColumn<QString>("secondAnswer");  // relative to the application folder; "" cancels
    QTest::addColumn<bool>("opens");
    QTest::newRow("second choice stands unchecked") << QStringLiteral("also empty") << true;
    QTest::newRow("second choice with database") << QStringLiteral("good") << true;
    QTest::newRow("second dialog cancelled") << QString() << false;
}

void tst_XTideFolder::chosenFolderWithoutDatabaseAsksAgain() {
    QFETCH(QString, secondAnswer);
    QFETCH(bool, opens);
    layOut(root(), {QStringLiteral("empty/"), QStringLiteral("also empty/"),
                    QStringLiteral("good/harmonics.tcd")});
    ScriptedDialogs dialogs;
    dialogs.Answer(root() + QStringLiteral("/empty"));
    dialogs.Answer(secondAnswer.isEmpty() ? QString() : root() + QLatin1Char('/') + secondAnswer);
    TestApp app;
    QCOMPARE(app.Event_Open(), opens);
    QCOMPARE(dialogs.unanswered, 0);
    QVERIFY(dialogs.answers.isEmpty());  // exactly two folder dialogs
    if (opens) {
        QCOMPARE(app.xtideFolder, root() + QLatin1Char('/') + secondAnswer);
        QVERIFY(dialogs.messages.isEmpty());
    } else {
        QCOMPARE(dialogs.messages.size(), 1);
    }
}

void tst_XTideFolder::textDatabaseOnlyPackageIsFoundTwice() {
    layOut(root(), {kAppRes + QStringLiteral("/tide"), kAppRes + QStringLiteral("/harmonics.txt")});
    ScriptedDialogs dialogs;
    TestApp app;
    QVERIFY(app.Event_Open());
    QCOMPARE(app.xtideFolder, root() + QLatin1Char('/') + kAppRes);
    QVERIFY(dialogs.requests.isEmpty());
}

void tst_XTideFolder::cacheFolderLineNeverDecides() {
    layOut(root(), {kAppRes + QStringLiteral("/tide"), kAppRes + QStringLiteral("/harmonics.tcd")});
    QVERIFY(QDir().mkpath(QFileInfo(LocationCache::Path()).absolutePath()));
    QFile cache(LocationCache::Path());
    QVERIFY(cache.open(QIODevice::WriteOnly));
    cache.write("/somewhere/else\nAlameda, California\nBoston, Massachusetts\n");
    cache.close();

    TestApp app;
    QVERIFY(app.Event_Open());
    QCOMPARE(app.xtideFolder, root() + QLatin1Char('/') + kAppRes);
    QCOMPARE(app.nlocations, 2);
    QCOMPARE(app.locations.mid(0, 2), (QStringList{QStringLiteral("Alameda, California"),
                                                   QStringLiteral("Boston, Massachusetts")}));
}

void tst_XTideFolder::dialogPathKeepsStoredLocations() {
    // The folder dialog comes before the cache is read, while the application holds no
    // locations: the stored list must survive it.
    QVERIFY(QDir().mkpath(QFileInfo(LocationCache::Path()).absolutePath()));
    QFile cache(LocationCache::Path());
    QVERIFY(cache.open(QIODevice::WriteOnly));
    cache.write("/old/xtide\nAlameda, California\nBoston, Massachusetts\n");
    cache.close();
    const QString chosen = root() + QStringLiteral("/chosen");
    layOut(chosen, {QStringLiteral("harmonics.tcd")});

    ScriptedDialogs dialogs;
    dialogs.Answer(chosen);
    TestApp app;
    QVERIFY(app.Event_Open());
    QCOMPARE(app.xtideFolder, chosen);
    QCOMPARE(app.nlocations, 2);
    QCOMPARE(app.locations.at(1), QStringLiteral("Boston, Massachusetts"));
    QVERIFY(cache.open(QIODevice::ReadOnly));
    QCOMPARE(cache.readAll(),
             QByteArray("/old/xtide\nAlameda, California\nBoston, Massachusetts\n"));
}

QUORVEX_TEST_MAIN(tst_XTideFolder)
#include "tst_XTideFolder.moc"
