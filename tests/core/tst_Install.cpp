// tst_Install  The installed Quorvex: `cmake --install` into a fresh prefix lays the program out
// so that its own search finds the XTide folder linked from the `tide` on the PATH, and its
// desktop entry starts it; without `tide` the rest is installed, the links of an earlier install
// are gone, and the command the install names links XTide later.
#include <QDir>
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
               const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
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

}  // namespace

class tst_Install : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void installedProgramFindsXTide();
    void withoutTideTheRestIsInstalled();

  private:
    Run Install(const QProcessEnvironment& environment);
    // The XTide folder the installed program's own search finds, "" for none.
    QString FoundXTideFolder();

    std::unique_ptr<QTemporaryDir> dir;
    QString prefix;      // holds a blank, which every installed path must survive
    QString standInBin;  // a folder whose `tide` is the stand-in
    QString harmonics;   // a placeholder database
    QProcessEnvironment withTide, withoutTide;
};

void tst_Install::init() {
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    prefix = QFileInfo(dir->path()).canonicalFilePath() + QStringLiteral("/my prefix");
    standInBin = dir->filePath(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(standInBin));
    QVERIFY(
        QFile::link(QStringLiteral(QUORVEX_STANDIN_TIDE), standInBin + QStringLiteral("/tide")));
    harmonics = dir->filePath(QStringLiteral("harmonics-dwf-20990101.tcd"));
    QFile placeholder(harmonics);
    QVERIFY(placeholder.open(QIODevice::WriteOnly));
    placeholder.write("placeholder harmonics database\n");
    placeholder.close();

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

void tst_Install::installedProgramFindsXTide() {
    const Run install = Install(withTide);
    QVERIFY2(install.exitCode == 0, qPrintable(install.output));

    const QString program = prefix + QStringLiteral("/bin/quorvex");
    const QString installed = prefix + QStringLiteral("/lib/quorvex/quorvex");
    QVERIFY(QFileInfo(installed).isExecutable());
    QCOMPARE(QFileInfo(program).canonicalFilePath(), installed);

    // The application's own start finds the folder without asking.
    const QString resources =
        prefix + QStringLiteral("/lib/quorvex/Quorvex.app/Contents/Resources");
    Folders::SetApplicationFolderForTesting(ProgramFolder(program));
    ScriptedDialogs dialogs;
    App app;
    QVERIFY(app.Event_Open());
    QVERIFY(dialogs.requests.isEmpty());
    QCOMPARE(app.xtideFolder, resources);
    QCOMPARE(QFileInfo(resources + QStringLiteral("/tide")).canonicalFilePath(),
             QFileInfo(QStringLiteral(QUORVEX_STANDIN_TIDE)).canonicalFilePath());
    QCOMPARE(QFileInfo(resources + QStringLiteral("/harmonics.tcd")).canonicalFilePath(),
             QFileInfo(harmonics).canonicalFilePath());

    // And it is usable: the stations list through it.
    LocationGetter getter;
    bool have = false;
    QStringList errors;
    connect(&getter, &LocationGetter::HaveLocations, this, [&] { have = true; });
    connect(&getter, &LocationGetter::Error, this, [&](const QString& m) { errors << m; });
    getter.GetLocations(app.xtideFolder);
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

void tst_Install::withoutTideTheRestIsInstalled() {
    QCOMPARE(Install(withTide).exitCode, 0);
    QVERIFY(!FoundXTideFolder().isEmpty());

    const Run install = Install(withoutTide);
    QVERIFY2(install.exitCode == 0, qPrintable(install.output));
    QVERIFY(install.output.contains(QStringLiteral("tide program was not found")));
    QVERIFY(QFileInfo(prefix + QStringLiteral("/bin/quorvex")).isExecutable());
    QVERIFY(QFileInfo::exists(prefix + QStringLiteral("/share/applications/quorvex.desktop")));
    QCOMPARE(FoundXTideFolder(), QString());  // the earlier install's links went with `tide`

    // The command the install names links XTide into the installed copy.
    const QRegularExpressionMatch named =
        QRegularExpression(QStringLiteral("once XTide is installed, link it with: (.*)$"),
                           QRegularExpression::MultilineOption)
            .match(install.output);
    QVERIFY2(named.hasMatch(), qPrintable(install.output));
    const Run link = RunProcess(QStringLiteral("/bin/bash"),
                                {QStringLiteral("-c"), named.captured(1)}, withTide);
    QVERIFY2(link.exitCode == 0, qPrintable(link.output));
    QCOMPARE(FoundXTideFolder(),
             prefix + QStringLiteral("/lib/quorvex/Quorvex.app/Contents/Resources"));
}

QUORVEX_TEST_MAIN(tst_Install)
#include "tst_Install.moc"
