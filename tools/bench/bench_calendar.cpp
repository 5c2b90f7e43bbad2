// bench_calendar  Wall time of a 12-month calendar run through the calendar window against the
// time of the same 12 tide command lines run directly by bash, and of one location search.
//
//   bench_calendar XTIDE_FOLDER [LISTING]
//
// XTIDE_FOLDER holds `tide` and harmonics.tcd (tools/xtide-folder --sample lays one out with the
// stand-in and the 2026 sample months). LISTING, a saved location listing, gives the names the
// search runs over (by default 5407 made-up names).
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

#include "calendar/QuorvexWindow.h"
#include "calendar/YearList.h"
#include "core/App.h"
#include "engine/LocationGetter.h"
#include "engine/TideCommand.h"
#include "engine/TideGetter.h"
#include "engine/TideReceiver.h"

namespace {

// Blocks until events arrive and handles them. (QCoreApplication::processEvents with a time limit
// drops WaitForMoreEvents and would spin, taking the CPU from the child processes measured.)
void WaitForEvents() {
    QCoreApplication::eventDispatcher()->processEvents(QEventLoop::WaitForMoreEvents);
}

const QString kLocation = QStringLiteral("Seattle, Puget Sound, Washington");
constexpr int kYear = 2026;

double RunWindow(App& app, const QString& outputPath) {
    QPointer<QuorvexWindow> w = new QuorvexWindow(QuorvexWindow::OpenMode::Deferred);
    w->Location->setText(kLocation);
    w->FirstMonth->setCurrentIndex(0);
    w->FirstYear->setCurrentIndex(YearList::IndexOf(kYear, w->FirstYear));
    w->LastMonth->setCurrentIndex(11);
    w->LastYear->setCurrentIndex(YearList::IndexOf(kYear, w->LastYear));
    w->SunriseSunset->setChecked(true);
    w->MoonriseMoonset->setChecked(true);
    w->ShowMoonPhases->setChecked(true);
    w->OutputPath->setText(outputPath);
    // Let the new window lay itself out and paint first: that is start-up, not the run.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 200) QCoreApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    w->ComputeButton_Action();
    while (w && w->IsRunning()) WaitForEvents();
    const double seconds = timer.nsecsElapsed() / 1e9;
    const bool done = w && w->Status->text() == QStringLiteral("Done");
    delete w;
    Q_UNUSED(app);
    return done ? seconds : -1;
}

double RunDirect(const QString& folder) {
    QElapsedTimer timer;
    timer.start();
    qint64 bytes = 0;
    for (int month = 1; month <= 12; ++month) {
        QProcess bash;
        bash.start(QStringLiteral("/bin/bash"),
                   {QStringLiteral("-c"), TideCommand::Build(folder, kLocation, month, kYear)});
        bash.waitForFinished(-1);
        bytes += bash.readAllStandardOutput().size() + bash.readAllStandardError().size();
    }
    return bytes > 0 ? timer.nsecsElapsed() / 1e9 : -1;
}

// The 12 months through TideGetter alone, each next month started from the last one's completion.
class ChainOnly : public QObject, public TideReceiver {
  public:
    explicit ChainOnly(const QString& folder) : folder(folder) {}
    void Start(int m) {
        month = m;
        if (getter) getter->deleteLater();
        getter = new TideGetter(this);
        getter->SetReportTo(this);
        getter->Execute(TideCommand::Build(folder, kLocation, month, kYear));
    }
    void Completed() override {
        bytes += getter->ReadAll().size();
        if (month < 12)
            Start(month + 1);
        else
            done = true;
    }
    QString folder;
    QPointer<TideGetter> getter;
    int month = 0;
    qint64 bytes = 0;
    bool done = false;
};

double RunGetters(const QString& folder) {
    ChainOnly chain(folder);
    QElapsedTimer timer;
    timer.start();
    chain.Start(1);
    while (!chain.done) WaitForEvents();
    return timer.nsecsElapsed() / 1e9;
}

QStringList Names(const QString& listingPath) {
    QStringList names;
    QFile f(listingPath);
    if (!listingPath.isEmpty() && f.open(QIODevice::ReadOnly)) {
        LocationGetter getter;
        names = getter.Parse(f.readAll());
    }
    if (names.isEmpty())
        for (int i = 0; i < 5407; ++i)
            names << QStringLiteral("Station %1, Some Long Bay Name, Somewhere State").arg(i);
    return names;
}

double Search(App& app, const QStringList& names, const QString& text, int* found, double* refill) {
    app.locations = names;
    app.nlocations = int(names.size());
    QuorvexWindow w(QuorvexWindow::OpenMode::Deferred);
    QElapsedTimer fill;
    fill.start();
    w.SetupLocations();
    *refill = fill.nsecsElapsed() / 1e9;
    w.SearchField->setText(text);
    QElapsedTimer timer;
    timer.start();
    w.SearchField_KeyDown(QStringLiteral("\r"));
    const double seconds = timer.nsecsElapsed() / 1e9;
    *found = w.LocationList->count();
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_calendar XTIDE_FOLDER [LISTING]\n");
        return 2;
    }
    App app;
    app.xtideFolder = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir out;

    // One warm-up of each road, then the measured runs, alternated.
    RunDirect(app.xtideFolder);
    RunWindow(app, out.filePath(QStringLiteral("warmup.ics")));
    double window = 0, direct = 0, getters = 0;
    constexpr int kRounds = 5;
    for (int i = 0; i < kRounds; ++i) {
        const double d = RunDirect(app.xtideFolder);
        const double w = RunWindow(app, out.filePath(QStringLiteral("calendar.ics")));
        if (d < 0 || w < 0) {
            std::fprintf(stderr, "bench_calendar: a run failed (is %s an XTide folder?)\n",
                         argv[1]);
            return 1;
        }
        direct += d;
        window += w;
        getters += RunGetters(app.xtideFolder);
    }
    direct /= kRounds;
    window /= kRounds;
    getters /= kRounds;
    std::printf("12-month calendar through the window: %.3f s\n", window);
    std::printf("12 tide command lines run by bash:    %.3f s\n", direct);
    std::printf("the same through TideGetter alone:    %.3f s\n", getters);
    std::printf("ratio window / direct:                %.3f\n", window / direct);

    int found = 0;
    const QStringList names = Names(argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString());
    double refill = 0;
    const double search = Search(app, names, QStringLiteral("wash"), &found, &refill);
    std::printf("refill of the popup with %lld names:   %.4f s\n", (long long)names.size(), refill);
    std::printf("search over %lld names (%d found):     %.4f s\n", (long long)names.size(), found,
                search);
    return 0;
}
