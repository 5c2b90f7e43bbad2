// tst_UserTideSettings  A user's own XTide settings file (dates "%d.%m.%Y", 24-hour times in UTC,
// sun, moon and phase events masked, a 132-column listing) changes nothing that Quorvex reads
// from tide: the listing, a calendar run and a generation run give what they give without it.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "calendar/QuorvexWindow.h"
#include "calendar/YearList.h"
#include "core/App.h"
#include "engine/LocationGetter.h"
#include "htmltables/GenerateHTML.h"
#include "support/ScriptedDialogs.h"
#include "support/TestMain.h"
#include "support/XTideFixture.h"

namespace {

const int kRunTimeout = 20000;

QString DataFolder() { return QStringLiteral(QUORVEX_TEST_FIXTURES "/user-settings"); }
QString Etolin() { return QStringLiteral("Etolin Point, 8.5 miles west of, Alaska Current"); }

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QByteArray("<missing " + path.toUtf8() + ">");
    return f.readAll();
}

}  // namespace

class TestUserTideSettings : public QObject {
    Q_OBJECT

    // The home of every tide this test starts, where tide looks for ".xtide.xml".
    QTemporaryDir home;
    QByteArray savedHome;

    void UseSettingsFile(bool use) {
        const QString file = home.filePath(QStringLiteral(".xtide.xml"));
        QFile::remove(file);
        if (use) QVERIFY(QFile::copy(DataFolder() + QStringLiteral("/xtide.xml"), file));
    }

    // The names of one listing through LocationGetter.
    QStringList Listing(const XTideFixture& fixture) {
        LocationGetter getter;
        bool done = false;
        QStringList errors;
        connect(&getter, &LocationGetter::HaveLocations, this, [&] { done = true; });
        connect(&getter, &LocationGetter::Error, this, [&](const QString& m) {
            errors << m;
            done = true;
        });
        getter.GetLocations(fixture.xtideFolder());
        if (!QTest::qWaitFor([&] { return done; }, kRunTimeout)) return {QStringLiteral("<hung>")};
        return errors.isEmpty() ? getter.locations : errors;
    }

    // An iCal calendar of Etolin Point, October and November 2026, with every kind of event.
    QByteArray Calendar(const XTideFixture& fixture, const QString& path) {
        App app;
        app.xtideFolder = fixture.xtideFolder();
        ScriptedDialogs dialogs;
        QPointer<QuorvexWindow> w = new QuorvexWindow(QuorvexWindow::OpenMode::Deferred);
        w->Location->setText(Etolin());
        w->FirstMonth->setCurrentIndex(9);
        w->FirstYear->setCurrentIndex(YearList::IndexOf(2026, w->FirstYear));
        w->LastMonth->setCurrentIndex(10);
        w->LastYear->setCurrentIndex(YearList::IndexOf(2026, w->LastYear));
        for (QCheckBox* box : {w->SunriseSunset, w->MoonriseMoonset, w->ShowMoonPhases})
            box->setChecked(true);
        w->OutputFormat->setCurrentText(QStringLiteral("iCal"));
        w->OutputPath->setText(path);
        w->ComputeButton_Action();
        const bool done = QTest::qWaitFor(
            [&] { return w->Status->text() == QLatin1String("Done"); }, kRunTimeout);
        const QStringList messages = dialogs.messages;
        const QString status = w->Status->text();
        delete w.data();
        if (!done || !messages.isEmpty())
            return "<run ended with \"" + status.toUtf8() + "\", " +
                   messages.join(QLatin1Char('|')).toUtf8() + ">";
        return ReadFile(path);
    }

    // The HTML tide tables of Etolin Point, October and November 2026, with the list of good
    // hiking tides: every file of the output folder with its bytes, and the index.
    QMap<QString, QByteArray> Tables(const XTideFixture& fixture, const QString& folder) {
        App app;
        app.xtideFolder = fixture.xtideFolder();
        ScriptedDialogs dialogs;
        QPointer<GenerateHTML> g = new GenerateHTML;
        g->Location->setText(Etolin());
        g->OutputPath->setText(folder);
        g->FirstMonth->setCurrentIndex(9);
        g->FirstYear->setCurrentText(QStringLiteral("2026"));
        g->LastMonth->setCurrentIndex(10);
        g->LastYear->setCurrentText(QStringLiteral("2026"));
        g->AlsoGenCSV->setChecked(true);
        g->GenerateButton_Action();
        const bool done = QTest::qWaitFor(
            [&] { return g->Status->text() == QLatin1String("Done"); }, kRunTimeout);
        QMap<QString, QByteArray> contents;
        contents[QStringLiteral("<index>")] = g->indexText.toUtf8();
        if (!done || !dialogs.messages.isEmpty())
            contents[QStringLiteral("<run>")] =
                g->Status->text().toUtf8() + dialogs.messages.join(QLatin1Char('|')).toUtf8();
        delete g.data();
        for (const QString& name : QDir(folder).entryList(QDir::Files))
            contents[name] = ReadFile(QDir(folder).filePath(name));
        return contents;
    }

  private slots:
    void initTestCase() {
        QVERIFY(home.isValid());
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        savedHome = qgetenv("HOME");
        qputenv("HOME", home.path().toLocal8Bit());
    }
    void cleanupTestCase() { qputenv("HOME", savedHome); }
    void cleanup() { UseSettingsFile(false); }

    // Wide lines would put 52 bytes of a longer name in the name's place.
    void listing() {
        XTideFixture fixture(DataFolder());
        QVERIFY(fixture.isValid());
        const QStringList plain = Listing(fixture);
        QCOMPARE(plain.size(), 39);
        QCOMPARE(plain.first(),
                 QStringLiteral("0.2 mile off Flat Point, Taku Inlet, Stephens Passa"));
        QCOMPARE(plain.last(), Etolin());
        UseSettingsFile(true);
        QCOMPARE(Listing(fixture), plain);
    }

    // Dates of another order and UTC times would leave the months without events, a 24-hour
    // time would garble them, and the mask would drop the sun and moon events asked for.
    void calendarRun() {
        XTideFixture fixture(DataFolder());
        QVERIFY(fixture.isValid());
        QTemporaryDir out;
        const QByteArray plain = Calendar(fixture, out.filePath(QStringLiteral("plain.ics")));
        QVERIFY2(plain.count("BEGIN:VEVENT") > 300, plain.left(200).constData());
        for (const char* kind : {"Max Flood", "Sunrise", "Moonset", "Full Moon"})
            QVERIFY2(plain.contains(kind), kind);
        UseSettingsFile(true);
        const QByteArray withFile = Calendar(fixture, out.filePath(QStringLiteral("user.ics")));
        QCOMPARE(withFile, plain);
    }

    void generationRun() {
        XTideFixture fixture(DataFolder());
        QVERIFY(fixture.isValid());
        QTemporaryDir out;
        const QMap<QString, QByteArray> plain = Tables(fixture, out.filePath(QStringLiteral("a")));
        QCOMPARE(plain.keys(), (QStringList{"2026-10-tides.html", "2026-11-tides.html", "<index>",
                                            "csv-version.txt", "output-scrap.html"}));
        QVERIFY(plain["2026-10-tides.html"].contains("<td><b><center>31</center></b></td>"));
        UseSettingsFile(true);
        const QMap<QString, QByteArray> withFile =
            Tables(fixture, out.filePath(QStringLiteral("b")));
        QCOMPARE(withFile.keys(), plain.keys());
        for (const QString& name : plain.keys()) QCOMPARE(withFile[name], plain[name]);
    }
};

QUORVEX_TEST_MAIN(TestUserTideSettings)
#include "tst_UserTideSettings.moc"
