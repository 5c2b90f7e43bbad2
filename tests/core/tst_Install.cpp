// tst_Install  The installed Quorvex: `cmake --install` into a fresh prefix lays the program out
// so that its own search finds the XTide folder linked from the `tide` on the PATH and the
// harmonics database (a file, or a folder of them), and its desktop entry starts it; without
// `tide` the rest is installed, the links of an earlier install are gone, and the installed
// link-xtide the install names links XTide later, run from anywhere. A staged install links only
// the paths it is given, nothing of the build machine; the manifest lists everything installed,
// staged or not, as CMake lists its own files. The installed link-xtide leaves alone what is not
// its own, and a user running it on root's copy is told so before anything is removed.
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "core/App.h"
#include "engine/LocationGetter.h"
#include "engine/XTideFolder.h"
#include "platform/Folders.h"
#include "support/ScriptedDialogs.h"
#include "support/TestMain.h"

namespace {

struct Run {
    int exitCode = -1;
    QString output;  // standard output and error
};

Run RunProcess(const QString& program, const QStringList& arguments,
               const QProcessEnvironment& environment, const QString& workingFolder = QString()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    if (!workingFolder.isEmpty()) process.setWorkingDirectory(workingFolder);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    Run run;
    if (!process.waitForFinished(60000)) return run;
    run.output = QString::fromUtf8(process.readAll());
    if (process.exitStatus() == QProcess::NormalExit) run.exitCode = process.exitCode();
    return run;
}

// The arguments of a desktop entry's Exec value: the value's own escapes undone, then split at
// blanks outside double quotes, where a backslash escapes the next character.
QStringList ExecArguments(const QString& value) {
    QString unescaped;
    for (int i = 0; i < value.size(); ++i) {
        if (value.at(i) == QLatin1Char('\\') && i + 1 < value.size()) {
            const QChar next = value.at(++i);
            unescaped += next == QLatin1Char('s')   ? QChar(' ')
                         : next == QLatin1Char('t') ? QChar('\t')
                         : next == QLatin1Char('n') ? QChar('\n')
                                                    : next;
        } else {
            unescaped += value.at(i);
        }
    }
    QStringList arguments;
    QString current;
    bool quoted = false, started = false;
    for (int i = 0; i < unescaped.size(); ++i) {
        const QChar c = unescaped.at(i);
        if (quoted && c == QLatin1Char('\\') && i + 1 < unescaped.size()) {
            current += unescaped.at(++i);
        } else if (c == QLatin1Char('"')) {
            quoted = !quoted;
            started = true;
        } else if (c == QLatin1Char(' ') && !quoted) {
            if (started) arguments << current;
            current.clear();
            started = false;
        } else {
            current += c;
            started = true;
        }
    }
    if (started) arguments << current;
    return arguments;
}

QString EntryValue(const QString& path, const QString& key) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return QString();
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(key + QLatin1Char('='))) return line.mid(key.size() + 1);
    }
    return QString();
}

// The folder the installed program resolves bare names against: that of its executable, with
// every link on the way resolved, as the running program sees it.
QString ProgramFolder(const QString& program) {
    return QFileInfo(QFileInfo(program).canonicalFilePath()).absolutePath();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

// Debian's xtide-data folder, the database linked when XTIDE_HARMONICS is not set.
const QString kDebianData = QStringLiteral("/usr/share/xtide");

bool HoldsTcdFile(const QString& folder) {
    return !QDir(folder).entryList({QStringLiteral("*.tcd")}, QDir::Files).isEmpty();
}

QStringList ReadManifest() {
    QFile file(QStringLiteral(QUORVEX_BUILD_DIR "/install_manifest.txt"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Whether a path names something, a dangling link too.
bool Present(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

}  // namespace

class tst_Install : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void installedProgramFindsXTide_data();
    void installedProgramFindsXTide();
    void linkedLaterFromAnyFolder_data();
    void linkedLaterFromAnyFolder();
    void stagedInstallLinksOnlyGivenPaths_data();
    void stagedInstallLinksOnlyGivenPaths();
    void manifestListsEveryInstalledFile_data();
    void manifestListsEveryInstalledFile();
    void linkXTideLeavesNonLinksAlone_data();
    void linkXTideLeavesNonLinksAlone();
    void linkXTideAsUserOnRootsCopy_data();
    void linkXTideAsUserOnRootsCopy();

  private:
    Run Install(const QProcessEnvironment& environment);
    QString LinkXTide() const { return prefix + QStringLiteral("/lib/quorvex/link-xtide"); }
    // The XTide folder the installed program's own search finds, "" for none.
    QString FoundXTideFolder();
    // The installed program's own start: the XTide folder found without a dialog, its `tide`
    // the stand-in and its harmonics.tcd resolving to `harmonicsTarget`.
    void VerifyStartFindsXTide(const QString& harmonicsTarget);

    std::unique_ptr<QTemporaryDir> dir;
    QString prefix;      // holds a blank, which every installed path must survive
    QString resources;   // the installed XTide folder
    QString standInBin;  // a folder whose `tide` is the stand-in
    QString harmonics;   // a placeholder database file
    QString database;    // a folder of two placeholder databases
    QProcessEnvironment withTide, withoutTide;
};

void tst_Install::init() {
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    prefix = QFileInfo(dir->path()).canonicalFilePath() + QStringLiteral("/my prefix");
    resources = prefix + QStringLiteral("/lib/quorvex/Quorvex.app/Contents/Resources");
    standInBin = dir->filePath(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(standInBin));
    QVERIFY(
        QFile::link(QStringLiteral(QUORVEX_STANDIN_TIDE), standInBin + QStringLiteral("/tide")));
    harmonics = dir->filePath(QStringLiteral("harmonics-dwf-20990101.tcd"));
    WriteFile(harmonics, "placeholder harmonics database\n");
    database = QFileInfo(dir->path()).canonicalFilePath() + QStringLiteral("/xtide data");
    QVERIFY(QDir().mkpath(database));
    WriteFile(database + QStringLiteral("/harmonics-dwf-20990101-free.tcd"), "placeholder\n");
    WriteFile(database + QStringLiteral("/harmonics-dwf-20990101-nonfree.tcd"), "placeholder\n");

    // Straight into the prefix (no staging folder), as a user installs.
    withTide = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DESTDIR", "XTIDE_TIDE", "QUORVEX_STANDIN_DATA"})
        withTide.remove(QLatin1String(name));
    withTide.insert(QStringLiteral("XTIDE_HARMONICS"), harmonics);
    withoutTide = withTide;
    withTide.insert(QStringLiteral("PATH"),
                    standInBin + QLatin1Char(':') + withTide.value(QStringLiteral("PATH")));
    withoutTide.insert(QStringLiteral("XTIDE_TIDE"), dir->filePath(QStringLiteral("no-tide")));
}

void tst_Install::cleanup() {
    Folders::SetApplicationFolderForTesting(QString());
    dir.reset();
}

Run tst_Install::Install(const QProcessEnvironment& environment) {
    return RunProcess(QStringLiteral(QUORVEX_CMAKE_COMMAND),
                      {QStringLiteral("--install"), QStringLiteral(QUORVEX_BUILD_DIR),
                       QStringLiteral("--prefix"), prefix},
                      environment);
}

QString tst_Install::FoundXTideFolder() {
    Folders::SetApplicationFolderForTesting(ProgramFolder(prefix + QStringLiteral("/bin/quorvex")));
    return XTideFolder::FindInPackages();
}

void tst_Install::VerifyStartFindsXTide(const QString& harmonicsTarget) {
    Folders::SetApplicationFolderForTesting(ProgramFolder(prefix + QStringLiteral("/bin/quorvex")));
    ScriptedDialogs dialogs;
    App app;
    QVERIFY(app.Event_Open());
    QVERIFY(dialogs.requests.isEmpty());
    QCOMPARE(app.xtideFolder, resources);
    QCOMPARE(QFileInfo(resources + QStringLiteral("/tide")).canonicalFilePath(),
             QFileInfo(QStringLiteral(QUORVEX_STANDIN_TIDE)).canonicalFilePath());
    QCOMPARE(QFileInfo(resources + QStringLiteral("/harmonics.tcd")).canonicalFilePath(),
             QFileInfo(harmonicsTarget).canonicalFilePath());
}

void tst_Install::installedProgramFindsXTide_data() {
    QTest::addColumn<QString>("database");  // what XTIDE_HARMONICS names: "file", "folder", ""

    QTest::newRow("XTIDE_HARMONICS names a database file") << QStringLiteral("file");
    QTest::newRow("XTIDE_HARMONICS names a folder of databases") << QStringLiteral("folder");
    QTest::newRow("unset: Debian's xtide-data folder") << QString();
}

void tst_Install::installedProgramFindsXTide() {
    QFETCH(QString, database);
    QString target = harmonics;
    if (database == QLatin1String("folder")) {
        target = this->database;
        withTide.insert(QStringLiteral("XTIDE_HARMONICS"), target);
    } else if (database.isEmpty()) {
        if (!HoldsTcdFile(kDebianData)) QSKIP("no harmonics database in /usr/share/xtide");
        target = kDebianData;
        withTide.remove(QStringLiteral("XTIDE_HARMONICS"));
    }
    const Run install = Install(withTide);
    QVERIFY2(install.exitCode == 0, qPrintable(install.output));
    QVERIFY2(!install.output.contains(QStringLiteral("link it")), qPrintable(install.output));

    const QString program = prefix + QStringLiteral("/bin/quorvex");
    const QString installed = prefix + QStringLiteral("/lib/quorvex/quorvex");
    QVERIFY(QFileInfo(installed).isExecutable());
    QCOMPARE(QFileInfo(program).canonicalFilePath(), installed);

    // The application's own start finds the folder without asking.
    VerifyStartFindsXTide(target);
    if (QTest::currentTestFailed()) return;

    // And it is usable: the stations list through it.
    LocationGetter getter;
    bool have = false;
    QStringList errors;
    connect(&getter, &LocationGetter::HaveLocations, this, [&] { have = true; });
    connect(&getter, &LocationGetter::Error, this, [&](const QString& m) { errors << m; });
    getter.GetLocations(resources);
    QTRY_VERIFY_WITH_TIMEOUT(have, 10000);
    QCOMPARE(errors, QStringList());
    QVERIFY(getter.locations.contains(QStringLiteral("Seattle, Puget Sound, Washington")));

    // The desktop entry starts the installed program with the documents opened from there.
    const QStringList exec = ExecArguments(EntryValue(
        prefix + QStringLiteral("/share/applications/quorvex.desktop"), QStringLiteral("Exec")));
    QCOMPARE(exec.size(), 2);
    QCOMPARE(exec.at(0), program);
    QCOMPARE(QFileInfo(exec.at(0)).canonicalFilePath(), installed);
    QCOMPARE(exec.at(1), QStringLiteral("%F"));
}

void tst_Install::linkedLaterFromAnyFolder_data() {
    QTest::addColumn<bool>("throughLink");  // run through a link to the command, elsewhere

    QTest::newRow("the command the install names") << false;
    QTest::newRow("a link to it in another folder") << true;
}

void tst_Install::linkedLaterFromAnyFolder() {
    QFETCH(bool, throughLink);
    QCOMPARE(Install(withTide).exitCode, 0);
    QVERIFY(!FoundXTideFolder().isEmpty());

    const Run install = Install(withoutTide);
    QVERIFY2(install.exitCode == 0, qPrintable(install.output));
    QVERIFY(install.output.contains(QStringLiteral("tide program was not found")));
    QVERIFY(QFileInfo(prefix + QStringLiteral("/bin/quorvex")).isExecutable());
    QVERIFY(QFileInfo::exists(prefix + QStringLiteral("/share/applications/quorvex.desktop")));
    QCOMPARE(FoundXTideFolder(), QString());  // the earlier install's links went with `tide`

    // The install names the installed command (as root where root owns the copy).
    const QRegularExpressionMatch named =
        QRegularExpression(
            QStringLiteral("once XTide is installed, link it(, as root,)? with: (.*)$"),
            QRegularExpression::MultilineOption)
            .match(install.output);
    QVERIFY2(named.hasMatch(), qPrintable(install.output));
    const QString linkXTide = prefix + QStringLiteral("/lib/quorvex/link-xtide");
    QCOMPARE(named.captured(2), QLatin1Char('\'') + linkXTide + QLatin1Char('\''));
    QCOMPARE(named.capturedLength(1) > 0, QFileInfo(prefix).ownerId() == 0);

    // XTide installed since: `tide` on the PATH, a folder of databases. The command is run with
    // no argument from a folder of its own, outside the source tree.
    QTemporaryDir elsewhere;
    QVERIFY(elsewhere.isValid());
    QString command = named.captured(2);
    if (throughLink) {
        command = elsewhere.filePath(QStringLiteral("link-xtide"));
        QVERIFY(QFile::link(linkXTide, command));
    }
    QProcessEnvironment later = withTide;
    later.insert(QStringLiteral("XTIDE_HARMONICS"), database);
    const Run link = RunProcess(QStringLiteral("/bin/bash"), {QStringLiteral("-c"), command}, later,
                                elsewhere.path());
    QVERIFY2(link.exitCode == 0, qPrintable(link.output));
    QVERIFY2(link.output.contains(QStringLiteral("linked ") + resources +
                                  QStringLiteral("/harmonics.tcd -> ") + database),
             qPrintable(link.output));
    VerifyStartFindsXTide(database);
}

void tst_Install::stagedInstallLinksOnlyGivenPaths_data() {
    // XTIDE_TIDE and XTIDE_HARMONICS, paths of another system ("" leaves one unset); the stand-in
    // `tide` is on the PATH and a database in XTIDE_HARMONICS's place here, and neither is the
    // other system's.
    QTest::addColumn<QString>("tide");
    QTest::addColumn<QString>("harmonics");
    QTest::addColumn<bool>("installs");
    QTest::addColumn<QString>("missing");  // what the install says is not linked, "" for nothing

    QTest::newRow("both given, absent here: linked as given")
        << QStringLiteral("/opt/no such xtide/bin/tide")
        << QStringLiteral("/opt/no such xtide/share/xtide") << true << QString();
    QTest::newRow("XTIDE_TIDE unset: no tide, not the one on the PATH")
        << QString() << QStringLiteral("/usr/share/xtide") << true << QStringLiteral("XTide");
    QTest::newRow("XTIDE_HARMONICS unset: no database, not Debian's of this machine")
        << QStringLiteral("/usr/bin/tide") << QString() << true
        << QStringLiteral("a harmonics database");
    QTest::newRow("neither set: nothing linked")
        << QString() << QString() << true << QStringLiteral("XTide");
    QTest::newRow("a relative path is refused")
        << QStringLiteral("bin/tide") << QStringLiteral("/usr/share/xtide") << false << QString();
}

void tst_Install::stagedInstallLinksOnlyGivenPaths() {
    QFETCH(QString, tide);
    QFETCH(QString, harmonics);
    QFETCH(bool, installs);
    QFETCH(QString, missing);
    const QString stage = dir->filePath(QStringLiteral("stage dir"));
    QProcessEnvironment staged = withTide;
    staged.insert(QStringLiteral("DESTDIR"), stage);
    for (const auto& [name, value] : {std::pair{QStringLiteral("XTIDE_TIDE"), tide},
                                      std::pair{QStringLiteral("XTIDE_HARMONICS"), harmonics}}) {
        if (value.isEmpty())
            staged.remove(name);
        else
            staged.insert(name, value);
    }
    const Run install = Install(staged);
    const QString stagedResources = stage + resources;
    if (!installs) {
        QVERIFY2(install.exitCode != 0, qPrintable(install.output));
        QVERIFY2(install.output.contains(QStringLiteral("XTIDE_TIDE must be an absolute path")),
                 qPrintable(install.output));
        QVERIFY(!QFileInfo(stagedResources + QStringLiteral("/tide")).isSymLink());
        return;
    }
    QVERIFY2(install.exitCode == 0, qPrintable(install.output));
    QVERIFY(QFileInfo(stage + LinkXTide()).isExecutable());
    QVERIFY(!QFileInfo::exists(prefix));  // nothing outside the staging folder

    // Linked: exactly what is given; without `tide`, not even the database.
    const QString linkedHarmonics = tide.isEmpty() ? QString() : harmonics;
    for (const auto& [entry, target] :
         {std::pair{QStringLiteral("/tide"), tide},
          std::pair{QStringLiteral("/harmonics.tcd"), linkedHarmonics}}) {
        const QString path = stagedResources + entry;
        if (target.isEmpty())
            QVERIFY2(!Present(path),
                     qPrintable(path + QStringLiteral(" -> ") + QFile::symLinkTarget(path)));
        else
            QCOMPARE(QFile::symLinkTarget(path), target);
    }

    // The install names what is missing and the command of the installed system that links it.
    if (missing.isEmpty()) {
        QVERIFY2(!install.output.contains(QStringLiteral("link it")), qPrintable(install.output));
    } else {
        const QString note =
            QStringLiteral("Quorvex is installed without ") + missing + QStringLiteral("; once ");
        const QString command =
            QStringLiteral("link it, as root, with: '") + LinkXTide() + QLatin1Char('\'');
        QVERIFY2(install.output.contains(note), qPrintable(install.output));
        QVERIFY2(install.output.contains(command), qPrintable(install.output));
    }
}

void tst_Install::manifestListsEveryInstalledFile_data() {
    QTest::addColumn<bool>("staged");

    QTest::newRow("straight into the prefix") << false;
    QTest::newRow("staged into a DESTDIR") << true;
}

void tst_Install::manifestListsEveryInstalledFile() {
    // What an uninstall removes: every file and link under the prefix but the caches the
    // desktop's tools rebuild, each listed by its path under the prefix, the form CMake gives
    // the files it installs itself, staged or not.
    QFETCH(bool, staged);
    QProcessEnvironment environment = withTide;
    QString stage;
    if (staged) {
        stage = dir->filePath(QStringLiteral("stage dir"));
        environment.insert(QStringLiteral("DESTDIR"), stage);
        environment.insert(QStringLiteral("XTIDE_TIDE"), QStringLiteral("/usr/bin/tide"));
        environment.insert(QStringLiteral("XTIDE_HARMONICS"), QStringLiteral("/usr/share/xtide"));
    }
    const Run install = Install(environment);
    QVERIFY2(install.exitCode == 0, qPrintable(install.output));
    const QStringList manifest = ReadManifest();

    // CMake's own entries, and the project's in the same form.
    for (const char* entry :
         {"/lib/quorvex/quorvex", "/lib/quorvex/link-xtide", "/share/mime/packages/quorvex.xml"})
        QVERIFY2(manifest.contains(prefix + QLatin1String(entry)), entry);
    QStringList strays;
    for (const QString& entry : manifest) {
        if (!entry.startsWith(prefix + QLatin1Char('/')) || !Present(stage + entry))
            strays << entry;
    }
    QCOMPARE(strays, QStringList());

    const QRegularExpression cache(
        QStringLiteral("^/share/(mime/(?!packages/)|applications/mimeinfo\\.cache$)"));
    QStringList unlisted;
    QDirIterator it(stage + prefix, QDir::Files | QDir::System | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next().mid(stage.size());
        if (!cache.match(path.mid(prefix.size())).hasMatch() && !manifest.contains(path))
            unlisted << path;
    }
    QCOMPARE(unlisted, QStringList());
    for (const char* entry : {"/bin/quorvex", "/share/applications/quorvex.desktop"})
        QVERIFY2(manifest.contains(prefix + QLatin1String(entry)), entry);
    QVERIFY(manifest.contains(resources + QStringLiteral("/tide")));
    QVERIFY(manifest.contains(resources + QStringLiteral("/harmonics.tcd")));
}

void tst_Install::linkXTideLeavesNonLinksAlone_data() {
    QTest::addColumn<QString>("entry");  // where the non-link stands
    QTest::addColumn<bool>("folder");    // a folder, else a file
    QTest::addColumn<bool>("sample");    // over a sample layout instead of the install's links
    QTest::addColumn<bool>("tideFound");
    QTest::addColumn<QString>("message");

    const QString blocks = QStringLiteral(", not a link; it is left alone and nothing is linked");
    const QString left = QStringLiteral(", not a link");
    QTest::newRow("a folder where tide is linked")
        << QStringLiteral("tide") << true << false << true
        << QStringLiteral("is a folder") + blocks;
    QTest::newRow("a file where harmonics.tcd is linked")
        << QStringLiteral("harmonics.tcd") << false << false << true
        << QStringLiteral("is a file") + blocks;
    QTest::newRow("a folder where tide was, no tide found")
        << QStringLiteral("tide") << true << false << false
        << QStringLiteral("it is a folder") + left;
    QTest::newRow("a file where harmonics.tcd was, no tide found")
        << QStringLiteral("harmonics.tcd") << false << false << false
        << QStringLiteral("it is a file") + left;
    QTest::newRow("a folder in a sample layout, no tide found")
        << QStringLiteral("tide") << true << true << false
        << QStringLiteral("it is a folder") + left;
}

void tst_Install::linkXTideLeavesNonLinksAlone() {
    QFETCH(QString, entry);
    QFETCH(bool, folder);
    QFETCH(bool, sample);
    QFETCH(bool, tideFound);
    QFETCH(QString, message);
    QCOMPARE(Install(withTide).exitCode, 0);
    const QString other =
        entry == QLatin1String("tide") ? QStringLiteral("harmonics.tcd") : QStringLiteral("tide");
    const QString otherPath = resources + QLatin1Char('/') + other;
    const QString otherTarget = QFile::symLinkTarget(otherPath);
    QVERIFY(!otherTarget.isEmpty());
    if (sample) {  // the layout of tools/xtide-folder --sample: copies beside a standin-data link
        QVERIFY(QFile::remove(otherPath));
        WriteFile(otherPath, "placeholder harmonics database for the tide stand-in\n");
        QVERIFY(QFile::link(dir->path(), resources + QStringLiteral("/standin-data")));
    }

    // Someone's own folder or file where a link belongs.
    const QString path = resources + QLatin1Char('/') + entry;
    QVERIFY(QFile::remove(path));
    if (folder) {
        QVERIFY(QDir().mkdir(path));
        WriteFile(path + QStringLiteral("/kept"), "kept\n");
    } else {
        WriteFile(path, "kept\n");
    }

    // Run with other paths to link than the install's, so that any new link would show.
    const QString otherTide = dir->filePath(QStringLiteral("other tide"));
    WriteFile(otherTide, "#!/bin/sh\nexit 0\n");
    QVERIFY(QFile::setPermissions(otherTide, QFile::ReadOwner | QFile::WriteOwner |
                                                 QFile::ExeOwner | QFile::ReadOther |
                                                 QFile::ExeOther));
    QProcessEnvironment environment = withoutTide;
    if (tideFound) environment.insert(QStringLiteral("XTIDE_TIDE"), otherTide);
    environment.insert(QStringLiteral("XTIDE_HARMONICS"), database);
    const Run link = RunProcess(QStringLiteral("/bin/bash"), {LinkXTide()}, environment);

    QVERIFY2(link.output.contains(path + (tideFound ? QStringLiteral(" ") : QStringLiteral(": ")) +
                                  message),
             qPrintable(link.output));
    QVERIFY2(!link.output.contains(QStringLiteral("rm:")), qPrintable(link.output));
    QCOMPARE(QFileInfo(path).isDir(), folder);
    QVERIFY(QFileInfo::exists(folder ? path + QStringLiteral("/kept") : path));
    if (tideFound) {
        // Found, `tide` is to be linked over it: nothing changes and the command fails.
        QCOMPARE(link.exitCode, 1);
        QCOMPARE(QFile::symLinkTarget(otherPath), otherTarget);
    } else {
        // Without `tide` the rest of what an earlier run left goes all the same.
        QVERIFY2(link.exitCode == 0, qPrintable(link.output));
        QVERIFY(!Present(otherPath));
        QVERIFY(!Present(resources + QStringLiteral("/standin-data")));
    }
}

void tst_Install::linkXTideAsUserOnRootsCopy_data() {
    QTest::addColumn<bool>("tideFound");

    QTest::newRow("no tide found: root's links stay") << false;
    QTest::newRow("tide found: nothing is linked") << true;
}

void tst_Install::linkXTideAsUserOnRootsCopy() {
    QFETCH(bool, tideFound);
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (geteuid() != 0 || setpriv.isEmpty())
        QSKIP("needs root and setpriv, to run link-xtide as another user on root's copy");
    QCOMPARE(Install(withTide).exitCode, 0);
    const QString tideTarget = QFile::symLinkTarget(resources + QStringLiteral("/tide"));
    const QString harmonicsTarget =
        QFile::symLinkTarget(resources + QStringLiteral("/harmonics.tcd"));
    QVERIFY(!tideTarget.isEmpty() && !harmonicsTarget.isEmpty());

    // The copy, root's, is open to every user to read and run, as an install into /usr is.
    QVERIFY(QFile::setPermissions(dir->path(), QFile::ReadOwner | QFile::WriteOwner |
                                                   QFile::ExeOwner | QFile::ReadOther |
                                                   QFile::ExeOther));
    const QStringList asNobody = {QStringLiteral("--reuid=nobody"),
                                  QStringLiteral("--regid=nogroup"),
                                  QStringLiteral("--clear-groups"), QStringLiteral("/bin/bash")};
    const QProcessEnvironment environment = tideFound ? withTide : withoutTide;
    if (RunProcess(setpriv,
                   asNobody + QStringList{QStringLiteral("-c"), QStringLiteral("test -r \"$0\""),
                                          LinkXTide()},
                   environment)
            .exitCode != 0)
        QSKIP("the user nobody cannot read the installed copy here");

    const Run link = RunProcess(setpriv, asNobody + QStringList{LinkXTide()}, environment);
    QCOMPARE(link.exitCode, 1);
    QCOMPARE(link.output, QStringLiteral("link-xtide: cannot write to ") + resources +
                              QStringLiteral(" (a copy installed as root is linked as root)\n"));
    QCOMPARE(QFile::symLinkTarget(resources + QStringLiteral("/tide")), tideTarget);
    QCOMPARE(QFile::symLinkTarget(resources + QStringLiteral("/harmonics.tcd")), harmonicsTarget);
}

QUORVEX_TEST_MAIN(tst_Install)
#include "tst_Install.moc"
