// tst_Startup  The start-up as main runs it, against the stand-in tide: the order of the
// application's events, the documents of the command line, a cancelled folder dialog, and the
// end through Quit of the menu bar or of the main window's Quit button.
#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

#include "calendar/CalendarSettings.h"
#include "calendar/QuorvexWindow.h"
#include "calendar/YearList.h"
#include "core/AboutQuorvex.h"
#include "core/App.h"
#include "core/Startup.h"
#include "engine/LocationGetter.h"
#include "engine/XTideFolder.h"
#include "htmltables/GenerateHTML.h"
#include "platform/Folders.h"
#include "support/ProcessProbe.h"
#include "support/ScriptedDialogs.h"
#include "support/TestMain.h"
#include "support/XTideFixture.h"

namespace {

QList<QuorvexWindow*> MainWindows() {
    QList<QuorvexWindow*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<QuorvexWindow*>(w)) found << m;
    return found;
}

// The windows that exist, or only those shown.
int TopLevelWindows(bool shownOnly = false) {
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(w) && (!shownOnly || w->isVisible())) ++count;
    return count;
}

// Whether the file at `path` is open in this process.
bool OpenHere(const QString& path) {
    for (const QFileInfo& fd : QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::System))
        if (fd.symLinkTarget() == path) return true;
    return false;
}

// Main windows whose own location listing has started.
int ListingWindows() {
    int count = 0;
    for (QuorvexWindow* w : MainWindows())
        if (!w->GetLocationsShell->outputFile.isEmpty()) ++count;
    return count;
}

// The application object of the start-up, noting its events as they come.
class RecordingApp : public App {
  public:
    QStringList events;
    bool Event_Open() override {
        events << QStringLiteral("Open");
        const bool ok = App::Event_Open();
        events << QStringLiteral("Open ended, %1 listing").arg(ListingWindows());
        return ok;
    }
    void Event_NewDocument() override {
        events << QStringLiteral("NewDocument");
        App::Event_NewDocument();
    }
    void Event_OpenDocument(const QString& item) override {
        events << QStringLiteral("OpenDocument ") + item;
        App::Event_OpenDocument(item);
    }
};

// Scripted dialogs that note, while the folder dialog is up, how many windows list locations.
class FolderDialogs : public ScriptedDialogs {
  public:
    explicit FolderDialogs(QStringList* events) : events(events) {}
    QString Run(const DialogRequest& request, QWidget* parent) override {
        if (request.kind == DialogRequest::Kind::SelectFolder)
            *events << QStringLiteral("folder dialog, %1 listing").arg(ListingWindows());
        return ScriptedDialogs::Run(request, parent);
    }
    QStringList* events;
};

// Runs the start-up; once its event loop runs, `whileRunning` is called and must end the
// application. A start-up still running after 60 s is ended with exit code 99.
int RunStartup(App& app, const QStringList& documents, const std::function<void()>& whileRunning) {
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(60000);
    QTimer::singleShot(0, &guard, whileRunning);
    return Startup::Run(app, documents);
}

bool WriteSettings(const QString& path, const CalendarSettings& settings) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(settings.Encode()) > 0;
}

// What a main window shows of its settings and its listing, in one line.
QString Shown(const QuorvexWindow* w) {
    return QStringList{w->Location->text(),         w->FirstMonth->currentText(),
                       w->FirstYear->currentText(), w->LastMonth->currentText(),
                       w->OutputPath->text(),       w->OutputFormat->currentText(),
                       w->Status->text(),           QString::number(w->LocationList->count())}
        .join(QStringLiteral(" | "));
}

}  // namespace

class tst_Startup : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void startUp_data();
    void startUp();
    void cancelledFolderDialog();
    void quit_data();
    void quit();

  private:
    std::unique_ptr<XTideFixture> fixture;
    std::unique_ptr<QTemporaryDir> documents;
    QString home;                   // the working folder before the test
    QHash<QString, QString> shown;  // document key -> what its window shows

    QString Document(const QString& key) const { return documents->filePath(key + ".quorvex"); }
};

void tst_Startup::init() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    fixture = std::make_unique<XTideFixture>();
    QVERIFY(fixture->isValid());
    documents = std::make_unique<QTemporaryDir>();
    home = QDir::currentPath();
    // A folder under the listings' file name in the temporary folder: each listing goes its own
    // way regardless.
    QDir(QDir::tempPath()).mkdir(QStringLiteral("tide locations.txt"));

    CalendarSettings seattle;
    seattle.location = QStringLiteral("Seattle, Puget Sound, Washington");
    seattle.firstMonth = 2;
    seattle.firstYear = 2026;
    seattle.lastMonth = 4;
    seattle.lastYear = 2026;
    seattle.outputPath = documents->filePath(QStringLiteral("seattle.ics"));
    seattle.outputFormat = 0;
    QVERIFY(WriteSettings(Document(QStringLiteral("seattle")), seattle));
    CalendarSettings port = seattle;
    port.location = QStringLiteral("Port Angeles, Strait Of Juan De Fuca, Washington");
    port.firstMonth = 5;
    port.lastMonth = 11;
    port.outputPath = documents->filePath(QStringLiteral("port.xml"));
    port.outputFormat = 3;
    QVERIFY(WriteSettings(Document(QStringLiteral("port")), port));

    const QString listed = QStringLiteral("18 locations found | 18");
    shown.clear();
    shown[QStringLiteral("fresh")] =
        QStringLiteral(
            "No Location Specified | January | %1 | December | No Output Path Specified "
            "| iCal | ")
            .arg(QDate::currentDate().year()) +
        listed;
    shown[QStringLiteral("seattle")] =
        seattle.location + " | March | 2026 | May | " + seattle.outputPath + " | iCal | " + listed;
    shown[QStringLiteral("port")] =
        port.location + " | June | 2026 | December | " + port.outputPath + " | RSS | " + listed;
}

void tst_Startup::cleanup() {
    QDir::setCurrent(home);
    Folders::SetApplicationFolderForTesting(QString());
    QDir(QDir::tempPath()).rmdir(QStringLiteral("tide locations.txt"));
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(w)) w->deleteLater();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    fixture.reset();
}

void tst_Startup::startUp_data() {
    QTest::addColumn<bool>("dialog");            // the XTide folder is chosen in the folder dialog
    QTest::addColumn<QStringList>("arguments");  // document keys; "./key" names it relatively
    QTest::addColumn<QStringList>("windows");    // what the main windows show, by document key
    QTest::newRow("no document") << false << QStringList{} << QStringList{"fresh"};
    QTest::newRow("a settings document")
        << false << QStringList{"seattle"} << QStringList{"seattle"};
    QTest::newRow("two settings documents")
        << false << QStringList{"seattle", "port"} << QStringList{"port", "seattle"};
    QTest::newRow("a document named from the working folder")
        << false << QStringList{"./port"} << QStringList{"port"};
    QTest::newRow("folder from the dialog, no document")
        << true << QStringList{} << QStringList{"fresh"};
    QTest::newRow("folder from the dialog, two documents")
        << true << QStringList{"port", "seattle"} << QStringList{"port", "seattle"};
}

// The application's Open ends before any window lists locations, in the folder it found; then
// one document event for a start without documents, or one per document in order, each
// document's controls in a main window of its own, every window with its whole listing.
void tst_Startup::startUp() {
    QFETCH(bool, dialog);
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, windows);
    QTemporaryDir emptyAppFolder;
    if (dialog)
        Folders::SetApplicationFolderForTesting(emptyAppFolder.path());
    else
        fixture->useAsApplicationFolder();
    QDir::setCurrent(documents->path());

    RecordingApp app;
    FolderDialogs dialogs(&app.events);
    if (dialog) dialogs.Answer(fixture->xtideFolder());
    QStringList documentArguments;
    QStringList expectedEvents{QStringLiteral("Open")};
    if (dialog) expectedEvents << QStringLiteral("folder dialog, 0 listing");
    expectedEvents << QStringLiteral("Open ended, 0 listing");
    if (arguments.isEmpty()) expectedEvents << QStringLiteral("NewDocument");
    for (const QString& key : arguments) {
        const bool relative = key.startsWith(QLatin1String("./"));
        const QString name = key.mid(relative ? 2 : 0) + QStringLiteral(".quorvex");
        documentArguments << (relative ? key + QStringLiteral(".quorvex")
                                       : documents->filePath(name));
        expectedEvents << QStringLiteral("OpenDocument ") + documents->filePath(name);
    }

    QStringList seen;
    int windowsSeen = 0;
    bool listed = false;
    const int code = RunStartup(app, documentArguments, [&] {
        listed = QTest::qWaitFor(
            [&] {
                for (QuorvexWindow* w : MainWindows())
                    if (!w->LocationList->isEnabled()) return false;
                return true;
            },
            20000);
        windowsSeen = TopLevelWindows();
        for (QuorvexWindow* w : MainWindows()) seen << Shown(w);
        seen.sort();
        App::Quit();
    });

    QCOMPARE(code, 0);
    QVERIFY(listed);
    QCOMPARE(app.events, expectedEvents);
    QCOMPARE(app.xtideFolder, fixture->xtideFolder());
    QCOMPARE(app.nlocations, 18);
    QStringList expected;
    for (const QString& key : windows) expected << shown.value(key);
    expected.sort();
    QCOMPARE(windowsSeen, windows.size());
    QCOMPARE(seen, expected);
    QCOMPARE(dialogs.messages, QStringList{});
    QCOMPARE(TopLevelWindows(), 0);  // Run deleted every window
}

// No package holds an XTide folder and the user cancels the folder dialog: the message, exit
// code 0, no window left and nothing more of the start-up.
void tst_Startup::cancelledFolderDialog() {
    QTemporaryDir emptyAppFolder;
    Folders::SetApplicationFolderForTesting(emptyAppFolder.path());
    RecordingApp app;
    FolderDialogs dialogs(&app.events);
    bool loopRan = false;
    const int code = RunStartup(app, {Document(QStringLiteral("seattle"))}, [&] {
        loopRan = true;
        QCoreApplication::exit(1);
    });
    QCOMPARE(code, 0);
    QVERIFY(!loopRan);
    QCOMPARE(app.events,
             (QStringList{"Open", "folder dialog, 0 listing", "Open ended, 0 listing"}));
    QCOMPARE(dialogs.messages, QStringList{XTideFolder::NoFolderMessage});
    QCOMPARE(TopLevelWindows(), 0);
    QCoreApplication::processEvents();
    QVERIFY(!loopRan);
}

void tst_Startup::quit_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("File menu") << "FileQuit";
    QTest::newRow("Quit button") << "PushButton2";
}

// Quit closes every window at once: a calendar run's tide is ended and its file closed with what
// was written; the application ends with exit code 0, and no tide of it runs on (a window's
// listing ends with the window).
void tst_Startup::quit() {
    QFETCH(QString, command);
    fixture->useAsApplicationFolder();
    RecordingApp app;
    ScriptedDialogs dialogs;
    const QString monthPid = documents->filePath(QStringLiteral("month.pid"));
    const QString listingPid = documents->filePath(QStringLiteral("listing.pid"));
    const QString calendar = documents->filePath(QStringLiteral("seattle.ics"));
    QPointer<QuorvexWindow> main;
    bool ready = false;
    int windowsBefore = 0;
    bool runningBefore = false;
    QByteArray writtenBefore;
    int shownAfter = -1;
    bool runningAfter = true;
    bool monthEndedAfter = false;
    bool calendarOpenAfter = true;

    const int code = RunStartup(app, {Document(QStringLiteral("seattle"))}, [&] {
        main = MainWindows().value(0);
        ready = QTest::qWaitFor([&] { return main && main->LocationList->isEnabled(); }, 20000);
        // From now on every tide, a month's or a listing's, notes its process and hangs until it
        // is ended.
        fixture->removeTide();
        QFile tide(fixture->tidePath());
        if (tide.open(QIODevice::WriteOnly)) {
            tide.write("#!/bin/bash\ncase \"$*\" in *-ml*) f='" + listingPid.toUtf8() +
                       "' ;; *) f='" + monthPid.toUtf8() +
                       "' ;; esac\necho $$ > \"$f.new\"; mv \"$f.new\" \"$f\"\nexec sleep 60\n");
            tide.close();
            tide.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        if (!main) {
            QCoreApplication::exit(2);
            return;
        }
        main->ComputeButton_Action();
        main->DispatchMenuCommand(QStringLiteral("GenerateHTMLTables"));
        main->DispatchMenuCommand(QStringLiteral("AppleAboutQuorvex"));
        main->DispatchMenuCommand(QStringLiteral("FileNewQuorvex"));  // lists locations
        ready = ready &&
                QTest::qWaitFor(
                    [&] { return QFile::exists(monthPid) && QFile::exists(listingPid); }, 10000);
        windowsBefore = TopLevelWindows(true);
        runningBefore = main->IsRunning();
        QFile file(calendar);
        if (file.open(QIODevice::ReadOnly)) writtenBefore = file.readAll();

        if (command == QLatin1String("FileQuit")) {
            main->RefreshMenuItems();
            main->MenuItem(command)->trigger();
        } else {
            main->PushButton2->click();
        }
        // What Quit itself did, before the event loop ends.
        shownAfter = TopLevelWindows(true);
        runningAfter = main && main->IsRunning();
        QFile pid(monthPid);
        monthEndedAfter = pid.open(QIODevice::ReadOnly) && ProcessEnded(pid.readAll());
        calendarOpenAfter = OpenHere(calendar);
    });

    QCOMPARE(code, 0);
    QVERIFY(ready);
    QCOMPARE(windowsBefore, 4);  // two main windows, the generator and the about window
    QVERIFY(runningBefore);
    QCOMPARE(shownAfter, 0);
    QVERIFY(!runningAfter);
    QVERIFY(monthEndedAfter);
    QVERIFY(!calendarOpenAfter);
    // The calendar holds its header, all that was written.
    QVERIFY(writtenBefore.startsWith("BEGIN:VCALENDAR\n"));
    QFile file(calendar);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), writtenBefore);
    QCOMPARE(TopLevelWindows(), 0);
    QFile listing(listingPid);
    QVERIFY(listing.open(QIODevice::ReadOnly));
    const QByteArray listingTide = listing.readAll();
    QTRY_VERIFY_WITH_TIMEOUT(ProcessEnded(listingTide), 5000);
    QCOMPARE(dialogs.messages, QStringList{});
}

QUORVEX_TEST_MAIN(tst_Startup)
#include "tst_Startup.moc"
