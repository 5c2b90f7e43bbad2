// tst_TideCommand  The month's command line: its exact text, where a month begins and ends, and
// a location that reaches tide as one unchanged argument whatever it holds, followed by the
// switches that keep the user's XTide settings out of the output.
#include <QtTest>

#include "engine/LocationGetter.h"
#include "engine/LocationName.h"
#include "engine/TideCommand.h"
#include "support/TestMain.h"

class tst_TideCommand : public QObject {
    Q_OBJECT
  private slots:
    void exactText();
    void monthBounds_data();
    void monthBounds();
    void locationIsOneArgument_data();
    void locationIsOneArgument();
    void goneFolderRunsNoTide();
};

void tst_TideCommand::exactText() {
    QCOMPARE(
        TideCommand::Build(QStringLiteral("/Apps/Quorvex Apps/Quorvex.app/Contents/Resources"),
                           QStringLiteral("Seattle, Puget Sound, Washington"), 3, 2009),
        QStringLiteral("cd '/Apps/Quorvex Apps/Quorvex.app/Contents/Resources' || exit; export "
                       "HFILE_PATH=./harmonics.tcd; ./tide -l 'Seattle, Puget Sound, "
                       "Washington' -b \"2009-03-01 00:00\" -e \"2009-04-01 00:00\" -df "
                       "\"%Y-%m-%d\" -tf \"%l:%M %p %Z\" -z n -em x"));
}

void tst_TideCommand::monthBounds_data() {
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("year");
    QTest::addColumn<QString>("begin");
    QTest::addColumn<QString>("end");
    QTest::newRow("March 2009") << 3 << 2009 << "2009-03-01 00:00"
                                << "2009-04-01 00:00";
    QTest::newRow("April") << 4 << 2026 << "2026-04-01 00:00"
                           << "2026-05-01 00:00";
    QTest::newRow("February, leap year") << 2 << 2008 << "2008-02-01 00:00"
                                         << "2008-03-01 00:00";
    QTest::newRow("February, common year") << 2 << 2009 << "2009-02-01 00:00"
                                           << "2009-03-01 00:00";
    QTest::newRow("December") << 12 << 2027 << "2027-12-01 00:00"
                              << "2028-01-01 00:00";
    QTest::newRow("three-digit year") << 1 << 999 << "0999-01-01 00:00"
                                      << "0999-02-01 00:00";
}

void tst_TideCommand::monthBounds() {
    QFETCH(int, month);
    QFETCH(int, year);
    QFETCH(QString, begin);
    QFETCH(QString, end);
    QCOMPARE(TideCommand::BeginText(month, year), begin);
    QCOMPARE(TideCommand::EndText(month, year), end);
    QVERIFY(TideCommand::Build(QStringLiteral("/x"), QStringLiteral("L"), month, year)
                .contains(QStringLiteral(" -b \"") + begin + QStringLiteral("\" -e \"") + end +
                          QStringLiteral("\" -df ")));
}

void tst_TideCommand::locationIsOneArgument_data() {
    QTest::addColumn<QByteArray>("location");  // the listed bytes
    QTest::newRow("plain") << QByteArray("Seattle, Puget Sound, Washington");
    QTest::newRow("double quotes closing the word") << QByteArray("x\"; touch PWNED; \"");
    QTest::newRow("command substitution") << QByteArray("$(touch PWNED)");
    QTest::newRow("backquotes") << QByteArray("`touch PWNED`");
    QTest::newRow("single quotes") << QByteArray("'; touch PWNED; '");
    QTest::newRow("backslash and variable") << QByteArray("a\\b $HOME *");
    QTest::newRow("UTF-8 accent") << QByteArray(
        "Mayag\xc3\xbc"
        "ez, Puerto Rico");
    QTest::newRow("cut mid-character") << QByteArray("Punta Guanajibo, Mayag\xc3");
}

// Runs the command line through bash in a folder whose `tide` records its arguments.
void tst_TideCommand::locationIsOneArgument() {
    QFETCH(QByteArray, location);
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/tide command XXXXXX"));
    QVERIFY(dir.isValid());
    const QString tide = dir.filePath(QStringLiteral("tide"));
    {
        QFile script(tide);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(
            "#!/bin/bash\nprintf '%s\\0' \"$@\" > args\nprintf '%s' \"$HFILE_PATH\" > "
            "hfile\n");
    }
    QVERIFY(QFile::setPermissions(tide, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    const QString name = LocationName::FromListing(location, LocationName::Charset::Utf8);
    QVERIFY(LocationName::LocaleCharset() == LocationName::Charset::Utf8);  // LC_ALL=C.UTF-8
    QProcess bash;
    bash.setWorkingDirectory(dir.path());
    bash.start(QStringLiteral("/bin/bash"),
               {QStringLiteral("-c"), TideCommand::Build(dir.path(), name, 2, 2024)});
    QVERIFY(bash.waitForFinished(10000));
    QCOMPARE(bash.exitCode(), 0);

    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("PWNED"))));
    QFile args(dir.filePath(QStringLiteral("args")));
    QVERIFY(args.open(QIODevice::ReadOnly));
    const QList<QByteArray> argv = args.readAll().split('\0');
    const QList<QByteArray> expected = {
        "-l",  location,   "-b",  "2024-02-01 00:00", "-e", "2024-03-01 00:00",
        "-df", "%Y-%m-%d", "-tf", "%l:%M %p %Z",      "-z", "n",
        "-em", "x",        ""};
    QCOMPARE(argv, expected);
    QFile hfile(dir.filePath(QStringLiteral("hfile")));
    QVERIFY(hfile.open(QIODevice::ReadOnly));
    QCOMPARE(hfile.readAll(), QByteArray("./harmonics.tcd"));
}

// A folder that is gone must not leave bash in the folder it started in, running whatever
// "./tide" stands there.
void tst_TideCommand::goneFolderRunsNoTide() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString tide = dir.filePath(QStringLiteral("tide"));
    {
        QFile script(tide);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/bash\ntouch RAN\n");
    }
    QVERIFY(QFile::setPermissions(tide, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QString gone = dir.filePath(QStringLiteral("no such folder"));
    const QStringList commands = {
        TideCommand::Build(gone, QStringLiteral("Seattle"), 3, 2026),
        LocationGetter::LocationListCommand(gone, dir.filePath(QStringLiteral("list.txt")))};
    for (const QString& command : commands) {
        QProcess bash;
        bash.setWorkingDirectory(dir.path());
        bash.start(QStringLiteral("/bin/bash"), {QStringLiteral("-c"), command});
        QVERIFY(bash.waitForFinished(10000));
        QVERIFY2(bash.exitCode() != 0, qPrintable(command));
        QVERIFY2(!QFile::exists(dir.filePath(QStringLiteral("RAN"))), qPrintable(command));
    }
}

QUORVEX_TEST_MAIN(tst_TideCommand)
#include "tst_TideCommand.moc"
