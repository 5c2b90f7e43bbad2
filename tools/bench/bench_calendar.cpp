// bench_calendar  Wall time of an iCal calendar run through the calendar window (sun, moon and
// phases on) against the time of the same tide command lines run one after another by bash, best
// of several alternated rounds; then one location search.
//
//   bench_calendar XTIDE_FOLDER [--months N] [--rounds N] [--tide-ms MS] [--year YYYY]
//                  [--location NAME] [--window-only] [--replace] [LISTING]
//
// XTIDE_FOLDER holds `tide` and harmonics.tcd (tools/xtide-folder --sample lays one out with the
// stand-in and the sample months of 2026 and 2027). The period is N months (24) from January of
// YYYY (2026). --tide-ms makes every run of the stand-in last that much longer, as a real tide
// run does. LISTING, a saved location listing, gives the names the search runs over (by default
// 5407 made-up names). --window-only runs only the rounds through the window, for a profiler.
// Every round writes a new calendar file; --replace has each write over the last one.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>

#include "BenchRun.h"
#include "calendar/QuorvexWindow.h"
#include "calendar/YearList.h"
#include "core/App.h"
#include "engine/LocationGetter.h"
#include "engine/TideCommand.h"
#include "engine/TideGetter.h"
#include "engine/TideReceiver.h"

namespace {

using BenchRun::Options;
using BenchRun::Probe;

// One calendar through a new window; milliseconds, or -1 when the run did not end in "Done".
double RunWindow(const Options& o, const QString& outputPath, Probe* probe = nullptr,
                 BenchRun::Timing* timing = nullptr) {
    BenchRun::MessageCatcher messages;
    QPointer<QuorvexWindow> w = new QuorvexWindow(QuorvexWindow::OpenMode::Deferred);
    BenchRun::SetPeriod(w.data(), o);
    w->SunriseSunset->setChecked(true);
    w->MoonriseMoonset->setChecked(true);
    w->ShowMoonPhases->setChecked(true);
    w->OutputFormat->setCurrentIndex(0);  // iCal
    w->OutputPath->setText(outputPath);
    return BenchRun::TimeRun(
        w, messages, [&w] { w->ComputeButton_Action(); }, probe, timing);
}

// The months through TideGetter alone, each next month started from the last one's completion.
class ChainOnly : public QObject, public TideReceiver {
  public:
    explicit ChainOnly(const Options& o) : o(o) {}
    void Start(int i) {
        index = i;
        if (getter) getter->deleteLater();
        getter = new TideGetter(this);
        getter->SetReportTo(this);
        getter->Execute(TideCommand::Build(o.folder, o.location, BenchRun::MonthOf(index),
                                           BenchRun::YearOf(o, index)));
    }
    void Completed() override {
        bytes += getter->ReadAll().size();
        if (index + 1 < o.months)
            Start(index + 1);
        else
            done = true;
    }
    const Options& o;
    QPointer<TideGetter> getter;
    int index = 0;
    qint64 bytes = 0;
    bool done = false;
};

double RunGetters(const Options& o) {
    ChainOnly chain(o);
    QElapsedTimer timer;
    timer.start();
    chain.Start(0);
    while (!chain.done) BenchRun::WaitForEvents();
    return timer.nsecsElapsed() / 1e6;
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
    Options o;
    if (!BenchRun::Parse(argc, argv, &o, " [LISTING]")) return 2;
    App app;
    app.xtideFolder = o.folder;
    QTemporaryDir out;
    const QString ics = out.filePath(QStringLiteral("calendar-%1.ics"));

    if (o.windowOnly) {
        for (int i = 0; i < o.rounds; ++i)
            if (RunWindow(o, BenchRun::NextOutput(o, ics)) < 0) return 1;
        return 0;
    }

    BenchRun::Rounds rounds;
    double getters = 1e300;
    const auto run = [&](Probe* probe, BenchRun::Timing* timing) {
        return RunWindow(o, BenchRun::NextOutput(o, ics), probe, timing);
    };
    const auto eachRound = [&] { getters = std::min(getters, RunGetters(o)); };
    if (!BenchRun::RunRounds("bench_calendar", o, run, eachRound, &rounds)) return 1;
    BenchRun::Report("iCal calendar", o, rounds);
    std::printf("  the same through TideGetter alone: %.1f ms\n", getters);

    int found = 0;
    const QStringList names = Names(o.rest.value(0));
    double refill = 0;
    const double search = Search(app, names, QStringLiteral("wash"), &found, &refill);
    std::printf("refill of the popup with %lld names:   %.4f s\n", (long long)names.size(), refill);
    std::printf("search over %lld names (%d found):     %.4f s\n", (long long)names.size(), found,
                search);
    return 0;
}
