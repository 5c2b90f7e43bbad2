// tst_App  The application object's document events (reuse of the single fresh main window),
// its two menu commands and the about window they open, and how the process meets a pipe whose
// reader has left.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>
#include <csignal>

#include "calendar/CalendarSettings.h"
#include "calendar/QuorvexWindow.h"
#include "core/AboutQuorvex.h"
#include "core/App.h"
#include "platform/ChildProcess.h"
#include "support/ScriptedDialogs.h"
#include "support/TestMain.h"

namespace {

template <class W>
QList<W*> windowsOf() {
    QList<W*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* t = qobject_cast<W*>(w); t && t->isVisible()) found.append(t);
    return found;
}

}  // namespace

// Receives the pages the about window opens instead of a web browser.
class UrlRecorder : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
  public slots:
    void openUrl(const QUrl& url) { opened.append(url); }
};

class tst_App : public QObject {
    Q_OBJECT
  private slots:
    void cleanup();
    void documentEvents_data();
    void documentEvents();
    void newQuorvexAlwaysOpensAWindow();
    void aboutTwiceOpensTwo();
    void aboutWindow();
    void aboutLinksOpenTheBrowser();
    void aboutCloseClosesOnlyItself();
    void brokenPipesFailWritesButNotChildren();

  private:
    ScriptedDialogs dialogs;  // messages of windows' location listings end here
};

void tst_App::cleanup() {
    QList<QPointer<QMainWindow>> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<QMainWindow*>(w)) windows.append(m);
    for (const QPointer<QMainWindow>& w : windows) delete w.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void tst_App::documentEvents_data() {
    QTest::addColumn<QString>("label");   // the default window's Location text
    QTest::addColumn<bool>("aboutOpen");  // an about window is open as well
    QTest::addColumn<bool>("reused");     // the default window takes the document
    QTest::newRow("fresh window") << QStringLiteral("No Location Specified") << false << true;
    QTest::newRow("fresh text in other letter case")
        << QStringLiteral("NO LOCATION specified") << false << true;
    QTest::newRow("a chosen location") << QStringLiteral("Alameda, California") << false << false;
    QTest::newRow("fresh text with a blank more")
        << QStringLiteral("No Location Specified ") << false << false;
    QTest::newRow("about window open too")
        << QStringLiteral("No Location Specified") << true << false;
}

// A start without a document shows the single fresh window or opens one filled from App's
// location list; a settings document goes to that window or to a new one, whose controls it sets.
void tst_App::documentEvents() {
    QFETCH(QString, label);
    QFETCH(bool, aboutOpen);
    QFETCH(bool, reused);
    App app;
    app.locations = QStringList{"Alpha Bay", "Beta Point", "unused"};
    app.nlocations = 2;
    QTemporaryDir dir;
    const QString document = dir.filePath(QStringLiteral("Port Angeles.quorvex"));
    CalendarSettings settings;
    settings.location = QStringLiteral("Port Angeles, Strait Of Juan De Fuca, Washington");
    settings.firstMonth = 5;
    settings.firstYear = 2026;
    settings.lastMonth = 7;
    settings.lastYear = 2027;
    settings.outputPath = dir.filePath(QStringLiteral("port.xml"));
    settings.outputFormat = 3;
    QFile file(document);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(settings.Encode());
    file.close();

    for (int event = 0; event < 2; ++event) {
        auto* defaultWindow = new QuorvexWindow(QuorvexWindow::OpenMode::Deferred);
        defaultWindow->Location->setText(label);
        if (aboutOpen) new AboutQuorvex();
        if (event == 0)
            app.Event_NewDocument();
        else
            app.Event_OpenDocument(document);
        const QList<QuorvexWindow*> mains = windowsOf<QuorvexWindow>();
        QCOMPARE(mains.size(), reused ? 1 : 2);
        QVERIFY(mains.contains(defaultWindow));
        QVERIFY(defaultWindow->isVisible());
        QuorvexWindow* other = mains.at(0) == defaultWindow ? mains.value(1) : mains.at(0);
        QuorvexWindow* target = reused ? defaultWindow : other;
        if (event == 0) {
            QCOMPARE(target->Location->text(), reused ? label : "No Location Specified");
            QCOMPARE(target->LocationList->count(), reused ? 0 : 2);
            if (!reused) QCOMPARE(target->LocationList->itemText(1), QStringLiteral("Beta Point"));
        } else {
            QCOMPARE(target->Location->text(), settings.location);
            QCOMPARE(target->FirstMonth->currentText(), QStringLiteral("June"));
            QCOMPARE(target->FirstYear->currentText(), QStringLiteral("2026"));
            QCOMPARE(target->LastMonth->currentText(), QStringLiteral("August"));
            QCOMPARE(target->LastYear->currentText(), QStringLiteral("2027"));
            QCOMPARE(target->OutputPath->text(), settings.outputPath);
            QCOMPARE(target->OutputFormat->currentText(), QStringLiteral("RSS"));
            QCOMPARE(target->theFile, document);
            QCOMPARE(target->LocationList->count(), 0);  // the list is not filled here
        }
        if (!reused) {
            QCOMPARE(defaultWindow->Location->text(), label);
            QCOMPARE(defaultWindow->OutputPath->text(), QStringLiteral("No Output Path Specified"));
            QVERIFY(defaultWindow->theFile.isEmpty());
        }
        cleanup();
    }
}

void tst_App::newQuorvexAlwaysOpensAWindow() {
    App app;
    new QuorvexWindow(QuorvexWindow::OpenMode::Deferred);  // fresh, yet not reused
    QVERIFY(app.DispatchMenuCommand(QStringLiteral("FileNewQuorvex")));
    QCOMPARE(windowsOf<QuorvexWindow>().size(), 2);
    QVERIFY(!app.DispatchMenuCommand(QStringLiteral("FileClose")));  // not the application's
}

void tst_App::aboutTwiceOpensTwo() {
    App app;
    auto* main = new QuorvexWindow(QuorvexWindow::OpenMode::Deferred);
    main->RefreshMenuItems();
    QAction* about = main->MenuItem(QStringLiteral("AppleAboutQuorvex"));
    QVERIFY(about->isEnabled());
    about->trigger();
    about->trigger();
    QCOMPARE(windowsOf<AboutQuorvex>().size(), 2);
    QCOMPARE(App::WindowCount(), 3);
}

void tst_App::aboutWindow() {
    App app;
    auto* about = new AboutQuorvex();
    QCOMPARE(about->windowTitle(), QStringLiteral("About Quorvex"));
    QVERIFY(about->isVisible());
    // Not resizable.
    QCOMPARE(about->minimumSize(), about->maximumSize());
    QCOMPARE(about->centralWidget()->size(), QSize(301, 122));
    QVERIFY(!(about->windowFlags() & Qt::WindowMaximizeButtonHint));

    struct Expected {
        QLabel* label;
        const char* name;
        QRect frame;
        int textSize;  // pixels
        QString text;
    };
    const Expected expected[] = {
        {about->StaticText1, "StaticText1", QRect(10, 6, 278, 20), 12,
         QStringLiteral("Quorvex - Tides for iCal 10")},
        {about->VostraneURL, "VostraneURL", QRect(10, 30, 280, 20), 10,
         QStringLiteral("quorvex.example.org")},
        {about->DrelmontURL, "DrelmontURL", QRect(10, 57, 280, 40), 10,
         QStringLiteral("flaterco.com/xtide - Home of XTide\nThe Tide Predictor")},
    };
    for (const Expected& e : expected) {
        QVERIFY(e.label);
        QCOMPARE(e.label->objectName(), QLatin1String(e.name));
        QCOMPARE(e.label->geometry(), e.frame);
        QCOMPARE(e.label->text(), e.text);
        QCOMPARE(e.label->font().pixelSize(), e.textSize);
        QVERIFY(e.label->alignment() & Qt::AlignHCenter);
    }
    about->RefreshMenuItems();
    QVERIFY(about->MenuItem(QStringLiteral("FileClose"))->isEnabled());
    QVERIFY(!about->MenuItem(QStringLiteral("FileSaveSettings"))->isEnabled());
}

void tst_App::aboutLinksOpenTheBrowser() {
    UrlRecorder browser;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "openUrl");
    auto* about = new AboutQuorvex();
    QTest::mouseClick(about->VostraneURL, Qt::LeftButton);
    QTest::mouseClick(about->DrelmontURL, Qt::LeftButton, {}, QPoint(20, 30));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QCOMPARE(browser.opened, (QList<QUrl>{QUrl(QStringLiteral("https://quorvex.example.org/")),
                                          QUrl(QStringLiteral("https://flaterco.com/xtide/"))}));
    QVERIFY(about->isVisible());
}

void tst_App::aboutCloseClosesOnlyItself() {
    App app;
    QPointer<QuorvexWindow> main = new QuorvexWindow(QuorvexWindow::OpenMode::Deferred);
    QPointer<AboutQuorvex> first = new AboutQuorvex();
    QPointer<AboutQuorvex> second = new AboutQuorvex();
    second->RefreshMenuItems();
    second->MenuItem(QStringLiteral("FileClose"))->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!second);
    QVERIFY(first && first->isVisible());
    QVERIFY(main && main->isVisible());
}

namespace {

// Whether the status of a process (/proc/<pid>/status) shows SIGPIPE ignored.
bool IgnoresSigPipe(const QByteArray& status) {
    for (const QByteArray& line : status.split('\n'))
        if (line.startsWith("SigIgn:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGPIPE - 1)) & 1;
    return false;
}

}  // namespace

// The application does not die of a pipe whose reader has left: its writes fail instead. The
// children it starts (tide, through the shell) get SIGPIPE's default back, as a program started
// from a terminal has it: an ignored signal would be inherited across exec.
void tst_App::brokenPipesFailWritesButNotChildren() {
    App app;
    QFile self(QStringLiteral("/proc/self/status"));
    QVERIFY(self.open(QIODevice::ReadOnly));
    QVERIFY(IgnoresSigPipe(self.readAll()));

    QProcess child;
    ChildProcess::UseOwnProcessGroup(child);
    child.start(QStringLiteral("/bin/bash"),
                {QStringLiteral("-c"), QStringLiteral("cat /proc/self/status")});
    QVERIFY(child.waitForFinished(10000));
    const QByteArray status = child.readAllStandardOutput();
    QVERIFY(status.contains("SigIgn:"));
    QVERIFY(!IgnoresSigPipe(status));
}

QUORVEX_TEST_MAIN(tst_App)
#include "tst_App.moc"
