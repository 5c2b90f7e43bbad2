// tst_TideGetter  The background month run: who receives its completion, what the receiver can
// read, a shell that does not start, Kill, and receivers and getters that go away meanwhile.
#include <QtTest>
#include <clocale>
#include <functional>

#include "calendar/QuorvexWindow.h"
#include "calendar/TideRunCheck.h"
#include "core/App.h"
#include "engine/LocationName.h"
#include "engine/TideCommand.h"
#include "engine/TideGetter.h"
#include "support/ProcessProbe.h"
#include "support/TestMain.h"
#include "support/XTideFixture.h"

namespace {

class Receiver : public QObject, public TideReceiver {
  public:
    void Completed() override {
        ++calls;
        if (onCompleted) onCompleted();
    }
    int calls = 0;
    std::function<void()> onCompleted;
};

// A main window that only counts its completions.
class CountingWindow : public QuorvexWindow {
  public:
    CountingWindow() : QuorvexWindow(OpenMode::Deferred) {}
    void Completed() override { ++calls; }
    int calls = 0;
};

}  // namespace

class tst_TideGetter : public QObject {
    Q_OBJECT
  private slots:
    void receiverRules_data();
    void receiverRules();
    void output_data();
    void output();
    void outputBound_data();
    void outputBound();
    void shellThatDoesNotStart();
    void killSuppressesCompletion();
    void monthChainReplacesTheGetter();
    void receiverDeletesTheGetterInsideCompleted();
    void destroyedWhileRunningEndsTheChild();
    void predictionThroughTheStandIn_data();
    void predictionThroughTheStandIn();

  private:
    App app;
};

void tst_TideGetter::receiverRules_data() {
    QTest::addColumn<bool>("setReport");
    QTest::addColumn<bool>("setGenerate");
    QTest::addColumn<bool>("appWindow");
    QTest::addColumn<QString>("destroy");  // receiver destroyed while the command runs
    QTest::addColumn<QString>("called");   // "report", "generate", "app" or "none"
    QTest::newRow("both set: ReportTo only") << true << true << true << ""
                                             << "report";
    QTest::newRow("GenerateTo") << false << true << true << ""
                                << "generate";
    QTest::newRow("no receiver: App.reportTo") << false << false << true << ""
                                               << "app";
    QTest::newRow("no receiver, no App.reportTo") << false << false << false << ""
                                                  << "none";
    // A closed window's month is dropped, never handed to another window's run.
    QTest::newRow("ReportTo closed") << true << false << true << "report"
                                     << "none";
    QTest::newRow("ReportTo closed, GenerateTo alive") << true << true << true << "report"
                                                       << "none";
    QTest::newRow("GenerateTo closed") << false << true << true << "generate"
                                       << "none";
}

void tst_TideGetter::receiverRules() {
    QFETCH(bool, setReport);
    QFETCH(bool, setGenerate);
    QFETCH(bool, appWindow);
    QFETCH(QString, destroy);
    QFETCH(QString, called);

    auto* report = new Receiver;
    auto* generate = new Receiver;
    QPointer<Receiver> reportAlive(report), generateAlive(generate);
    CountingWindow window;
    app.reportTo = appWindow ? &window : nullptr;

    TideGetter getter;
    if (setReport) getter.SetReportTo(report);
    if (setGenerate) getter.SetGenerateTo(generate);
    QSignalSpy finished(&getter, &TideGetter::Finished);
    getter.Execute(QStringLiteral("sleep 0.1"));
    if (destroy == QLatin1String("report")) delete report;
    if (destroy == QLatin1String("generate")) delete generate;
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);

    QCOMPARE(reportAlive ? reportAlive->calls : 0, called == QLatin1String("report") ? 1 : 0);
    QCOMPARE(generateAlive ? generateAlive->calls : 0, called == QLatin1String("generate") ? 1 : 0);
    QCOMPARE(window.calls, called == QLatin1String("app") ? 1 : 0);
    app.reportTo = nullptr;
    delete reportAlive;
    delete generateAlive;
}

void tst_TideGetter::output_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("crashed");
    QTest::newRow("both streams") << "printf out1; printf err1 >&2; printf out2"
                                  << QByteArray("out1out2") << QByteArray("err1") << 0 << false;
    QTest::newRow("prints nothing") << "true" << QByteArray() << QByteArray() << 0 << false;
    QTest::newRow("exit status") << "echo no >&2; exit 3" << QByteArray() << QByteArray("no\n") << 3
                                 << false;
    QTest::newRow("command not found")
        << "cd /; ./no-such-tide" << QByteArray() << QByteArray() << 127 << false;
    QTest::newRow("killed by a signal")
        << "printf before; kill -9 $$" << QByteArray("before") << QByteArray() << -1 << true;
}

void tst_TideGetter::output() {
    QFETCH(QString, command);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    QFETCH(int, code);
    QFETCH(bool, crashed);
    Receiver receiver;
    TideGetter getter;
    getter.SetReportTo(&receiver);
    QByteArray readInside;
    receiver.onCompleted = [&] { readInside = getter.ReadAll(); };
    getter.Execute(command);
    QVERIFY(getter.IsRunning());
    QTRY_COMPARE_WITH_TIMEOUT(receiver.calls, 1, 10000);
    QVERIFY(!getter.IsRunning());
    QVERIFY(getter.Started());
    QCOMPARE(getter.Crashed(), crashed);
    QCOMPARE(getter.ErrorCode(), code);
    QCOMPARE(getter.StandardOutput(), out);
    if (code != 127)
        QCOMPARE(getter.ErrorOutput(), err);
    else
        QVERIFY(getter.ErrorOutput().contains("no-such-tide"));
    QCOMPARE(getter.ReadAll(), getter.StandardOutput() + getter.ErrorOutput());
    QCOMPARE(readInside, getter.ReadAll());
}

// A command that prints past the bound is stopped there, whichever stream it fills, and its
// completion comes as for any end; what stays within the bound is taken whole, also a month
// of 50 MB.
void tst_TideGetter::outputBound_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<qint64>("taken");  // bytes of output kept; -1: no more than the bound
    QTest::addColumn<bool>("reached");
    const QString line = QStringLiteral("yes '2009-02-28  4:41 AM PST   0.35 feet  Low Tide'");
    const qint64 limit = TideGetter::kOutputLimit;
    QTest::newRow("standard output without end") << line << qint64(-1) << true;
    QTest::newRow("error output without end")
        << line + QStringLiteral(" >&2") << qint64(-1) << true;
    QTest::newRow("50 MB") << line + QStringLiteral(" | head -c 52428800") << qint64(52428800)
                           << false;
    QTest::newRow("the bound exactly")
        << QStringLiteral("head -c %1 /dev/zero").arg(limit) << limit << false;
    QTest::newRow("one byte past the bound, in two streams")
        << QStringLiteral("head -c %1 /dev/zero; printf x >&2").arg(limit) << qint64(-1) << true;
}

void tst_TideGetter::outputBound() {
    QFETCH(QString, command);
    QFETCH(qint64, taken);
    QFETCH(bool, reached);
    Receiver receiver;
    TideGetter getter;
    getter.SetReportTo(&receiver);
    getter.Execute(command);
    QTRY_COMPARE_WITH_TIMEOUT(receiver.calls, 1, 60000);
    QVERIFY(!getter.IsRunning());
    QCOMPARE(getter.OutputLimitReached(), reached);
    if (taken >= 0) {
        QCOMPARE(getter.ReadAll().size(), taken);
        QCOMPARE(getter.ErrorCode(), 0);
    } else {
        QVERIFY(getter.ReadAll().size() <= TideGetter::kOutputLimit);
    }
    QCOMPARE(TideRunCheck::Check(getter).failed, reached);
    if (reached) QCOMPARE(TideRunCheck::Check(getter).message, TideRunCheck::OutputLimitMessage());
}

// Completion comes exactly once and never from inside Execute.
void tst_TideGetter::shellThatDoesNotStart() {
    Receiver receiver;
    TideGetter getter;
    getter.SetReportTo(&receiver);
    getter.SetShellForTesting(QStringLiteral("/nonexistent/bash"));
    QSignalSpy finished(&getter, &TideGetter::Finished);
    getter.Execute(QStringLiteral("true"));
    QCOMPARE(receiver.calls, 0);
    QTRY_COMPARE_WITH_TIMEOUT(receiver.calls, 1, 5000);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCOMPARE(receiver.calls, 1);
    QCOMPARE(finished.count(), 1);
    QVERIFY(!getter.Started());
    QCOMPARE(getter.ErrorCode(), -1);
    QCOMPARE(getter.ReadAll(), QByteArray());
}

void tst_TideGetter::killSuppressesCompletion() {
    Receiver receiver;
    TideGetter getter;
    getter.SetReportTo(&receiver);
    QSignalSpy finished(&getter, &TideGetter::Finished);
    getter.Execute(QStringLiteral("sleep 20"));
    QVERIFY(getter.IsRunning());
    QElapsedTimer timer;
    timer.start();
    getter.Kill();
    QVERIFY(timer.elapsed() < 2000);
    QVERIFY(!getter.IsRunning());
    QCoreApplication::sendPostedEvents();  // the process's end, already queued
    QCoreApplication::processEvents();
    QCOMPARE(receiver.calls, 0);
    QCOMPARE(finished.count(), 0);
}

// The receiver starts the next month from inside Completed and releases the old getter with
// deleteLater, reading its output after the new one exists.
void tst_TideGetter::monthChainReplacesTheGetter() {
    Receiver receiver;
    QPointer<TideGetter> tideShell;
    QList<QByteArray> months;
    int next = 1;
    auto start = [&] {
        auto* getter = new TideGetter;
        getter->SetReportTo(&receiver);
        tideShell = getter;
        getter->Execute(QStringLiteral("printf month%1").arg(next++));
    };
    receiver.onCompleted = [&] {
        TideGetter* old = tideShell;
        if (next <= 3) start();
        months << old->ReadAll();
        old->deleteLater();
    };
    start();
    QTRY_COMPARE_WITH_TIMEOUT(months.size(), 3, 10000);
    QCOMPARE(months, (QList<QByteArray>{"month1", "month2", "month3"}));
    QTRY_VERIFY(!tideShell);
}

void tst_TideGetter::receiverDeletesTheGetterInsideCompleted() {
    Receiver receiver;
    auto* getter = new TideGetter;
    QPointer<TideGetter> alive(getter);
    getter->SetReportTo(&receiver);
    bool finished = false;
    connect(getter, &TideGetter::Finished, &receiver, [&] { finished = true; });
    receiver.onCompleted = [&] { delete getter; };
    getter->Execute(QStringLiteral("true"));
    QTRY_COMPARE_WITH_TIMEOUT(receiver.calls, 1, 10000);
    QVERIFY(!alive);
    QVERIFY(!finished);
}

// A window closed during its month: the getter goes with it, ends bash and what bash started,
// and calls nobody.
void tst_TideGetter::destroyedWhileRunningEndsTheChild() {
    QTemporaryDir dir;
    const QString pidFile = dir.filePath(QStringLiteral("sleep.pid"));
    auto* receiver = new Receiver;
    auto* getter = new TideGetter(receiver);
    getter->SetReportTo(receiver);
    int calls = 0;
    receiver->onCompleted = [&] { ++calls; };
    CountingWindow window;
    app.reportTo = &window;
    getter->Execute(QStringLiteral("sleep 30 & echo $! > '%1'; wait").arg(pidFile));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(pidFile).size() > 0, 10000);
    QFile file(pidFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray sleeper = file.readAll();

    QElapsedTimer timer;
    timer.start();
    delete receiver;
    QVERIFY(timer.elapsed() < 2000);
    QTRY_VERIFY_WITH_TIMEOUT(ProcessEnded(sleeper), 5000);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCOMPARE(calls, 0);
    QCOMPARE(window.calls, 0);
    app.reportTo = nullptr;
}

void tst_TideGetter::predictionThroughTheStandIn_data() {
    QTest::addColumn<QByteArray>("locale");  // of this process and so of tide
    QTest::addColumn<QByteArray>("listed");  // the name's bytes in a listing under that locale
    QTest::newRow("ASCII") << QByteArray("C.UTF-8")
                           << QByteArray("Seattle, Puget Sound, Washington");
    QTest::newRow("accented, UTF-8") << QByteArray("C.UTF-8")
                                     << QByteArray(
                                            "Mayag\xc3\xbc"
                                            "ez, Puerto Rico");
    QTest::newRow("accented, C locale") << QByteArray("C")
                                        << QByteArray(
                                               "Mayag\xfc"
                                               "ez, Puerto Rico");
}

// A listed name goes back to tide as the bytes tide listed, and finds its station.
void tst_TideGetter::predictionThroughTheStandIn() {
    QFETCH(QByteArray, locale);
    QFETCH(QByteArray, listed);
    XTideFixture fixture;
    QVERIFY(fixture.isValid());
    const QByteArray savedEnv = qgetenv("LC_ALL");
    const QByteArray savedLocale = setlocale(LC_CTYPE, nullptr);
    if (!setlocale(LC_CTYPE, locale.constData())) QSKIP("locale not available");
    qputenv("LC_ALL", locale);
    const QString name = LocationName::FromListing(listed);
    QVERIFY(name.startsWith(QStringLiteral("Seattle")) ||
            name == QStringLiteral("Mayag\u00fcez, Puerto Rico"));

    Receiver receiver;
    TideGetter getter;
    getter.SetReportTo(&receiver);
    getter.Execute(TideCommand::Build(fixture.xtideFolder(), name, 3, 2009));
    qputenv("LC_ALL", savedEnv);
    setlocale(LC_CTYPE, savedLocale.constData());
    QTRY_COMPARE_WITH_TIMEOUT(receiver.calls, 1, 10000);
    QCOMPARE(getter.ErrorCode(), 0);
    QVERIFY2(getter.StandardOutput().startsWith(listed), getter.ReadAll().left(300).constData());
    QVERIFY(getter.StandardOutput().contains("2009-03-01"));
    QVERIFY(!getter.ErrorOutput().contains("STATION_NOT_FOUND"));
}

QUORVEX_TEST_MAIN(tst_TideGetter)
#include "tst_TideGetter.moc"
