// tst_NamedPipeDocuments  Settings documents and the location cache in the form of named pipes, on
// every road that reads or replaces one. A pipe that nothing writes to reads at once as a file
// that cannot be opened: the start-up and the windows go on as without the file. A pipe that a
// program writes to is read as what that program sends. Saving over a pipe puts a regular file in
// its place.
#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "calendar/CalendarSettings.h"
#include "calendar/QuorvexWindow.h"
#include "core/App.h"
#include "core/Startup.h"
#include "engine/LocationCache.h"
#include "htmltables/GenerateHTML.h"
#include "htmltables/GeneratorSettings.h"
#include "support/NamedPipe.h"
#include "support/ScriptedDialogs.h"
#include "support/TestMain.h"
#include "support/XTideFixture.h"

namespace {

const QString kSeattle = QStringLiteral("Seattle, Puget Sound, Washington");
const QString kFresh = QStringLiteral("No Location Specified");

// The roads by which a settings document or the cache is read.
enum Road { CalendarOpenSettings, CalendarCommandLine, GeneratorOpenSettings, CacheAtStart };

QuorvexWindow* FirstMainWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<QuorvexWindow*>(w)) return m;
    return nullptr;
}

// The application object, noting how many locations its Open left in the list. `whileRunning`
// runs once the event loop runs (the cache's reading yields to the loop inside Open).
class NotingApp : public App {
  public:
    int locationsAfterOpen = -1;
    std::function<void()> whileRunning;
    bool Event_Open() override {
        const bool ok = App::Event_Open();
        locationsAfterOpen = nlocations;
        QTimer::singleShot(0, this, whileRunning);
        return ok;
    }
};

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool IsRegularFile(const QString& path) {
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

class tst_NamedPipeDocuments : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void readFromAPipe_data();
    void readFromAPipe();
    void savedOverAPipe_data();
    void savedOverAPipe();

  private:
    std::unique_ptr<XTideFixture> fixture;
    std::unique_ptr<QTemporaryDir> dir;
};

void tst_NamedPipeDocuments::init() {
    fixture = std::make_unique<XTideFixture>();
    QVERIFY(fixture->isValid());
    fixture->useAsApplicationFolder();
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    QFile::remove(LocationCache::Path());
    QVERIFY(QDir().mkpath(QFileInfo(LocationCache::Path()).absolutePath()));
}

void tst_NamedPipeDocuments::cleanup() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(w)) w->deleteLater();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QFile::remove(LocationCache::Path());
    dir.reset();
    fixture.reset();
}

void tst_NamedPipeDocuments::readFromAPipe_data() {
    QTest::addColumn<int>("road");
    QTest::addColumn<bool>("writer");  // a program writes a document into the pipe
    const struct {
        const char* name;
        Road road;
    } roads[] = {{"calendar settings, Open Settings", CalendarOpenSettings},
                 {"calendar settings, command line", CalendarCommandLine},
                 {"generator settings, Open Settings", GeneratorOpenSettings},
                 {"location cache, start-up", CacheAtStart}};
    for (const auto& r : roads) {
        QTest::addRow("%s, no writer", r.name) << int(r.road) << false;
        QTest::addRow("%s, a writer", r.name) << int(r.road) << true;
    }
}

// The whole start-up runs with the pipe in place; once the event loop runs, the road's command
// reads the pipe. Without a writer nothing changes, no message shows and the cache gives no
// locations, and no open waited for a writer; the window is shown. With a writer its document
// is read.
void tst_NamedPipeDocuments::readFromAPipe() {
    QFETCH(int, road);
    QFETCH(bool, writer);
    QString path = dir->filePath(QStringLiteral("pipe.quorvex"));
    QByteArray document;
    if (road == CalendarOpenSettings || road == CalendarCommandLine) {
        CalendarSettings settings;
        settings.location = kSeattle;
        document = settings.Encode();
    } else if (road == GeneratorOpenSettings) {
        path = dir->filePath(QStringLiteral("pipe.tidehtml"));
        GeneratorSettings settings;
        settings.location = kSeattle;
        document = settings.Encode();
    } else {
        path = LocationCache::Path();
        document = "/elsewhere\nAlpha\nBeta\n";
    }
    NamedPipe pipe(path, writer ? NamedPipe::Writer::Sends : NamedPipe::Writer::None, document);
    QVERIFY(pipe.isValid());

    NotingApp app;
    ScriptedDialogs dialogs;
    QString locationBefore;
    QString location;
    QString theFile = QStringLiteral("<no window>");
    bool shown = false;
    const auto note = [&](const QLabel* label, const QString& file, const QWidget* window) {
        location = label->text();
        theFile = file;
        shown = window->isVisible();
    };
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(60000);
    app.whileRunning = [&] {
        QuorvexWindow* main = FirstMainWindow();
        if (!main) return App::Quit();
        locationBefore = main->Location->text();
        if (road == GeneratorOpenSettings) {
            auto* generator = new GenerateHTML();
            locationBefore = generator->Location->text();
            dialogs.Answer(path);
            generator->DispatchMenuCommand(QStringLiteral("FileOpenSettings"));
            note(generator->Location, generator->theFile, generator);
        } else {
            if (road == CalendarOpenSettings) {
                dialogs.Answer(path);
                main->DispatchMenuCommand(QStringLiteral("FileOpenSettings"));
            }
            note(main->Location, main->theFile, main);
        }
        App::Quit();
    };
    const QStringList documents = road == CalendarCommandLine ? QStringList{path} : QStringList{};
    const int code = Startup::Run(app, documents);

    QCOMPARE(code, 0);
    QVERIFY2(!pipe.ReaderWaited(), "an open waited for a writer");
    QVERIFY(!pipe.SendFailed());
    QCOMPARE(dialogs.messages, QStringList{});
    QVERIFY(shown);
    QCOMPARE(app.xtideFolder, fixture->xtideFolder());
    const bool calendar = road == CalendarOpenSettings || road == CalendarCommandLine;
    if (road == CacheAtStart) {
        QCOMPARE(app.locationsAfterOpen, writer ? 2 : 0);
        QCOMPARE(location, kFresh);
    } else {
        if (road != CalendarCommandLine) QCOMPARE(locationBefore, kFresh);
        QCOMPARE(location, writer ? kSeattle : kFresh);
        // The generator takes the chosen file as its document whether or not it could be read.
        QCOMPARE(theFile, writer || !calendar ? path : QString());
    }
}

void tst_NamedPipeDocuments::savedOverAPipe_data() {
    QTest::addColumn<QString>("document");
    QTest::newRow("calendar settings, Save Settings As") << "calendar";
    QTest::newRow("generator settings, Save Settings As") << "generator";
    QTest::newRow("location cache, no locations") << "cache";
    QTest::newRow("location cache, with locations") << "cache with names";
}

// Saving over a pipe that nothing writes to replaces it with a regular file holding the whole
// document, without a message and without waiting for a writer; the window's document becomes
// the saved file.
void tst_NamedPipeDocuments::savedOverAPipe() {
    QFETCH(QString, document);
    const bool cache = document.startsWith(QLatin1String("cache"));
    const QString path = cache ? LocationCache::Path() : dir->filePath(QStringLiteral("pipe"));
    NamedPipe pipe(path, NamedPipe::Writer::None);
    QVERIFY(pipe.isValid());
    ScriptedDialogs dialogs;
    QByteArray expected;
    if (document == QLatin1String("calendar")) {
        auto* w = new QuorvexWindow();
        w->Location->setText(kSeattle);
        dialogs.Answer(path);
        w->DispatchMenuCommand(QStringLiteral("FileSaveSettingsAs"));
        QCOMPARE(QFileInfo(w->theFile).absoluteFilePath(), QFileInfo(path).absoluteFilePath());
        CalendarSettings::Decoded decoded = CalendarSettings::Decode(Bytes(path));
        QVERIFY(decoded.versionOk);
        QCOMPARE(decoded.fields.location, kSeattle);
    } else if (document == QLatin1String("generator")) {
        auto* w = new GenerateHTML();
        w->Location->setText(kSeattle);
        dialogs.Answer(path);
        w->DispatchMenuCommand(QStringLiteral("FileSaveSettingsAs"));
        QCOMPARE(w->theFile, path);
        QCOMPARE(GeneratorSettings::Decode(Bytes(path)).location, kSeattle);
    } else {
        const QStringList names{QStringLiteral("Alpha"), QStringLiteral("Beta")};
        const int count = document == QLatin1String("cache") ? 0 : 2;
        QVERIFY(LocationCache::Write(path, QStringLiteral("/x"), names, count));
        QCOMPARE(Bytes(path), QByteArray(count ? "/x\nAlpha\nBeta\n" : "/x\n"));
    }
    QVERIFY2(!pipe.ReaderWaited(), "an open waited for a writer");
    QVERIFY(IsRegularFile(path));
    QCOMPARE(dialogs.messages, QStringList{});
}

QUORVEX_TEST_MAIN(tst_NamedPipeDocuments)
#include "tst_NamedPipeDocuments.moc"
