// tst_Standin  The stand-in tide, run through bash with the command lines the application builds.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "platform/ShellWord.h"
#include "support/TestMain.h"
#include "support/XTideFixture.h"

namespace {

struct Run {
    QByteArray out, err;
    int exitCode = -1;
};

QByteArray ReadFixture(const QString& name, const QString& folder = QStringLiteral("xtide")) {
    QFile f(QStringLiteral(QUORVEX_TEST_FIXTURES "/") + folder + QLatin1Char('/') + name);
    if (!f.open(QIODevice::ReadOnly)) qFatal("missing fixture %s", qPrintable(name));
    return f.readAll();
}

// The stations, months and recordings of the runs under a user's XTide settings file.
QString UserSettingsData() { return QStringLiteral(QUORVEX_TEST_FIXTURES "/user-settings"); }
QByteArray UserSettingsFixture(const QString& name) {
    return ReadFixture(name, QStringLiteral("user-settings"));
}

// The switches with which the application's command lines name tide's defaults.
const QString kPinned = QStringLiteral(" -df \"%Y-%m-%d\" -tf \"%l:%M %p %Z\" -z n -em x");

// The banner and indexing line that every run writes to standard error first.
QByteArray RecordedPreamble() {
    return ReadFixture(QStringLiteral("recorded/seattle_2009-03.stderr"));
}

}  // namespace

class TestStandin : public QObject {
    Q_OBJECT

    QTemporaryDir home;  // HOME of every run: no disclaimer switch unless a test makes one

    Run Bash(const XTideFixture& fx, const QString& command,
             const QMap<QString, QString>& env = {}) {
        QProcess p;
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert(QStringLiteral("HOME"), home.path());
        e.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        e.remove(QStringLiteral("QUORVEX_STANDIN_DATA"));
        for (auto it = env.begin(); it != env.end(); ++it) {
            if (it.value() == QLatin1String("<unset>"))
                e.remove(it.key());
            else
                e.insert(it.key(), it.value());
        }
        p.setProcessEnvironment(e);
        p.start(
            QStringLiteral("/bin/bash"),
            {QStringLiteral("-c"), QStringLiteral("cd ") + ShellWord::ShellPath(fx.xtideFolder()) +
                                       QStringLiteral("; ") + command});
        if (!p.waitForFinished(20000)) qFatal("bash did not finish");
        return {p.readAllStandardOutput(), p.readAllStandardError(), p.exitCode()};
    }

    // `switches`: more of the command line, after the end.
    Run Month(const XTideFixture& fx, const QByteArray& location, const QString& begin,
              const QString& end, const QMap<QString, QString>& env = {},
              const QString& switches = QString()) {
        return Bash(fx,
                    QStringLiteral("export HFILE_PATH=./harmonics.tcd; ./tide -l ") +
                        ShellWord::Quote(location) + QStringLiteral(" -b \"") + begin +
                        QStringLiteral("\" -e \"") + end + QStringLiteral("\"") + switches,
                    env);
    }

    // Runs the listing command line, which sends both streams into one file; returns that file.
    QByteArray Listing(const XTideFixture& fx, const QMap<QString, QString>& env = {},
                       int* exitCode = nullptr, const QString& switches = QString()) {
        const QString file = home.path() + QStringLiteral("/tide locations.txt");
        QFile::remove(file);
        Run r = Bash(fx,
                     QStringLiteral("export HFILE_PATH=./harmonics.tcd;./tide -l") +
                         ShellWord::ShellPath(fx.harmonicsPath()) + QStringLiteral(" -ml") +
                         switches + QStringLiteral(" >&") + ShellWord::ShellPath(file),
                     env);
        if (exitCode) *exitCode = r.exitCode;
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Puts `settings` in HOME as the user's XTide settings file, or removes the file when empty.
    void UseSettingsFile(const QByteArray& settings) {
        QFile file(home.filePath(QStringLiteral(".xtide.xml")));
        file.remove();
        if (settings.isEmpty()) return;
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(settings);
    }

  private slots:
    void cleanup() { UseSettingsFile({}); }

    void listingLayout() {
        XTideFixture fx;
        QVERIFY(fx.isValid());
        int exitCode = -1;
        const QByteArray text =
            Listing(fx, {{QStringLiteral("LC_ALL"), QStringLiteral("C")}}, &exitCode);
        QCOMPARE(exitCode, 0);
        QVERIFY(text.startsWith(RecordedPreamble()));
        QList<QByteArray> lines = text.mid(RecordedPreamble().size()).split('\n');
        QVERIFY(QRegularExpression(
                    QStringLiteral(
                        R"(^Location list generated \d{4}-\d\d-\d\d [ 1]\d:\d\d [AP]M UTC$)"))
                    .match(QString::fromLatin1(lines.at(0)))
                    .hasMatch());
        QCOMPARE(lines.at(1), QByteArray());
        QCOMPARE(lines.last(), QByteArray());  // the text ends in a line end
        lines = lines.mid(2, lines.size() - 3);
        QCOMPARE(lines.size(), 18);
        // Latin-1: one byte a character, so every line has the same width.
        for (const QByteArray& line : lines) {
            QCOMPARE(line.size(), 79);
            QVERIFY2(line.mid(51, 5) == " Ref " || line.mid(51, 5) == " Sub ", line.constData());
        }
        QVERIFY(
            lines.contains("Seattle, Puget Sound, Washington                    Ref "
                           "47.6026\xb0 N, 122.3393\xb0 W"));
        QVERIFY(
            lines.contains("Mayag\xfc"
                           "ez, Puerto Rico                               Ref "
                           "18.2189\xb0 N,  67.1625\xb0 W"));
        // Names longer than the column are cut, the coordinates padded.
        QVERIFY(
            lines.contains("Admiralty Inlet (off Bush Point) (Depth 29ft), Wash Ref "
                           "48.0335\xb0 N, 122.6376\xb0 W"));
    }

    void listingUtf8CutsBeforeConversion() {
        // Under UTF-8 the name is cut to 51 characters first, so an accented name takes more
        // than 51 bytes and byte 52 may fall inside a character.
        XTideFixture fx;
        const QByteArray text = Listing(fx);
        QVERIFY(
            text.contains("\nBah\xc3\xad"
                          "a Sucia, 0.5 mile south of Isla de Ratones, Ca\xc3\xb1 Sub "
                          "17.9633\xc2\xb0 N,  67.1850\xc2\xb0 W\n"));
        QVERIFY(text.contains("\nRincon Point, Pier 22\xc2\xbd, San Francisco Bay, Californ Ref "));
    }

    void monthMatchesRecording_data() {
        QTest::addColumn<QByteArray>("location");
        QTest::addColumn<QString>("begin");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("recording");
        QTest::newRow("seattle") << QByteArray("Seattle, Puget Sound, Washington")
                                 << "2009-03-01 00:00"
                                 << "2009-03-31 23:59"
                                 << "seattle_2009-03.stdout";
        QTest::newRow("four-letter zone")
            << QByteArray("Juneau, Gastineau Channel, Stephens Pass, Alaska") << "2009-03-01 00:00"
            << "2009-03-31 23:59"
            << "juneau_AKST_2009-03.stdout";
        QTest::newRow("current with directions")
            << QByteArray("Admiralty Inlet (off Bush Point) (Depth 29ft), Washington Current")
            << "2009-03-01 00:00"
            << "2009-03-31 23:59"
            << "current_admiralty_2009-03.stdout";
        QTest::newRow("accented, one week") << QByteArray(
                                                   "Mayag\xc3\xbc"
                                                   "ez, Puerto Rico")
                                            << "2009-03-01 00:00"
                                            << "2009-03-07 23:59"
                                            << "mayaguez_utf8_2009-03.stdout";
        QTest::newRow("30-day month")
            << QByteArray("Port Angeles, Strait Of Juan De Fuca, Washington") << "2026-04-01 00:00"
            << "2026-04-30 23:59"
            << "port_angeles_2026-04.stdout";
    }

    void monthMatchesRecording() {
        QFETCH(QByteArray, location);
        QFETCH(QString, begin);
        QFETCH(QString, end);
        QFETCH(QString, recording);
        XTideFixture fx;
        const Run r = Month(fx, location, begin, end);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.err, RecordedPreamble());
        QCOMPARE(r.out, ReadFixture(recording));
    }

    // The user's settings file and the switches that override it, one setting at a time. Etolin
    // Point keeps Alaska time (AKDT, UTC-8); in UTC the first event of October 1 is the last of
    // September 30 in Alaska.
    void userSettings_data() {
        QTest::addColumn<QByteArray>("settings");  // the settings file; none when empty
        QTest::addColumn<QString>("switches");
        QTest::addColumn<QString>("begin");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QByteArray>("events");
        const QByteArray user = UserSettingsFixture(QStringLiteral("xtide.xml"));
        const QByteArray defaults =
            "2026-10-01  7:04 AM AKDT  -0.00 knots  Slack, Ebb Begins\n"
            "2026-10-01  8:39 AM AKDT   Sunrise\n";
        QTest::newRow("defaults") << QByteArray() << QString() << "2026-10-01 07:00"
                                  << "2026-10-01 09:00" << defaults;
        QTest::newRow("date format")
            << QByteArray() << " -df \"%d.%m.%Y\""
            << "2026-10-01 07:00"
            << "2026-10-01 09:00"
            << QByteArray(
                   "01.10.2026  7:04 AM AKDT  -0.00 knots  Slack, Ebb Begins\n"
                   "01.10.2026  8:39 AM AKDT   Sunrise\n");
        QTest::newRow("time format, attached")
            << QByteArray() << " '-tf%H:%M %Z'"
            << "2026-10-01 07:00"
            << "2026-10-01 09:00"
            << QByteArray(
                   "2026-10-01 07:04 AKDT  -0.00 knots  Slack, Ebb Begins\n"
                   "2026-10-01 08:39 AKDT   Sunrise\n");
        QTest::newRow("UTC: begin and end in UTC as well")
            << QByteArray() << " -z y"
            << "2026-10-01 15:00"
            << "2026-10-01 17:00"
            << QByteArray(
                   "2026-10-01  3:04 PM UTC  -0.00 knots  Slack, Ebb Begins\n"
                   "2026-10-01  4:39 PM UTC   Sunrise\n");
        QTest::newRow("UTC across midnight")
            << QByteArray() << " -z y"
            << "2026-10-01 00:00"
            << "2026-10-01 01:00"
            << QByteArray("2026-10-01 12:10 AM UTC   2.70 knots  Max Flood\n");
        QTest::newRow("event mask") << QByteArray() << " -em S"
                                    << "2026-10-01 07:00"
                                    << "2026-10-01 09:00"
                                    << QByteArray(
                                           "2026-10-01  7:04 AM AKDT  -0.00 knots  Slack, Ebb "
                                           "Begins\n");
        QTest::newRow("mask of other events") << QByteArray() << " -em pMm"
                                              << "2026-10-01 07:00"
                                              << "2026-10-01 09:00" << defaults;
        QTest::newRow("settings file")
            << user << QString() << "2026-10-01 15:00"
            << "2026-10-01 17:00"
            << QByteArray("01.10.2026 15:04 UTC  -0.00 knots  Slack, Ebb Begins\n");
        QTest::newRow("settings file, one switch wins")
            << user << " -z n"
            << "2026-10-01 07:00"
            << "2026-10-01 09:00"
            << QByteArray("01.10.2026 07:04 AKDT  -0.00 knots  Slack, Ebb Begins\n");
        QTest::newRow("settings file, every switch wins") << user << kPinned << "2026-10-01 07:00"
                                                          << "2026-10-01 09:00" << defaults;
        QTest::newRow("single quotes and entities")
            << QByteArray("<?xml version=\"1.0\"?>\n<xtideoptions\n  df='%d &amp; %m'/>\n")
            << QString() << "2026-10-01 08:00"
            << "2026-10-01 09:00" << QByteArray("01 & 10  8:39 AM AKDT   Sunrise\n");
    }

    void userSettings() {
        QFETCH(QByteArray, settings);
        QFETCH(QString, switches);
        QFETCH(QString, begin);
        QFETCH(QString, end);
        QFETCH(QByteArray, events);
        XTideFixture fx(UserSettingsData());
        UseSettingsFile(settings);
        const Run r = Month(fx, "Etolin Point", begin, end, {}, switches);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.err, RecordedPreamble());
        const QByteArray header = UserSettingsFixture(QStringLiteral("etolin_2026-10.stdout"))
                                      .split('\n')
                                      .mid(0, 5)
                                      .join('\n') +
                                  '\n';
        QCOMPARE(r.out, header + events);
    }

    // The runs that the real program made of October with a user's settings file, with and
    // without the switches; the listing's header date is the time of the run.
    void userSettingsMatchRecordings() {
        XTideFixture fx(UserSettingsData());
        UseSettingsFile(UserSettingsFixture(QStringLiteral("xtide.xml")));
        const QByteArray etolin = "Etolin Point, 8.5 miles west of, Alaska Current";
        Run r = Month(fx, etolin, "2026-10-01 00:00", "2026-11-01 00:00");
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, UserSettingsFixture(QStringLiteral("etolin_2026-10.under-settings.txt")));
        r = Month(fx, etolin, "2026-10-01 00:00", "2026-11-01 00:00", {}, kPinned);
        QCOMPARE(r.out, UserSettingsFixture(QStringLiteral("etolin_2026-10.stdout")));

        const auto head = [&](const QString& switches, const QString& stamp) {
            QList<QByteArray> lines =
                Listing(fx, {}, nullptr, switches).mid(RecordedPreamble().size()).split('\n');
            const QString marker = QString::fromUtf8(lines.value(0));
            if (!QRegularExpression(QStringLiteral("^Location list generated ") + stamp +
                                    QStringLiteral(" UTC$"))
                     .match(marker)
                     .hasMatch())
                return marker.toUtf8();
            return lines.mid(1, 39).join('\n') + '\n';
        };
        const auto recordedHead = [](const QString& name) {
            const QByteArray text = UserSettingsFixture(name);
            return text.mid(text.indexOf('\n') + 1);
        };
        QCOMPARE(head(QString(), QStringLiteral(R"(\d\d\.\d\d\.\d{4} \d\d:\d\d)")),
                 recordedHead(QStringLiteral("listing_head.under-settings.txt")));
        QCOMPARE(head(kPinned + QStringLiteral(" -tw 79"),
                      QStringLiteral(R"(\d{4}-\d\d-\d\d [ 1]\d:\d\d [AP]M)")),
                 recordedHead(QStringLiteral("listing_head.txt")));
    }

    void fourLetterZoneShiftsColumns() {
        XTideFixture fx;
        const Run r = Month(fx, "Juneau, Gastineau", "2009-03-01 00:00", "2009-03-01 12:00");
        const QList<QByteArray> lines = r.out.split('\n');
        QVERIFY(lines.contains("2009-03-01  3:13 AM AKST  17.54 feet  High Tide"));
        QVERIFY(lines.contains("2009-03-01  6:51 AM AKST   Sunrise"));
    }

    void range_data() {
        QTest::addColumn<QString>("begin");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QByteArray>("events");
        // An event falls seconds into its printed minute: within the begin minute, after the end.
        QTest::newRow("morning, from the begin minute to before the end minute")
            << "2009-03-01 01:03"
            << "2009-03-01 08:16"
            << QByteArray(
                   "2009-03-01  1:03 AM PST   4.41 feet  Low Tide\n"
                   "2009-03-01  6:49 AM PST   Sunrise\n"
                   "2009-03-01  7:03 AM PST  11.85 feet  High Tide\n");
        QTest::newRow("end one minute later")
            << "2009-03-01 07:04"
            << "2009-03-01 08:17" << QByteArray("2009-03-01  8:16 AM PST   Moonrise\n");
        QTest::newRow("12 AM is the first hour")
            << "2009-03-05 00:00"
            << "2009-03-05 01:00" << QByteArray("2009-03-05 12:56 AM PST   9.92 feet  High Tide\n");
        QTest::newRow("12 PM is noon")
            << "2009-03-06 12:00"
            << "2009-03-06 12:46" << QByteArray("2009-03-06 12:45 PM PST   Moonrise\n");
        QTest::newRow("month without recording") << "2011-06-01 00:00"
                                                 << "2011-06-30 23:59" << QByteArray();
    }

    void range() {
        QFETCH(QString, begin);
        QFETCH(QString, end);
        QFETCH(QByteArray, events);
        XTideFixture fx;
        const Run r = Month(fx, "Seattle", begin, end);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, QByteArray("Seattle, Puget Sound, Washington\n"
                                   "47.6026\xc2\xb0 N, 122.3393\xc2\xb0 W\n\n") +
                            events);
    }

    void nameMatch_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QByteArray>("firstLine");
        QTest::newRow("leading part, other case")
            << "-l 'sEATTLE' -b '2009-03-01 00:00' -e '2009-03-01 02:00'"
            << QByteArray("Seattle, Puget Sound, Washington");
        QTest::newRow("first in table order wins")
            << "-l 'Juneau' -b '2009-03-01 00:00' -e '2009-03-01 02:00'"
            << QByteArray("Juneau Harbor, S of (Depth 25ft), Gastineau Channel, Alaska Current");
        QTest::newRow("station before its sub")
            << "-l 'PORT ANGELES' -b '2009-03-01 00:00' -e '2009-03-01 02:00'"
            << QByteArray("Port Angeles, Strait Of Juan De Fuca, Washington");
        QTest::newRow("name cut by the listing")
            << "-l 'Admiralty Inlet (off Bush Point) (Depth 29ft), Wash' -b '2009-03-01 00:00' "
               "-e '2009-03-01 02:00'"
            << QByteArray("Admiralty Inlet (off Bush Point) (Depth 29ft), Washington Current");
        QTest::newRow("accented, other case")
            << "-l $'MAYAG\\xc3\\x9c' -b '2009-03-01 00:00' -e '2009-03-01 02:00'"
            << QByteArray(
                   "Mayag\xc3\xbc"
                   "ez, Puerto Rico");
        QTest::newRow("attached values") << "-lSeattle '-b2009-03-01 00:00' '-e2009-03-01 02:00'"
                                         << QByteArray("Seattle, Puget Sound, Washington");
    }

    void nameMatch() {
        QFETCH(QString, arguments);
        QFETCH(QByteArray, firstLine);
        XTideFixture fx;
        const Run r =
            Bash(fx, QStringLiteral("export HFILE_PATH=./harmonics.tcd; ./tide ") + arguments);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out.left(r.out.indexOf('\n')), firstLine);
    }

    void errors_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("err");
        const QString tail = QStringLiteral(" -b \"2009-03-01 00:00\" -e \"2009-03-31 23:59\"");
        QTest::newRow("unknown station")
            << "export HFILE_PATH=./harmonics.tcd; ./tide -l \"Nowhere Bay\"" + tail << 0
            << ReadFixture(QStringLiteral("recorded/nowhere_bay.stderr"));
        QTest::newRow("missing harmonics file")
            << "export HFILE_PATH=./missing.tcd; ./tide -l \"Seattle, Puget Sound, Washington\"" +
                   tail
            << 255 << ReadFixture(QStringLiteral("recorded/missing_hfile.stderr"));
        QTest::newRow("bad date")
            << "export HFILE_PATH=./harmonics.tcd; ./tide -l \"Seattle, Puget Sound, Washington\" "
               "-b \"2009-13-45 00:00\" -e \"2009-03-31 23:59\""
            << 255 << ReadFixture(QStringLiteral("recorded/bad_date.stderr"));
    }

    void errors() {
        QFETCH(QString, command);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, err);
        XTideFixture fx;
        const Run r = Bash(fx, command);
        QCOMPARE(r.exitCode, exitCode);
        QCOMPARE(r.out, QByteArray());
        QCOMPARE(r.err, err);
    }

    void harmonicsPathUnsetOrRemoved() {
        XTideFixture fx;
        Run r = Bash(fx, QStringLiteral("unset HFILE_PATH; ./tide -l Seattle"));
        QCOMPARE(r.exitCode, 255);
        QVERIFY(r.err.contains("XTide Fatal Error:  NO_HFILE_IN_PATH\n"));
        QVERIFY(fx.removeHarmonics());
        int exitCode = -1;
        QCOMPARE(Listing(fx, {}, &exitCode),
                 ReadFixture(QStringLiteral("recorded/missing_hfile.stderr"))
                     .replace("./missing.tcd", "./harmonics.tcd"));
        QCOMPARE(exitCode, 255);
    }

    void disclaimerSwitch() {
        XTideFixture fx;
        QFile::remove(home.path() + QStringLiteral("/.disableXTidedisclaimer"));
        Run r = Month(fx, "Seattle", "2009-03-01 00:00", "2009-03-01 02:00");
        QCOMPARE(r.err, RecordedPreamble());
        QFile flag(home.path() + QStringLiteral("/.disableXTidedisclaimer"));
        QVERIFY(flag.open(QIODevice::WriteOnly));
        flag.close();
        r = Month(fx, "Seattle", "2009-03-01 00:00", "2009-03-01 02:00");
        flag.remove();
        QCOMPARE(r.err, QByteArray("Indexing ./harmonics.tcd...\n"));
        QVERIFY(r.out.startsWith("Seattle, Puget Sound, Washington\n"));
    }

    void encoding_data() {
        QTest::addColumn<QString>("lcAll");
        QTest::addColumn<QString>("lcCtype");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<bool>("utf8");
        const QString unset = QStringLiteral("<unset>");
        QTest::newRow("LC_ALL=C") << "C"
                                  << "C.UTF-8"
                                  << "C.UTF-8" << false;
        QTest::newRow("LC_ALL=C.UTF-8") << "C.UTF-8"
                                        << "C"
                                        << "C" << true;
        QTest::newRow("LC_CTYPE next") << unset << "en_US.utf8"
                                       << "C" << true;
        QTest::newRow("LANG last") << unset << unset << "de_DE.UTF-8" << true;
        QTest::newRow("nothing set") << unset << unset << unset << false;
    }

    void encoding() {
        QFETCH(QString, lcAll);
        QFETCH(QString, lcCtype);
        QFETCH(QString, lang);
        QFETCH(bool, utf8);
        XTideFixture fx;
        const QMap<QString, QString> env{{QStringLiteral("LC_ALL"), lcAll},
                                         {QStringLiteral("LC_CTYPE"), lcCtype},
                                         {QStringLiteral("LANG"), lang}};
        // The name argument arrives in the locale's encoding, like the output.
        const QByteArray name = utf8 ? "Mayag\xc3\xbc" : "Mayag\xfc";
        const Run r = Month(fx, name, "2009-03-01 00:00", "2009-03-01 07:00", env);
        const QByteArray header = utf8 ? "Mayag\xc3\xbc"
                                         "ez, Puerto Rico\n18.2189\xc2\xb0 N, 67.1625\xc2\xb0 W\n\n"
                                       : "Mayag\xfc"
                                         "ez, Puerto Rico\n18.2189\xb0 N, 67.1625\xb0 W\n\n";
        QCOMPARE(r.out, header +
                            "2009-03-01  6:02 AM AST   0.08 feet  Low Tide\n"
                            "2009-03-01  6:47 AM AST   Sunrise\n");
        const QByteArray listing = Listing(fx, env);
        QCOMPARE(listing.contains(
                     utf8 ? "\nEast Isle Derni\xc3\xa8re, Lake Pelto, Louisiana           Ref"
                          : "\nEast Isle Derni\xe8re, Lake Pelto, Louisiana           Ref"),
                 true);
    }

    void failureSwitches() {
        XTideFixture fx;
        fx.setFailure("exit:3");
        Run r = Month(fx, "Seattle", "2009-03-01 00:00", "2009-03-31 23:59");
        QCOMPARE(r.exitCode, 3);
        QCOMPARE(r.out, QByteArray());
        QVERIFY(!r.err.isEmpty());

        fx.setFailure("empty");
        r = Month(fx, "Seattle", "2009-03-01 00:00", "2009-03-31 23:59");
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out + r.err, QByteArray());

        fx.setFailure("harmonics");
        r = Month(fx, "Seattle", "2009-03-01 00:00", "2009-03-31 23:59");
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, QByteArray("harmonics.tcd: No such file or directory\n"));

        fx.setFailure("garbage");
        r = Month(fx, "Seattle", "2009-03-01 00:00", "2009-03-31 23:59");
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.out.size() > 100);
        QVERIFY(!r.out.contains('\0'));
        QVERIFY(!r.out.contains("Seattle"));

        fx.setFailure("nomarker");
        QByteArray text = Listing(fx);
        QVERIFY(!text.contains("Location list generated"));
        QVERIFY(text.contains("\nSeattle, Puget Sound, Washington "));

        fx.setFailure("crlf");
        text = Listing(fx);
        QCOMPARE(text.count("\r\n"), text.count('\n'));
        QVERIFY(text.contains("Location list generated"));
        QVERIFY(text.endsWith("\r\n"));

        fx.setFailure("cr,sleep:0.3");
        QElapsedTimer clock;
        clock.start();
        text = Listing(fx);
        QVERIFY(clock.elapsed() >= 300);
        QCOMPARE(text.count('\n'), 0);
        QVERIFY(text.contains("\rSeattle, Puget Sound, Washington "));

        fx.clearFailure();
        QVERIFY(Listing(fx).contains("\nSeattle, Puget Sound, Washington "));
    }

    void fixtureBreakages() {
        // What the shell itself reports when the program is gone or cannot run.
        XTideFixture fx;
        QVERIFY(fx.makeTideNotExecutable());
        Run r = Month(fx, "Seattle", "2009-03-01 00:00", "2009-03-31 23:59");
        QCOMPARE(r.exitCode, 126);
        QVERIFY(r.err.endsWith("./tide: Permission denied\n"));
        QVERIFY(fx.removeTide());
        r = Month(fx, "Seattle", "2009-03-01 00:00", "2009-03-31 23:59");
        QCOMPARE(r.exitCode, 127);
        QVERIFY(r.err.endsWith("./tide: No such file or directory\n"));
    }

    void sampleData() {
        XTideFixture fx(XTideFixture::sampleDataFolder());
        const QByteArray listing = Listing(fx);
        QCOMPARE(listing.count(" Ref "), 2);
        const Run r = Month(fx, "Port Angeles", "2027-12-01 00:00", "2027-12-31 23:59");
        QCOMPARE(r.exitCode, 0);
        QFile recording(XTideFixture::sampleDataFolder() +
                        QStringLiteral("/port_angeles_2027-12.stdout"));
        QVERIFY(recording.open(QIODevice::ReadOnly));
        QCOMPARE(r.out, recording.readAll());
    }

    void xtideFolderScript() {
        // The sample layout works from its own folder, with no data folder named in the
        // environment, survives a second run, and is removed by real mode when XTide is absent,
        // as are real mode's own links.
        QTemporaryDir dir;
        const QString app = dir.path() + QStringLiteral("/my build");
        const QString script =
            QDir::cleanPath(QStringLiteral(QUORVEX_TEST_FIXTURES "/../../tools/xtide-folder"));
        const QString resources = app + QStringLiteral("/Quorvex.app/Contents/Resources");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QUORVEX_STANDIN_DATA"));
        env.remove(QStringLiteral("XTIDE_TIDE"));
        env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
        env.insert(QStringLiteral("HOME"), home.path());
        auto run = [&](const QStringList& args, const QString& cwd = QString()) {
            QProcess p;
            p.setProcessEnvironment(env);
            if (!cwd.isEmpty()) p.setWorkingDirectory(cwd);
            p.start(args.first(), args.mid(1));
            p.waitForFinished(20000);
            return std::make_pair(p.exitCode(), p.readAllStandardOutput());
        };
        for (int i = 0; i < 2; ++i) {
            auto [code, out] = run(
                {script, QStringLiteral("--sample"), app, QStringLiteral(QUORVEX_STANDIN_TIDE)});
            QCOMPARE(code, 0);
            QVERIFY(out.contains("Seattle, Puget Sound, Washington"));
        }
        QVERIFY(QFileInfo(resources + QStringLiteral("/harmonics.tcd")).exists());
        auto [code, out] =
            run({QStringLiteral("/bin/bash"), QStringLiteral("-c"),
                 QStringLiteral("export HFILE_PATH=./harmonics.tcd; ./tide -l "
                                "Seattle -b \"2026-03-01 00:00\" -e \"2026-03-31 23:59\"")},
                resources);
        QCOMPARE(code, 0);
        QFile recording(XTideFixture::sampleDataFolder() +
                        QStringLiteral("/seattle_2026-03.stdout"));
        QVERIFY(recording.open(QIODevice::ReadOnly));
        QCOMPARE(out, recording.readAll());

        if (run({QStringLiteral("/bin/bash"), QStringLiteral("-c"),
                 QStringLiteral("command -v tide")})
                .first == 0)
            QSKIP("an installed tide is on the PATH");
        // Without XTide nothing of an earlier run is left to pass for it: first the sample
        // layout, then the links of a real-mode run.
        auto leavesNothingWithoutTide = [&] {
            auto [realCode, message] = run({script, app});
            QCOMPARE(realCode, 0);
            QCOMPARE(message.count('\n'), 1);
            QVERIFY(message.contains("https://flaterco.com/xtide/"));
            for (const char* entry : {"tide", "harmonics.tcd", "standin-data"}) {
                const QFileInfo left(resources + QLatin1Char('/') + QLatin1String(entry));
                QVERIFY2(!left.exists() && !left.isSymLink(), entry);
            }
        };
        leavesNothingWithoutTide();

        QFile placeholder(dir.filePath(QStringLiteral("harmonics-dwf.tcd")));
        QVERIFY(placeholder.open(QIODevice::WriteOnly));
        placeholder.close();
        env.insert(QStringLiteral("XTIDE_TIDE"), QStringLiteral(QUORVEX_STANDIN_TIDE));
        env.insert(QStringLiteral("XTIDE_HARMONICS"), placeholder.fileName());
        QCOMPARE(run({script, app}).first, 0);
        QVERIFY(QFileInfo(resources + QStringLiteral("/tide")).isSymLink());
        QVERIFY(QFileInfo(resources + QStringLiteral("/harmonics.tcd")).isSymLink());
        env.remove(QStringLiteral("XTIDE_TIDE"));
        env.remove(QStringLiteral("XTIDE_HARMONICS"));
        leavesNothingWithoutTide();
    }
};

QUORVEX_TEST_MAIN(TestStandin)
#include "tst_Standin.moc"
