// tst_GenerateHTMLRun  Generation runs of the generator window through the stand-in tide: the
// pages, the index on the clipboard and in "output-scrap.html", "csv-version.txt", and what a
// failed month, a second press and a closed window do to a run.
#include <sys/stat.h>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMap>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <functional>

#include "calendar/QuorvexWindow.h"
#include "calendar/TideRunCheck.h"
#include "core/App.h"
#include "htmltables/GenerateHTML.h"
#include "support/ClaimHolder.h"
#include "support/FailingClose.h"
#include "support/FailingLocks.h"
#include "support/FileSizeLimit.h"
#include "support/NamedPipe.h"
#include "support/ScriptedDialogs.h"
#include "support/TestMain.h"
#include "support/UserPermissions.h"
#include "support/XTideFixture.h"

namespace {

const char* const kSeattle = "Seattle, Puget Sound, Washington";
const int kRunTimeout = 20000;

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QByteArray("<missing " + path.toUtf8() + ">");
    return f.readAll();
}

QString Expected(const QString& name) {
    return QStringLiteral(QUORVEX_TEST_FIXTURES "/htmltables-e2e/") + name;
}

// Calls `action` once, from inside the event loop, as soon as `ready` holds: also during the
// yields of a month that is being written.
void WhenReady(QObject* context, std::function<bool()> ready, std::function<void()> action) {
    auto* timer = new QTimer(context);
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, context, [timer, ready, action] {
        if (!ready()) return;
        timer->stop();
        timer->deleteLater();
        action();
    });
    timer->start();
}

// Sets the location, output folder and period (months 1-12) of a generator window.
void SetRun(GenerateHTML* g, const QString& location, const QString& folder, int firstMonth,
            int firstYear, int lastMonth, int lastYear) {
    g->Location->setText(location);
    g->OutputPath->setText(folder);
    g->FirstMonth->setCurrentIndex(firstMonth - 1);
    g->FirstYear->setCurrentText(QString::number(firstYear));
    g->LastMonth->setCurrentIndex(lastMonth - 1);
    g->LastYear->setCurrentText(QString::number(lastYear));
}

}  // namespace

class TestGenerateHTMLRun : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void twoMonthsWriteLinkedPagesIndexAndList();
    void oneMonthWithoutListLeavesEarlierListAlone();
    void listThatCannotBeCompletedIsReported();
    void choicesMadeDuringRunApplyFromNextMonth();
    void failedMonthStopsRun();
    void pageThatCannotBeCreatedStopsRun_data();
    void pageThatCannotBeCreatedStopsRun();
    void pageThatCannotBeWrittenStopsRun_data();
    void pageThatCannotBeWrittenStopsRun();
    void tideThatNeverStopsPrintingStopsRun();
    void secondPressDuringRunIsRefused();
    void folderOfAnotherRunRefused_data();
    void folderOfAnotherRunRefused();
    void folderOfAnotherProcessRefused();
    void folderThatCannotBeReadIsWrittenAndClaimed();
    void fileOfACalendarRunRefused_data();
    void fileOfACalendarRunRefused();
    void calendarRefusesTheListOfARun();
    void heldFileNamesItsHolder_data();
    void heldFileNamesItsHolder();
    void fileThatFailsLateIsReported_data();
    void fileThatFailsLateIsReported();
    void runKeepsToTheFolderItClaimed();
    void listThatIsAPipeWithAReaderIsWritten();
    void listThatCannotBeMadeRefusesRun_data();
    void listThatCannotBeMadeRefusesRun();
    void closingBetweenMonthsEndsRun();
    void closingWhileAPageIsWrittenEndsRun();
    void nonAsciiNameGivesAsciiPage_data();
    void nonAsciiNameGivesAsciiPage();
    void periodAcrossYearEnd();
    void monthEdgesEachOnce();
    void periodEndingBeforeItsStartGivesOneMonth();
    void secondRunReplacesEarlierFiles();
    void scrapFileThatCannotBeCreated_data();
    void scrapFileThatCannotBeCreated();

  private:
    // Makes `obstacle` in place of the file `path`: "folder", "pipe" (a named pipe without a
    // reader, held in `pipe`) or "dangling link" (a link into a missing folder).
    void MakeObstacle(const QString& obstacle, const QString& path,
                      std::unique_ptr<NamedPipe>& pipe);
    // A new window and stand-in serving the stations and months of `dataFolder`.
    void UseData(const QString& dataFolder);
    // A window for Seattle writing into <out>/tables (not made yet), March to `lastMonth` 2026,
    // margin "1 hour", maximum height "3 ft".
    void Prepare(int lastMonth);
    QString Out(const QString& name) const { return QDir(outFolder).filePath(name); }
    // Every file of the output folder with its bytes.
    QMap<QString, QByteArray> FolderContents() const;
    // A run of March and April that stopped in March: the status keeps March's text, nothing
    // of April or of the run's end was written, and the window is ready for the next run.
    void VerifyStoppedInMarch();

    XTideFixture* fixture = nullptr;
    App* app = nullptr;
    QTemporaryDir* out = nullptr;
    QString outFolder;
    QPointer<GenerateHTML> w;
};

void TestGenerateHTMLRun::init() {
    fixture = new XTideFixture;
    QVERIFY(fixture->isValid());
    app = new App;
    app->xtideFolder = fixture->xtideFolder();
    out = new QTemporaryDir;
    outFolder = QDir(out->path()).filePath(QStringLiteral("tables"));
    QGuiApplication::clipboard()->clear();
    w = new GenerateHTML;
}

void TestGenerateHTMLRun::cleanup() {
    delete w.data();
    delete out;
    delete app;
    delete fixture;
}

void TestGenerateHTMLRun::UseData(const QString& dataFolder) {
    delete w.data();
    delete fixture;
    fixture = new XTideFixture(dataFolder);
    QVERIFY(fixture->isValid());
    app->xtideFolder = fixture->xtideFolder();
    w = new GenerateHTML;
}

void TestGenerateHTMLRun::Prepare(int lastMonth) {
    SetRun(w, QString::fromUtf8(kSeattle), outFolder, 3, 2026, lastMonth, 2026);
    w->DaylightMarginMenu->setCurrentText(QStringLiteral("1 hour"));
    w->MaximumHeightMenu->setCurrentText(QStringLiteral("3 ft"));
}

QMap<QString, QByteArray> TestGenerateHTMLRun::FolderContents() const {
    QMap<QString, QByteArray> contents;
    for (const QString& name :
         QDir(outFolder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::System))
        contents[name] = QFileInfo(Out(name)).isDir()    ? QByteArray("<folder>")
                         : QFileInfo(Out(name)).isFile() ? ReadFile(Out(name))
                                                         : QByteArray("<not a file>");
    return contents;
}

void TestGenerateHTMLRun::MakeObstacle(const QString& obstacle, const QString& path,
                                       std::unique_ptr<NamedPipe>& pipe) {
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    if (obstacle == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(path));
    } else if (obstacle == QLatin1String("pipe")) {
        pipe = std::make_unique<NamedPipe>(path, NamedPipe::Reader::None);
        QVERIFY(pipe->isValid());
    } else if (obstacle == QLatin1String("dangling link")) {
        QVERIFY(QFile::link(out->filePath(QStringLiteral("gone/list.txt")), path));
    }
}

void TestGenerateHTMLRun::VerifyStoppedInMarch() {
    QVERIFY(!w->IsRunning());
    QCOMPARE(w->Status->text(), QStringLiteral("03/2026 computed"));
    QVERIFY(!QFile::exists(Out("2026-04-tides.html")));
    QVERIFY(!QFile::exists(Out("output-scrap.html")));
    QVERIFY(w->GenerateButton->isEnabled());
}

void TestGenerateHTMLRun::twoMonthsWriteLinkedPagesIndexAndList() {
    ScriptedDialogs dialogs;
    // A main window that started the last calendar month keeps that place during the run.
    QuorvexWindow main(QuorvexWindow::OpenMode::Deferred);
    app->reportTo = &main;
    Prepare(4);
    QTest::mouseClick(w->GenerateButton, Qt::LeftButton);
    QVERIFY(w->IsRunning());
    QVERIFY(!w->GenerateButton->isEnabled());
    QVERIFY(QFileInfo(outFolder).isDir());  // made by the run
    QTRY_COMPARE_WITH_TIMEOUT(w->Status->text(), QStringLiteral("Done"), kRunTimeout);

    QCOMPARE(dialogs.messages, QStringList());
    QVERIFY(!w->IsRunning());
    QVERIFY(w->GenerateButton->isEnabled());
    QCOMPARE(app->reportTo.data(), &main);  // the generator never takes the main window's place
    for (const char* name :
         {"2026-03-tides.html", "2026-04-tides.html", "output-scrap.html", "csv-version.txt"}) {
        const QString file = QString::fromLatin1(name);
        QCOMPARE(ReadFile(Out(file)), ReadFile(Expected(file)));
    }
    // The pages link to each other, and the index lists both, on the clipboard as well.
    QVERIFY(ReadFile(Out("2026-03-tides.html")).contains("<a href=\"2026-04-tides.html\">"));
    QVERIFY(ReadFile(Out("2026-04-tides.html")).contains("<a href=\"2026-03-tides.html\">"));
    const QString index = QStringLiteral(
        "<li>Tide Table for <a href=\"2026-03-tides.html\">March 2026</a>\r"
        "<li>Tide Table for <a href=\"2026-04-tides.html\">April 2026</a>\r");
    QCOMPARE(w->indexText, index);
    QCOMPARE(QGuiApplication::clipboard()->text(), index);
}

void TestGenerateHTMLRun::oneMonthWithoutListLeavesEarlierListAlone() {
    ScriptedDialogs dialogs;
    Prepare(3);
    QVERIFY(QDir().mkpath(outFolder));
    {
        QFile f(Out("csv-version.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("earlier list\n");
    }
    w->AlsoGenCSV->setChecked(false);
    w->indexText = QStringLiteral("<li>from an earlier run\r");
    w->GenerateButton_Action();
    QTRY_COMPARE_WITH_TIMEOUT(w->Status->text(), QStringLiteral("Done"), kRunTimeout);

    QCOMPARE(ReadFile(Out("csv-version.txt")), QByteArray("earlier list\n"));
    QCOMPARE(ReadFile(Out("output-scrap.html")),
             QByteArray("<ul>\r<li>Tide Table for <a href=\"2026-03-tides.html\">March "
                        "2026</a>\r</ul>\r"));
    // A period of one month: neither a previous nor a next link.
    const QByteArray page = ReadFile(Out("2026-03-tides.html"));
    QVERIFY(!page.contains("Previous Month"));
    QVERIFY(!page.contains("Next Month"));
    QVERIFY(page.endsWith("</body></html>\n"));
    QCOMPARE(dialogs.messages, QStringList());
}

void TestGenerateHTMLRun::listThatCannotBeCompletedIsReported() {
    // The list's lines wait in the file's buffer until it is closed: a disk that fills then
    // must be reported like a refused line, with the system's reason, and the run does not end
    // in "Done". /dev/full takes the buffer and fails to flush.
    ScriptedDialogs dialogs;
    Prepare(3);
    QVERIFY(QDir().mkpath(outFolder));
    QVERIFY(QFile::link(QStringLiteral("/dev/full"), Out("csv-version.txt")));
    w->GenerateButton_Action();
    QTRY_VERIFY_WITH_TIMEOUT(!w->IsRunning(), kRunTimeout);

    QCOMPARE(dialogs.messages,
             QStringList{QStringLiteral("Unable to output to file ") + Out("csv-version.txt") +
                         QStringLiteral(": ") + QString::fromLocal8Bit(strerror(ENOSPC))});
    QCOMPARE(w->Status->text(), QStringLiteral("03/2026 computed"));
    QVERIFY(w->GenerateButton->isEnabled());
    QVERIFY(ReadFile(Out("2026-03-tides.html")).endsWith("</body></html>\n"));
    QVERIFY(ReadFile(Out("output-scrap.html")).startsWith("<ul>\r"));
}

void TestGenerateHTMLRun::choicesMadeDuringRunApplyFromNextMonth() {
    ScriptedDialogs dialogs;
    Prepare(4);
    QPointer<GenerateHTML> win = w;
    WhenReady(
        this, [win] { return win && win->Status->text() == QLatin1String("03/2026 computed"); },
        [win] {
            win->DaylightMarginMenu->setCurrentText(QStringLiteral("1 1/2 minutes"));
            win->MaximumHeightMenu->setCurrentText(QStringLiteral("5 ft"));
        });
    w->GenerateButton_Action();
    QTRY_COMPARE_WITH_TIMEOUT(w->Status->text(), QStringLiteral("Done"), kRunTimeout);
    // March was judged with 60 minutes and 3 ft, as it started; April with 90 minutes and 5 ft.
    QCOMPARE(ReadFile(Out("2026-03-tides.html")), ReadFile(Expected("2026-03-tides.html")));
    QCOMPARE(w->daylightMargin, 90);
    QCOMPARE(w->maximumHeight, 5.0f);
    QVERIFY(ReadFile(Out("2026-04-tides.html")) != ReadFile(Expected("2026-04-tides.html")));
}

void TestGenerateHTMLRun::failedMonthStopsRun() {
    // March goes through; April's tide is missing by the time its run starts.
    ScriptedDialogs dialogs;
    Prepare(5);
    XTideFixture* fx = fixture;
    QPointer<GenerateHTML> win = w;
    WhenReady(
        this, [win] { return win && win->Status->text() == QLatin1String("03/2026 computed"); },
        [fx] { QVERIFY(fx->removeTide()); });
    w->GenerateButton_Action();
    QTRY_VERIFY_WITH_TIMEOUT(!w->IsRunning(), kRunTimeout);

    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY2(dialogs.messages.first().contains(QStringLiteral("127")),
             qPrintable(dialogs.messages.first()));
    QCOMPARE(w->Status->text(), QStringLiteral("04/2026 computed"));
    QVERIFY(w->GenerateButton->isEnabled());
    // March is whole; April's page holds its head alone and is listed; the run wrote no scrap
    // file, and the list holds March's lines, closed.
    QCOMPARE(ReadFile(Out("2026-03-tides.html")), ReadFile(Expected("2026-03-tides.html")));
    // The expected April page is the last of a March-April period, so only its navigation row
    // (lines 8-10) differs from the head of this run's April.
    const QList<QByteArray> april = ReadFile(Out("2026-04-tides.html")).split('\n');
    const QList<QByteArray> whole = ReadFile(Expected("2026-04-tides.html")).split('\n');
    QCOMPARE(april.size(), 23);  // 22 head lines and the empty text after the last line end
    QCOMPARE(april.mid(0, 7), whole.mid(0, 7));
    QCOMPARE(april.mid(10, 12), whole.mid(10, 12));
    QVERIFY(april.at(9).contains("2026-05-tides.html"));
    QVERIFY(!QFile::exists(Out("output-scrap.html")));
    QVERIFY(w->csvFile == nullptr);
    QByteArray marchLines;
    for (const QByteArray& line : ReadFile(Expected("csv-version.txt")).split('\n'))
        if (line.startsWith("3/")) marchLines += line + '\n';
    QCOMPARE(ReadFile(Out("csv-version.txt")), marchLines);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("<li>Tide Table for <a href=\"2026-03-tides.html\">March 2026</a>\r"
                            "<li>Tide Table for <a href=\"2026-04-tides.html\">April 2026</a>\r"));
}

// A page that cannot be created stops the run with the page and the system's reason; a named
// pipe without a reader fails at once.
void TestGenerateHTMLRun::pageThatCannotBeCreatedStopsRun_data() {
    QTest::addColumn<QString>("obstacle");
    QTest::addColumn<int>("reason");  // errno
    QTest::newRow("a folder in the page's place") << "folder" << EISDIR;
    QTest::newRow("a named pipe without a reader") << "pipe" << ENXIO;
}

void TestGenerateHTMLRun::pageThatCannotBeCreatedStopsRun() {
    QFETCH(QString, obstacle);
    QFETCH(int, reason);
    ScriptedDialogs dialogs;
    Prepare(4);
    std::unique_ptr<NamedPipe> pipe;
    MakeObstacle(obstacle, Out("2026-03-tides.html"), pipe);
    w->GenerateButton_Action();
    QTRY_VERIFY_WITH_TIMEOUT(!w->IsRunning(), kRunTimeout);
    QCOMPARE(dialogs.messages,
             QStringList{QStringLiteral("Unable to output to file ") + Out("2026-03-tides.html") +
                         QStringLiteral(": ") + QString::fromLocal8Bit(strerror(reason))});
    QCOMPARE(w->Status->text(), QStringLiteral("03/2026 computed"));
    QVERIFY(w->indexText.isEmpty());
    QVERIFY(!QFile::exists(Out("2026-04-tides.html")));
    QVERIFY(!QFile::exists(Out("output-scrap.html")));
    QVERIFY(w->GenerateButton->isEnabled());
}

// A page that the disk refuses, at once or after part of it, stops the run with the page and
// the system's reason.
void TestGenerateHTMLRun::pageThatCannotBeWrittenStopsRun_data() {
    QTest::addColumn<int>("sizeLimit");  // bytes a file may grow to; 0: the page is /dev/full
    QTest::addColumn<int>("reason");     // errno
    QTest::newRow("a full disk") << 0 << ENOSPC;
    QTest::newRow("a disk that fills within the page") << 3000 << EFBIG;
}

void TestGenerateHTMLRun::pageThatCannotBeWrittenStopsRun() {
    QFETCH(int, sizeLimit);
    QFETCH(int, reason);
    ScriptedDialogs dialogs;
    Prepare(4);
    QVERIFY(QDir().mkpath(outFolder));
    if (sizeLimit == 0)
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), Out("2026-03-tides.html")));
    {
        std::unique_ptr<FileSizeLimit> limit;
        if (sizeLimit > 0) {
            limit = std::make_unique<FileSizeLimit>(sizeLimit);
            QVERIFY(limit->isValid());
        }
        w->GenerateButton_Action();
        QTRY_VERIFY_WITH_TIMEOUT(!w->IsRunning(), kRunTimeout);
    }
    QCOMPARE(dialogs.messages,
             QStringList{QStringLiteral("Unable to output to file ") + Out("2026-03-tides.html") +
                         QStringLiteral(": ") + QString::fromLocal8Bit(strerror(reason))});
    VerifyStoppedInMarch();
}

// A tide that never stops printing is stopped at the bound; the run stops with the cause, and
// the month's page holds its head alone.
void TestGenerateHTMLRun::tideThatNeverStopsPrintingStopsRun() {
    ScriptedDialogs dialogs;
    fixture->setFailure("flood");
    Prepare(4);
    w->GenerateButton_Action();
    QTRY_VERIFY_WITH_TIMEOUT(!w->IsRunning(), kRunTimeout);
    QCOMPARE(dialogs.messages, QStringList{TideRunCheck::OutputLimitMessage()});
    QCOMPARE(ReadFile(Out("2026-03-tides.html")).count('\n'), 22);
    VerifyStoppedInMarch();
}

void TestGenerateHTMLRun::secondPressDuringRunIsRefused() {
    ScriptedDialogs dialogs;
    fixture->setFailure("sleep:0.3");
    Prepare(3);
    w->GenerateButton_Action();
    QPointer<TideGetter> first = w->tideShell;
    QVERIFY(first);
    QVERIFY(!w->GenerateButton->isEnabled());
    w->GenerateButton_Action();
    QCOMPARE(w->tideShell.data(), first.data());
    QTRY_COMPARE_WITH_TIMEOUT(w->Status->text(), QStringLiteral("Done"), kRunTimeout);
    QCOMPARE(w->indexText.count(QStringLiteral("<li>")), 1);
    QCOMPARE(dialogs.messages, QStringList());
}

// Two generator windows on one folder, as two Generate HTML Tables commands of a calendar give:
// while the first runs, the second's press is refused, under any name of the folder, before
// anything in it changes. Once the first run ends, however it ends, the folder is free again.
// This holds as well on a file system whose locks fail (ENOLCK, or EBADF for a folder on NFS).
void TestGenerateHTMLRun::folderOfAnotherRunRefused_data() {
    QTest::addColumn<QString>("secondPath");  // relative to the folder that holds outFolder
    QTest::addColumn<QString>("firstEnds");   // "done", "closed" or "failed"
    QTest::addColumn<int>("lockError");       // what every lock call fails with; 0: none
    QTest::newRow("same path, first run done") << "tables"
                                               << "done" << 0;
    QTest::newRow("symbolic link, first window closed") << "link"
                                                        << "closed" << 0;
    QTest::newRow("other spelling, first run failed") << "sub/..//tables/"
                                                      << "failed" << 0;
    QTest::newRow("same path, no lock service") << "tables"
                                                << "done" << ENOLCK;
    QTest::newRow("symbolic link, lock refused, first window closed") << "link"
                                                                      << "closed" << EBADF;
}

void TestGenerateHTMLRun::folderOfAnotherRunRefused() {
    QFETCH(QString, secondPath);
    QFETCH(QString, firstEnds);
    QFETCH(int, lockError);
    std::unique_ptr<FailingLocks> locks;
    if (lockError != 0) locks = std::make_unique<FailingLocks>(lockError);
    ScriptedDialogs dialogs;
    QVERIFY(QDir().mkpath(out->filePath(QStringLiteral("sub"))));
    QVERIFY(QFile::link(outFolder, out->filePath(QStringLiteral("link"))));
    fixture->setFailure("sleep:0.3");
    Prepare(4);
    w->GenerateButton_Action();
    QVERIFY(w->IsRunning());
    if (firstEnds == QLatin1String("failed")) fixture->setFailure("sleep:0.3,exit:3");
    const QMap<QString, QByteArray> before = FolderContents();
    QVERIFY(before.contains(QStringLiteral("csv-version.txt")));

    const QString secondCaption = out->path() + QLatin1Char('/') + secondPath;
    QPointer<GenerateHTML> second = new GenerateHTML;
    SetRun(second, QString::fromUtf8(kSeattle), secondCaption, 5, 2026, 5, 2026);
    second->GenerateButton_Action();
    QCOMPARE(dialogs.messages,
             QStringList{QStringLiteral("Cannot access the output folder ") + secondCaption +
                         QStringLiteral(": a generation run of another window is writing to it")});
    QVERIFY(!second->IsRunning());
    QVERIFY(second->GenerateButton->isEnabled());
    QCOMPARE(FolderContents(), before);  // nothing created, emptied or truncated
    QVERIFY(w->IsRunning());             // the first run goes on

    if (firstEnds == QLatin1String("done")) {
        QTRY_COMPARE_WITH_TIMEOUT(w->Status->text(), QStringLiteral("Done"), kRunTimeout);
    } else if (firstEnds == QLatin1String("closed")) {
        w->close();
        QTRY_VERIFY(w.isNull());
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(dialogs.messages.size(), 2, kRunTimeout);
        QVERIFY(!w->IsRunning());
    }
    fixture->clearFailure();
    second->GenerateButton_Action();
    QVERIFY(second->IsRunning());
    QTRY_COMPARE_WITH_TIMEOUT(second->Status->text(), QStringLiteral("Done"), kRunTimeout);
    QCOMPARE(ReadFile(Out(QStringLiteral("output-scrap.html"))),
             QByteArray("<ul>\r<li>Tide Table for <a href=\"2026-05-tides.html\">May "
                        "2026</a>\r</ul>\r"));
    QVERIFY(ReadFile(Out(QStringLiteral("2026-05-tides.html"))).endsWith("</body></html>\n"));
    delete second.data();
}

// A folder that a run of another Quorvex process is writing is refused as one of another
// window is; the other process sees this window's claim while its run goes on.
void TestGenerateHTMLRun::folderOfAnotherProcessRefused() {
    ScriptedDialogs dialogs;
    Prepare(3);
    QVERIFY(QDir().mkpath(outFolder));
    {
        QFile f(Out(QStringLiteral("csv-version.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("3/5/2026, 06:12 AM, 1.42\n");
    }
    const QMap<QString, QByteArray> before = FolderContents();
    auto other = std::make_unique<ClaimHolder>(ClaimHolder::Kind::Folder, outFolder);
    QCOMPARE(other->Answer(), QByteArray("taken"));
    w->GenerateButton_Action();
    QCOMPARE(dialogs.messages,
             QStringList{QStringLiteral("Cannot access the output folder ") + outFolder +
                         QStringLiteral(": a generation run of another window is writing to it")});
    QVERIFY(!w->IsRunning());
    QCOMPARE(FolderContents(), before);

    other.reset();
    fixture->setFailure("sleep:0.3");
    w->GenerateButton_Action();
    QVERIFY(w->IsRunning());
    QCOMPARE(ClaimHolder(ClaimHolder::Kind::Folder, outFolder).Answer(), QByteArray("held"));
    QTRY_COMPARE_WITH_TIMEOUT(w->Status->text(), QStringLiteral("Done"), kRunTimeout);
    QCOMPARE(ClaimHolder(ClaimHolder::Kind::Folder, outFolder).Answer(), QByteArray("taken"));
    QCOMPARE(dialogs.messages.size(), 1);
}

// A folder that may be written and searched but not read (mode 0311) takes a run as any folder
// does, and is claimed by it: a second window's press on it is refused meanwhile.
void TestGenerateHTMLRun::folderThatCannotBeReadIsWrittenAndClaimed() {
    ScriptedDialogs dialogs;
    Prepare(4);
    QVERIFY(QDir().mkpath(outFolder));
    QVERIFY(::chmod(QFile::encodeName(outFolder).constData(), 0311) == 0);
    QPointer<GenerateHTML> second = new GenerateHTML;
    SetRun(second, QString::fromUtf8(kSeattle), outFolder, 5, 2026, 5, 2026);
    {
        UserPermissions permissions;
        QVERIFY(permissions.isValid());
        fixture->setFailure("sleep:0.3");
        w->GenerateButton_Action();
        QVERIFY(w->IsRunning());
        second->GenerateButton_Action();
        QVERIFY(!second->IsRunning());
        fixture->clearFailure();
        QTRY_COMPARE_WITH_TIMEOUT(w->Status->text(), QStringLiteral("Done"), kRunTimeout);
    }
    QVERIFY(::chmod(QFile::encodeName(outFolder).constData(), 0755) == 0);
    QCOMPARE(dialogs.messages,
             QStringList{QStringLiteral("Cannot access the output folder ") + outFolder +
                         QStringLiteral(": a generation run of another window is writing to it")});
    for (const char* name :
         {"2026-03-tides.html", "2026-04-tides.html", "output-scrap.html", "csv-version.txt"}) {
        const QString file = QString::fromLatin1(name);
        QCOMPARE(ReadFile(Out(file)), ReadFile(Expected(file)));
    }
    delete second.data();
}

// A file of the run that a calendar run of another window is writing (the calendar's output
// chosen as the list, a page or the scrap file) is left to it: the list refuses the press before
// anything in the folder changes; a page or the scrap file stops the run when it is reached.
void TestGenerateHTMLRun::fileOfACalendarRunRefused_data() {
    QTest::addColumn<QString>("name");    // the calendar file, in the output folder
    QTest::addColumn<QString>("prefix");  // the message's start
    QTest::addColumn<QString>("status");  // the generator's status afterwards
    QTest::newRow("the list") << "csv-version.txt"
                              << "Unable to save to file "
                              << "";
    QTest::newRow("a page") << "2026-04-tides.html"
                            << "Unable to output to file "
                            << "04/2026 computed";
    QTest::newRow("the scrap file") << "output-scrap.html"
                                    << "Unable to output to file "
                                    << "04/2026 computed";
}

void TestGenerateHTMLRun::fileOfACalendarRunRefused() {
    QFETCH(QString, name);
    QFETCH(QString, prefix);
    QFETCH(QString, status);
    ScriptedDialogs dialogs;
    Prepare(4);
    QVERIFY(QDir().mkpath(outFolder));
    QPointer<QuorvexWindow> calendar = new QuorvexWindow(QuorvexWindow::OpenMode::Deferred);
    calendar->Location->setText(QString::fromUtf8(kSeattle));
    calendar->OutputPath->setText(Out(name));
    fixture->setFailure("sleep:10");  // the calendar's first month outlasts the generation run
    calendar->ComputeButton_Action();
    QVERIFY(calendar->IsRunning());
    fixture->clearFailure();
    const QByteArray calendarFile = ReadFile(Out(name));
    const QMap<QString, QByteArray> before = FolderContents();

    w->GenerateButton_Action();
    QTRY_VERIFY_WITH_TIMEOUT(!w->IsRunning(), kRunTimeout);
    QCOMPARE(dialogs.messages,
             QStringList{prefix + Out(name) +
                         QStringLiteral(": a calendar run of another window is writing to it")});
    QCOMPARE(w->Status->text(), status);
    QCOMPARE(ReadFile(Out(name)), calendarFile);  // neither emptied nor written
    if (status.isEmpty()) QCOMPARE(FolderContents(), before);
    QVERIFY(calendar->IsRunning());

    // Once the calendar run has ended, the file is the generator's again.
    delete calendar.data();
    w->GenerateButton_Action();
    QTRY_COMPARE_WITH_TIMEOUT(w->Status->text(), QStringLiteral("Done"), kRunTimeout);
    QCOMPARE(ReadFile(Out(name)), ReadFile(Expected(name)));
}

// The list a generation run is writing is refused to a calendar run, in words that name a
// generation run as its holder.
void TestGenerateHTMLRun::calendarRefusesTheListOfARun() {
    ScriptedDialogs dialogs;
    Prepare(4);
    fixture->setFailure("sleep:10");
    w->GenerateButton_Action();
    QVERIFY(w->IsRunning());
    fixture->clearFailure();
    const QString csv = Out(QStringLiteral("csv-version.txt"));
    QPointer<QuorvexWindow> calendar = new QuorvexWindow(QuorvexWindow::OpenMode::Deferred);
    calendar->Location->setText(QString::fromUtf8(kSeattle));
    calendar->OutputPath->setText(csv);
    calendar->ComputeButton_Action();
    QCOMPARE(dialogs.messages,
             QStringList{QStringLiteral("Unable to save to file ") + csv +
                         QStringLiteral(": a generation run of another window is writing to it")});
    QVERIFY(!calendar->IsRunning());
    QCOMPARE(ReadFile(csv), QByteArray());
    delete calendar.data();
}

// A file of the run that another run holds is refused in words that name that holder: another
// window's generation run (a list hard-linked to its list), this very run under another name (a
// page hard-linked to the run's own list), or a run of another process, whose kind its lock
// cannot tell.
void TestGenerateHTMLRun::heldFileNamesItsHolder_data() {
    QTest::addColumn<QString>("holder");   // "generation run", "same run", "other process"
    QTest::addColumn<QString>("name");     // the refused file, in the output folder
    QTest::addColumn<QString>("message");  // the message, after the file's path
    QTest::newRow("a list hard-linked to another window's list")
        << "generation run"
        << "csv-version.txt"
        << ": a generation run of another window is writing to it";
    QTest::newRow("a page hard-linked to the run's own list")
        << "same run"
        << "2026-03-tides.html"
        << ": this run is already writing to it under another name";
    QTest::newRow("a page another process holds") << "other process"
                                                  << "2026-03-tides.html"
                                                  << ": another run is writing to it";
}

void TestGenerateHTMLRun::heldFileNamesItsHolder() {
    QFETCH(QString, holder);
    QFETCH(QString, name);
    QFETCH(QString, message);
    ScriptedDialogs dialogs;
    Prepare(3);
    QVERIFY(QDir().mkpath(outFolder));
    const QString otherFolder = out->filePath(QStringLiteral("other"));
    QPointer<GenerateHTML> other;
    std::unique_ptr<ClaimHolder> process;
    if (holder == QLatin1String("generation run")) {
        other = new GenerateHTML;
        SetRun(other, QString::fromUtf8(kSeattle), otherFolder, 3, 2026, 3, 2026);
        fixture->setFailure("sleep:10");
        other->GenerateButton_Action();
        QVERIFY(other->IsRunning());
        fixture->clearFailure();
        QCOMPARE(::link(QFile::encodeName(QDir(otherFolder).filePath("csv-version.txt")),
                        QFile::encodeName(Out(name))),
                 0);
    } else if (holder == QLatin1String("same run")) {
        QFile list(Out(QStringLiteral("csv-version.txt")));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.close();
        QCOMPARE(::link(QFile::encodeName(list.fileName()), QFile::encodeName(Out(name))), 0);
    } else {
        QFile page(Out(name));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.close();
        process = std::make_unique<ClaimHolder>(ClaimHolder::Kind::File, Out(name));
        QCOMPARE(process->Answer(), QByteArray("taken"));
    }
    w->GenerateButton_Action();
    QTRY_VERIFY_WITH_TIMEOUT(!w->IsRunning(), kRunTimeout);
    const QString prefix = name == QLatin1String("csv-version.txt")
                               ? QStringLiteral("Unable to save to file ")
                               : QStringLiteral("Unable to output to file ");
    QCOMPARE(dialogs.messages, QStringList{prefix + Out(name) + message});
    QVERIFY(w->Status->text() != QStringLiteral("Done"));
    QVERIFY(w->GenerateButton->isEnabled());
    if (other) QVERIFY(other->IsRunning());
    delete other.data();
}

// A file that reaches the disk only in part shows so late that its last write or its close
// reports it: a list whose reader (a named pipe) leaves during the run, or a file system that
// reports a delayed write error when a page, the list or the scrap file is closed (NFS). The run
// reports that file with the system's reason and does not end in "Done".
void TestGenerateHTMLRun::fileThatFailsLateIsReported_data() {
    QTest::addColumn<QString>("name");   // the failing file, in the output folder
    QTest::addColumn<QString>("fault");  // "pipe" or "close"
    QTest::addColumn<int>("reason");     // errno
    QTest::newRow("a list whose reader leaves") << "csv-version.txt"
                                                << "pipe" << EPIPE;
    QTest::newRow("a page failing at its close") << "2026-03-tides.html"
                                                 << "close" << EIO;
    QTest::newRow("the list failing at its close") << "csv-version.txt"
                                                   << "close" << EIO;
    QTest::newRow("the scrap file failing at its close") << "output-scrap.html"
                                                         << "close" << EIO;
}

void TestGenerateHTMLRun::fileThatFailsLateIsReported() {
    QFETCH(QString, name);
    QFETCH(QString, fault);
    QFETCH(int, reason);
    ScriptedDialogs dialogs;
    Prepare(3);
    QVERIFY(QDir().mkpath(outFolder));
    {
        std::unique_ptr<NamedPipe> pipe;
        std::unique_ptr<FailingClose> close;
        if (fault == QLatin1String("pipe")) {
            pipe = std::make_unique<NamedPipe>(Out(name), NamedPipe::Reader::Now);
            QVERIFY(pipe->isValid());
        } else {
            close = std::make_unique<FailingClose>(name, reason);
        }
        w->GenerateButton_Action();
        QVERIFY(w->IsRunning());
        if (pipe) pipe->CloseReader();
        QTRY_VERIFY_WITH_TIMEOUT(!w->IsRunning(), kRunTimeout);
    }
    QCOMPARE(dialogs.messages,
             QStringList{QStringLiteral("Unable to output to file ") + Out(name) +
                         QStringLiteral(": ") + QString::fromLocal8Bit(strerror(reason))});
    QCOMPARE(w->Status->text(), QStringLiteral("03/2026 computed"));
    QVERIFY(w->GenerateButton->isEnabled());
}

// Every file of a run is written into the folder it claimed at the press: a folder renamed
// during the run, with a link to another folder put in its place, keeps the rest of the run's
// pages and its scrap file, and the other folder gets nothing.
void TestGenerateHTMLRun::runKeepsToTheFolderItClaimed() {
    ScriptedDialogs dialogs;
    Prepare(4);
    const QString other = out->filePath(QStringLiteral("other"));
    const QString renamed = out->filePath(QStringLiteral("tables.old"));
    QVERIFY(QDir().mkpath(other));
    bool moved = false;
    QPointer<GenerateHTML> win = w;
    WhenReady(
        this, [win] { return win && win->Status->text() == QLatin1String("03/2026 computed"); },
        [&] { moved = QFile::rename(outFolder, renamed) && QFile::link(other, outFolder); });
    fixture->setFailure("sleep:0.3");
    w->GenerateButton_Action();
    QTRY_COMPARE_WITH_TIMEOUT(w->Status->text(), QStringLiteral("Done"), kRunTimeout);
    QVERIFY(moved);
    QCOMPARE(dialogs.messages, QStringList());
    QCOMPARE(QDir(other).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
             QStringList());
    for (const char* name :
         {"2026-03-tides.html", "2026-04-tides.html", "output-scrap.html", "csv-version.txt"}) {
        const QString file = QString::fromLatin1(name);
        QCOMPARE(ReadFile(QDir(renamed).filePath(file)), ReadFile(Expected(file)));
    }
}

// With "Also Generate CSV File" checked, a list that cannot be made refuses the press with the
// system's reason before anything in the folder changes; the folder is free for the next press.
// A named pipe without a reader fails at once.
void TestGenerateHTMLRun::listThatCannotBeMadeRefusesRun_data() {
    QTest::addColumn<QString>("obstacle");
    QTest::addColumn<int>("reason");  // errno
    QTest::newRow("a folder of that name") << "folder" << EISDIR;
    QTest::newRow("a link into a missing folder") << "dangling link" << ENOENT;
    QTest::newRow("a named pipe without a reader") << "pipe" << ENXIO;
    QTest::newRow("a folder without write permission") << "read-only folder" << EACCES;
}

void TestGenerateHTMLRun::listThatCannotBeMadeRefusesRun() {
    QFETCH(QString, obstacle);
    QFETCH(int, reason);
    ScriptedDialogs dialogs;
    Prepare(3);
    QVERIFY(QDir().mkpath(outFolder));
    const QString csv = Out(QStringLiteral("csv-version.txt"));
    std::unique_ptr<NamedPipe> pipe;
    MakeObstacle(obstacle, csv, pipe);
    {
        QFile page(Out(QStringLiteral("2026-03-tides.html")));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("an earlier run's page\n");
    }
    const QMap<QString, QByteArray> before = FolderContents();
    const bool readOnly = obstacle == QLatin1String("read-only folder");
    if (readOnly) QVERIFY(QFile::setPermissions(outFolder, QFile::ReadOwner | QFile::ExeOwner));
    {
        UserPermissions permissions;
        QVERIFY(permissions.isValid());
        w->GenerateButton_Action();
    }
    if (readOnly)
        QVERIFY(QFile::setPermissions(outFolder,
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QCOMPARE(dialogs.messages,
             QStringList{QStringLiteral("Unable to save to file ") + csv + QStringLiteral(": ") +
                         QString::fromLocal8Bit(strerror(reason))});
    QVERIFY(!w->IsRunning());
    QVERIFY(w->tideShell.isNull());
    QVERIFY(w->Status->text().isEmpty());
    QCOMPARE(FolderContents(), before);

    w->AlsoGenCSV->setChecked(false);
    w->GenerateButton_Action();
    QTRY_COMPARE_WITH_TIMEOUT(w->Status->text(), QStringLiteral("Done"), kRunTimeout);
    QCOMPARE(dialogs.messages.size(), 1);
}

// A list that is a named pipe with a reader is written as a file is: the reader gets it whole.
void TestGenerateHTMLRun::listThatIsAPipeWithAReaderIsWritten() {
    ScriptedDialogs dialogs;
    Prepare(4);
    QVERIFY(QDir().mkpath(outFolder));
    NamedPipe pipe(Out("csv-version.txt"), NamedPipe::Reader::Now);
    QVERIFY(pipe.isValid());
    w->GenerateButton_Action();
    QTRY_COMPARE_WITH_TIMEOUT(w->Status->text(), QStringLiteral("Done"), kRunTimeout);
    QCOMPARE(dialogs.messages, QStringList());
    QCOMPARE(pipe.ReadAvailable(), ReadFile(Expected("csv-version.txt")));
    QCOMPARE(ReadFile(Out("2026-04-tides.html")), ReadFile(Expected("2026-04-tides.html")));
}

void TestGenerateHTMLRun::closingBetweenMonthsEndsRun() {
    ScriptedDialogs dialogs;
    fixture->setFailure("sleep:5");
    Prepare(4);
    w->GenerateButton_Action();
    QPointer<TideGetter> shell = w->tideShell;
    QVERIFY(shell && shell->IsRunning());
    QTest::mouseClick(w->DoneButton, Qt::LeftButton);
    QTRY_VERIFY(w.isNull());
    QTRY_VERIFY(shell.isNull());  // its child went with it
    QCOMPARE(ReadFile(Out("csv-version.txt")), QByteArray());
    QVERIFY(!QFile::exists(Out("2026-03-tides.html")));
    QCOMPARE(dialogs.messages, QStringList());
}

void TestGenerateHTMLRun::closingWhileAPageIsWrittenEndsRun() {
    ScriptedDialogs dialogs;
    Prepare(4);
    QPointer<GenerateHTML> win = w;
    WhenReady(
        this, [win] { return win && win->Status->text() == QLatin1String("03/2026 computed"); },
        [win] { win->close(); });
    w->GenerateButton_Action();
    QTRY_VERIFY_WITH_TIMEOUT(w.isNull(), kRunTimeout);
    QTest::qWait(200);
    // March stays as far as it got, closed; nothing later was started or written.
    const QByteArray page = ReadFile(Out("2026-03-tides.html"));
    QVERIFY(page.startsWith("<html><head><title>Tide Table for Seattle"));
    QVERIFY(!page.endsWith("</body></html>\n"));
    QVERIFY(!QFile::exists(Out("2026-04-tides.html")));
    QVERIFY(!QFile::exists(Out("output-scrap.html")));
    QCOMPARE(dialogs.messages, QStringList());
    // The month was listed when its page began: the index holds it all the same.
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("<li>Tide Table for <a href=\"2026-03-tides.html\">March 2026</a>\r"));
}

void TestGenerateHTMLRun::nonAsciiNameGivesAsciiPage_data() {
    QTest::addColumn<QString>("location");
    QTest::addColumn<QByteArray>("shown");
    QTest::addColumn<int>("days");  // day rows: the stand-in found the station by its bytes
    QTest::newRow("recorded station") << QString::fromUtf8("Mayagüez, Puerto Rico")
                                      << QByteArray("Mayag&#252;ez, Puerto Rico") << 7;
    QTest::newRow("fraction") << QString::fromUtf8("Rincon Point, Pier 22½, San Francisco Bay")
                              << QByteArray("Rincon Point, Pier 22&#189;, San Francisco Bay") << 0;
    QTest::newRow("accent") << QString::fromUtf8("Bahía Salinas, Puerto Rico")
                            << QByteArray("Bah&#237;a Salinas, Puerto Rico") << 0;
}

// The page names no character set, so a browser guesses one: the page must be pure ASCII for
// a station name outside ASCII to show right.
void TestGenerateHTMLRun::nonAsciiNameGivesAsciiPage() {
    QFETCH(QString, location);
    QFETCH(QByteArray, shown);
    QFETCH(int, days);
    ScriptedDialogs dialogs;
    w->Location->setText(location);
    w->OutputPath->setText(outFolder);
    w->FirstMonth->setCurrentIndex(2);
    w->FirstYear->setCurrentText(QStringLiteral("2009"));
    w->LastMonth->setCurrentIndex(2);
    w->LastYear->setCurrentText(QStringLiteral("2009"));
    w->GenerateButton_Action();
    QTRY_VERIFY_WITH_TIMEOUT(!w->IsRunning(), kRunTimeout);

    const QByteArray page = ReadFile(Out("2009-03-tides.html"));
    QVERIFY(page.endsWith("</body></html>\n"));
    for (qsizetype i = 0; i < page.size(); ++i)
        QVERIFY2(uchar(page[i]) < 0x80, qPrintable(QStringLiteral("byte %1 of the page").arg(i)));
    const QList<QByteArray> lines = page.split('\n');
    QCOMPARE(lines[0], "<html><head><title>Tide Table for " + shown + "</title></head>");
    QCOMPARE(lines[1], QByteArray("<body bgcolor=\"#ffffff\">"));
    QCOMPARE(lines[2], "<center><h1>Tide Table for " + shown + "</h1></center>");
    QCOMPARE(page.count("<td><b><center>"), days);
}

// November 2026 to February 2027: the end of the period is read from the last year, and the
// months, links and index go on into the next year.
void TestGenerateHTMLRun::periodAcrossYearEnd() {
    UseData(XTideFixture::sampleDataFolder());
    ScriptedDialogs dialogs;
    SetRun(w, QString::fromUtf8(kSeattle), outFolder, 11, 2026, 2, 2027);
    w->GenerateButton_Action();
    QTRY_COMPARE_WITH_TIMEOUT(w->Status->text(), QStringLiteral("Done"), kRunTimeout);
    QCOMPARE(dialogs.messages, QStringList());

    struct Month {
        const char* page;
        const char* heading;
        const char* previous;  // "" at the period's first month
        const char* next;      // "" at its last
        int days;
    };
    const Month months[] = {
        {"2026-11-tides.html", "November 2026", "", "2026-12-tides.html", 30},
        {"2026-12-tides.html", "December 2026", "2026-11-tides.html", "2027-01-tides.html", 31},
        {"2027-01-tides.html", "January 2027", "2026-12-tides.html", "2027-02-tides.html", 31},
        {"2027-02-tides.html", "February 2027", "2027-01-tides.html", "", 28},
    };
    QString index;
    for (const Month& m : months) {
        const QByteArray page = ReadFile(Out(QString::fromLatin1(m.page)));
        QVERIFY2(page.endsWith("</body></html>\n"), m.page);
        QVERIFY2(page.contains(QByteArray("<center><h2>") + m.heading + "</h2></center>"), m.page);
        // Each page holds its own month of predictions, one row a day, the last day included.
        QCOMPARE(page.count("<td><b><center>"), m.days);
        QVERIFY(page.contains(QByteArray("<td><b><center>") + QByteArray::number(m.days) +
                              "</center></b></td>"));
        // Both navigation rows link the neighbouring months, and no link leaves the period.
        QCOMPARE(page.count("Previous Month"), *m.previous ? 2 : 0);
        QCOMPARE(page.count("Next Month"), *m.next ? 2 : 0);
        if (*m.previous) QCOMPARE(page.count(QByteArray("<a href=\"") + m.previous + "\">"), 2);
        if (*m.next) QCOMPARE(page.count(QByteArray("<a href=\"") + m.next + "\">"), 2);
        index += QStringLiteral("<li>Tide Table for <a href=\"%1\">%2</a>\r")
                     .arg(QLatin1String(m.page), QLatin1String(m.heading));
    }
    QCOMPARE(QDir(outFolder).entryList({QStringLiteral("*-tides.html")}, QDir::Files).size(), 4);
    QCOMPARE(QGuiApplication::clipboard()->text(), index);
    QCOMPARE(ReadFile(Out("output-scrap.html")), ("<ul>\r" + index + "</ul>\r").toUtf8());
}

// A tide of a month's last minute and one of the next month's first minute, across the end of a
// year: each is in its own day's row, once.
void TestGenerateHTMLRun::monthEdgesEachOnce() {
    UseData(QStringLiteral(QUORVEX_TEST_FIXTURES "/month-edges"));
    ScriptedDialogs dialogs;
    SetRun(w, QStringLiteral("The Battery, New York Harbor, New York"), outFolder, 12, 2026, 2,
           2027);
    w->GenerateButton_Action();
    QTRY_COMPARE_WITH_TIMEOUT(w->Status->text(), QStringLiteral("Done"), kRunTimeout);
    QCOMPARE(dialogs.messages, QStringList());

    // The row of `day` on the page of `month`: from its day cell to the end of the row.
    auto row = [this](const char* month, int day) {
        const QByteArray page = ReadFile(Out(QString::fromLatin1(month) + "-tides.html"));
        const QByteArray cell = "<td><b><center>" + QByteArray::number(day) + "</center></b></td>";
        const qsizetype begin = page.indexOf(cell);
        return begin < 0 ? QByteArray() : page.mid(begin, page.indexOf("</tr>", begin) - begin);
    };
    const QByteArray midnight = "<center>12:00 AM<br>4.48 ft</center>";
    const QByteArray lastMinute = "<center>11:59 PM<br>-0.21 ft</center>";
    QCOMPARE(row("2027-01", 1).count(midnight), 1);
    QCOMPARE(row("2027-01", 31).count(lastMinute), 1);
    QByteArray all;
    for (const char* month : {"2026-12", "2027-01", "2027-02"})
        all += ReadFile(Out(QString::fromLatin1(month) + "-tides.html"));
    QCOMPARE(all.count(midnight), 1);
    QCOMPARE(all.count(lastMinute), 1);
    QCOMPARE(all.count("<td><b><center>"), 4);  // December 31, January 1 and 31, February 1
    // February 1's first line repeats January's last: one event, in January's row.
    QVERIFY(!row("2027-02", 1).contains("12:00 AM"));
}

// A last month before the first gives the first month alone, which is also the period's last.
void TestGenerateHTMLRun::periodEndingBeforeItsStartGivesOneMonth() {
    ScriptedDialogs dialogs;
    Prepare(3);
    w->FirstMonth->setCurrentIndex(4);  // May 2026 to March 2026
    w->GenerateButton_Action();
    QTRY_COMPARE_WITH_TIMEOUT(w->Status->text(), QStringLiteral("Done"), kRunTimeout);
    QCOMPARE(dialogs.messages, QStringList());
    QCOMPARE(QDir(outFolder).entryList({QStringLiteral("*-tides.html")}, QDir::Files),
             QStringList{QStringLiteral("2026-05-tides.html")});
    const QByteArray page = ReadFile(Out("2026-05-tides.html"));
    QVERIFY(page.endsWith("</body></html>\n"));
    QCOMPARE(page.count("<td><b><center>"), 31);
    QVERIFY(!page.contains("Previous Month"));
    QVERIFY(!page.contains("Next Month"));
    QCOMPARE(ReadFile(Out("output-scrap.html")),
             QByteArray("<ul>\r<li>Tide Table for <a href=\"2026-05-tides.html\">May "
                        "2026</a>\r</ul>\r"));
}

// A second run into the same folder replaces its pages, list and index; it never appends.
void TestGenerateHTMLRun::secondRunReplacesEarlierFiles() {
    ScriptedDialogs dialogs;
    Prepare(4);
    QVERIFY(QDir().mkpath(outFolder));
    for (const char* name :
         {"2026-03-tides.html", "2026-04-tides.html", "output-scrap.html", "csv-version.txt"}) {
        QFile f(Out(QString::fromLatin1(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(100000, 'x'));  // longer than any of the files the run writes
    }
    for (int run = 1; run <= 2; ++run) {
        w->GenerateButton_Action();
        QTRY_COMPARE_WITH_TIMEOUT(w->Status->text(), QStringLiteral("Done"), kRunTimeout);
        for (const char* name :
             {"2026-03-tides.html", "2026-04-tides.html", "output-scrap.html", "csv-version.txt"}) {
            const QString file = QString::fromLatin1(name);
            QVERIFY2(ReadFile(Out(file)) == ReadFile(Expected(file)),
                     qPrintable(QStringLiteral("run %1: %2").arg(run).arg(file)));
        }
        w->Status->clear();
    }
    QCOMPARE(dialogs.messages, QStringList());
}

void TestGenerateHTMLRun::scrapFileThatCannotBeCreated_data() {
    QTest::addColumn<QString>("obstacle");
    QTest::addColumn<int>("reason");  // errno
    QTest::newRow("a folder in the scrap file's place") << "folder" << EISDIR;
    QTest::newRow("a named pipe without a reader") << "pipe" << ENXIO;
}

void TestGenerateHTMLRun::scrapFileThatCannotBeCreated() {
    QFETCH(QString, obstacle);
    QFETCH(int, reason);
    ScriptedDialogs dialogs;
    Prepare(4);
    std::unique_ptr<NamedPipe> pipe;
    MakeObstacle(obstacle, Out("output-scrap.html"), pipe);
    w->GenerateButton_Action();
    QTRY_VERIFY_WITH_TIMEOUT(!w->IsRunning(), kRunTimeout);
    QCOMPARE(dialogs.messages,
             QStringList{QStringLiteral("Unable to output to file ") + Out("output-scrap.html") +
                         QStringLiteral(": ") + QString::fromLocal8Bit(strerror(reason))});
    // Not "Done": the status keeps the last month's text. The pages and the list are written
    // and closed, and the window is ready for the next run.
    QCOMPARE(w->Status->text(), QStringLiteral("04/2026 computed"));
    QVERIFY(w->GenerateButton->isEnabled());
    QVERIFY(w->csvFile == nullptr);
    for (const char* name : {"2026-03-tides.html", "2026-04-tides.html", "csv-version.txt"}) {
        const QString file = QString::fromLatin1(name);
        QCOMPARE(ReadFile(Out(file)), ReadFile(Expected(file)));
    }
    QVERIFY(!QFileInfo(Out("output-scrap.html")).isFile());
}

QUORVEX_TEST_MAIN(TestGenerateHTMLRun)
#include "tst_GenerateHTMLRun.moc"
