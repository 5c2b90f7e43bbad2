// BenchRun  What the run benchmarks share: their options, the direct tide runs they are measured
// against, waiting on the event loop, the longest time without a turn of the event loop, the
// process's resident memory and a message catcher that keeps dialogs from blocking a benchmark.
//
// A run through a window is compared with the floor of its cost: the same tide command lines run
// one after another by bash, each waited for. The two are measured alternately in one process,
// and the best of several rounds of each is kept, so that a busy machine shows in both alike.
#pragma once

#include <sys/resource.h>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QProcess>
#include <QStringList>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

#include "calendar/YearList.h"
#include "engine/TideCommand.h"
#include "platform/Dialogs.h"

namespace BenchRun {

struct Options {
    QString folder;  // the XTide folder
    QString location = QStringLiteral("Seattle, Puget Sound, Washington");
    int firstYear = 2026;  // the period starts in January of this year
    int months = 24;
    int rounds = 7;
    double tideMs = 0;  // > 0: the stand-in waits this long in every run (QUORVEX_STANDIN_FAIL)
    bool windowOnly = false;  // only the rounds through the window, for a profiler
    bool replace = false;     // every round writes over the files of the round before
    QStringList rest;         // further positional arguments
};

inline void Usage(const char* program, const char* extra) {
    std::fprintf(stderr,
                 "usage: %s XTIDE_FOLDER [--months N] [--rounds N] [--tide-ms MS] [--year YYYY]\n"
                 "       [--location NAME] [--window-only] [--replace]%s\n",
                 program, extra);
}

// False (after the usage text) when the arguments cannot be read.
inline bool Parse(int argc, char** argv, Options* o, const char* extra = "") {
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        const bool hasValue = i + 1 < argc;
        auto number = [&](double* out) {
            if (!hasValue) return false;
            bool ok = false;
            *out = QString::fromLocal8Bit(argv[++i]).toDouble(&ok);
            return ok;
        };
        double value = 0;
        if (a == QLatin1String("--months") && number(&value) && value >= 1) {
            o->months = int(value);
        } else if (a == QLatin1String("--rounds") && number(&value) && value >= 1) {
            o->rounds = int(value);
        } else if (a == QLatin1String("--tide-ms") && number(&value) && value >= 0) {
            o->tideMs = value;
        } else if (a == QLatin1String("--year") && number(&value) && value >= 1) {
            o->firstYear = int(value);
        } else if (a == QLatin1String("--window-only")) {
            o->windowOnly = true;
        } else if (a == QLatin1String("--replace")) {
            o->replace = true;
        } else if (a == QLatin1String("--location") && hasValue) {
            o->location = QString::fromLocal8Bit(argv[++i]);
        } else if (a.startsWith(QLatin1String("--"))) {
            Usage(argv[0], extra);
            return false;
        } else if (o->folder.isEmpty()) {
            o->folder = a;
        } else {
            o->rest << a;
        }
    }
    if (o->folder.isEmpty()) {
        Usage(argv[0], extra);
        return false;
    }
    // The stand-in reads its failure switches from the environment it inherits; the real tide
    // ignores them.
    if (o->tideMs > 0)
        qputenv("QUORVEX_STANDIN_FAIL", "sleep:" + QByteArray::number(o->tideMs / 1000.0, 'f', 4));
    return true;
}

// The output of the next run through the window: `pattern` with %1 replaced by a new number each
// time, or by 0 every time with --replace. New files are what a first run writes; replacing
// files costs what the file system charges for freeing their blocks (with the mount option
// "discard", a discard request waited for at every replaced file).
inline QString NextOutput(const Options& o, const QString& pattern) {
    static int round = 0;
    return pattern.arg(o.replace ? 0 : ++round);
}

// Month i (0-based) of the period.
inline int MonthOf(int i) { return i % 12 + 1; }
inline int YearOf(const Options& o, int i) { return o.firstYear + i / 12; }

// Blocks until events arrive and handles them. (QCoreApplication::processEvents with a time limit
// drops WaitForMoreEvents and would spin, taking the CPU from the child processes measured.)
inline void WaitForEvents() {
    QCoreApplication::eventDispatcher()->processEvents(QEventLoop::WaitForMoreEvents);
}

// Handles events for `ms` milliseconds without spinning.
inline void Settle(int ms) {
    bool over = false;
    QTimer::singleShot(ms, [&over] { over = true; });
    while (!over) WaitForEvents();
}

// CPU time this process has used, user and system, in ms (its child processes not counted).
inline double CpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// What a timed run records besides its wall time.
struct Timing {
    double cpuMs = 0;            // this process's CPU time during the run
    std::vector<double> months;  // ms from the end of one month to the end of the next
};

// The period's tide command lines run one after another by bash, each waited for: milliseconds,
// or -1 when they printed nothing. A month ends when its command line has been read.
inline double DirectMs(const Options& o, Timing* timing = nullptr) {
    const double cpuBefore = CpuMs();
    QElapsedTimer timer;
    timer.start();
    qint64 bytes = 0;
    qint64 lastEnd = -1;
    for (int i = 0; i < o.months; ++i) {
        QProcess bash;
        bash.start(QStringLiteral("/bin/bash"),
                   {QStringLiteral("-c"),
                    TideCommand::Build(o.folder, o.location, MonthOf(i), YearOf(o, i))});
        bash.waitForFinished(-1);
        bytes += bash.readAllStandardOutput().size() + bash.readAllStandardError().size();
        const qint64 end = timer.nsecsElapsed();
        if (timing && lastEnd >= 0) timing->months.push_back((end - lastEnd) / 1e6);
        lastEnd = end;
    }
    if (timing) timing->cpuMs = CpuMs() - cpuBefore;
    return bytes > 0 ? timer.nsecsElapsed() / 1e6 : -1;
}

// Resident memory of this process in kB (0 where /proc is missing).
inline long RssKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return std::atol(line.mid(6).trimmed().constData());
    return 0;
}

// Records the longest interval between two turns of the event loop that handled input, by a timer
// that is due every millisecond, as input arriving at any moment would be. It adds a turn of the
// loop every millisecond, so it runs only outside the timed rounds.
class GapMeter : public QObject {
  public:
    GapMeter() {
        timer.setTimerType(Qt::PreciseTimer);
        connect(&timer, &QTimer::timeout, this, [this] {
            const qint64 now = clock.nsecsElapsed();
            if (last >= 0 && now - last > longest) longest = now - last;
            last = now;
        });
    }
    // `intervalMs` 0 has the timer due at every turn of the loop instead.
    void Start(int intervalMs = 1) {
        longest = 0;
        last = -1;
        clock.start();
        timer.start(intervalMs);
    }
    double StopMs() {
        timer.stop();
        return longest / 1e6;
    }

  private:
    QTimer timer;
    QElapsedTimer clock;
    qint64 last = -1;
    qint64 longest = 0;
};

// What an untimed run records besides its time.
struct Probe {
    GapMeter* gaps = nullptr;  // measures the event-loop gaps of the run
    long rssFirst = 0;         // resident memory once the first month is handled
    long rssLast = 0;          // and once the last one is
    double gapMs = 0;          // the longest gap
};

// Handles events until the window's run has ended (or the window is gone). The status line
// changes once a month, when the month has been handled and the next one started: with a probe,
// takes the resident memory then, and measures the gaps; with `months`, records the time from
// one change to the next.
template <class Window>
void WaitForRun(const QPointer<Window>& w, Probe* probe, std::vector<double>* months) {
    QString shown;
    QElapsedTimer clock;
    clock.start();
    qint64 lastChange = -1;
    while (w && w->IsRunning()) {
        WaitForEvents();
        if (!w || w->Status->text() == shown) continue;
        shown = w->Status->text();
        const qint64 now = clock.nsecsElapsed();
        if (months && lastChange >= 0) months->push_back((now - lastChange) / 1e6);
        lastChange = now;
        if (probe) {
            probe->rssLast = RssKb();
            if (!probe->rssFirst) probe->rssFirst = probe->rssLast;
        }
    }
    if (probe) probe->gapMs = probe->gaps->StopMs();
}

// Answers every dialog as cancelled and keeps the texts of the message boxes.
class MessageCatcher : public Dialogs::Backend {
  public:
    MessageCatcher() { Dialogs::SetBackend(this); }
    ~MessageCatcher() override { Dialogs::SetBackend(nullptr); }
    QString Run(const DialogRequest& request, QWidget*) override {
        if (request.kind == DialogRequest::Kind::Message) messages << request.message;
        return QString();
    }
    QStringList messages;
};

// Sets the location and the period of a run window (both windows have the same controls):
// `o.months` months from January of `o.firstYear`.
template <class Window>
void SetPeriod(Window* w, const Options& o) {
    const int last = o.months - 1;
    w->Location->setText(o.location);
    w->FirstMonth->setCurrentIndex(0);
    w->FirstYear->setCurrentIndex(YearList::IndexOf(o.firstYear, w->FirstYear));
    w->LastMonth->setCurrentIndex(MonthOf(last) - 1);
    w->LastYear->setCurrentIndex(YearList::IndexOf(YearOf(o, last), w->LastYear));
}

// Times the run that `start` begins in `w`, whose controls are set, and deletes the window:
// milliseconds, or -1 when the run did not end in "Done" or showed a message (printed). The
// window first lays itself out and paints: that is start-up, not the run.
template <class Window, class Start>
double TimeRun(const QPointer<Window>& w, const MessageCatcher& messages, Start start, Probe* probe,
               Timing* timing) {
    Settle(200);
    const double cpuBefore = CpuMs();
    QElapsedTimer timer;
    timer.start();
    if (probe) probe->gaps->Start();
    start();
    WaitForRun(w, probe, timing ? &timing->months : nullptr);
    const double ms = timer.nsecsElapsed() / 1e6;
    if (timing) timing->cpuMs = CpuMs() - cpuBefore;
    const bool done = w && w->Status->text() == QStringLiteral("Done");
    for (const QString& m : messages.messages) std::fprintf(stderr, "message: %s\n", qPrintable(m));
    delete w;
    return done && messages.messages.isEmpty() ? ms : -1;
}

// Best (lowest) times of the alternated rounds.
struct Best {
    double window = std::numeric_limits<double>::max();
    double direct = std::numeric_limits<double>::max();
    double windowCpu = std::numeric_limits<double>::max();  // this process's CPU time in each
    double directCpu = std::numeric_limits<double>::max();
    void Add(double w, double d, double wCpu, double dCpu) {
        window = std::min(window, w);
        direct = std::min(direct, d);
        windowCpu = std::min(windowCpu, wCpu);
        directCpu = std::min(directCpu, dCpu);
    }
};

// The median of `values` (0 when empty).
inline double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    const auto middle = values.begin() + values.size() / 2;
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// The measured rounds of a run benchmark: one warm-up of each road, then `o.rounds` rounds of
// the direct tide runs and `runWindow(probe, timing)` alternated (`eachRound` after each), then one
// untimed window run with a probe. False, with a message, when a run failed.
struct Rounds {
    Best best;
    // The months of every round, from the end of one to the end of the next: their medians leave
    // out the moments a busy machine took from a few of them, which a whole run cannot.
    std::vector<double> windowMonths, directMonths;
    long rssRunsFirst = 0;  // resident memory after the warm-up and after the last round
    long rssRunsLast = 0;
    Probe probe;
};
template <class RunWindow, class EachRound>
bool RunRounds(const char* program, const Options& o, RunWindow runWindow, EachRound eachRound,
               Rounds* out) {
    DirectMs(o);
    if (runWindow(nullptr, nullptr) < 0) {
        std::fprintf(stderr, "%s: a run failed (is %s an XTide folder?)\n", program,
                     qPrintable(o.folder));
        return false;
    }
    out->rssRunsFirst = RssKb();
    for (int i = 0; i < o.rounds; ++i) {
        Timing direct, window;
        const double d = DirectMs(o, &direct);
        const double w = runWindow(nullptr, &window);
        if (d < 0 || w < 0) {
            std::fprintf(stderr, "%s: a run failed\n", program);
            return false;
        }
        out->best.Add(w, d, window.cpuMs, direct.cpuMs);
        out->windowMonths.insert(out->windowMonths.end(), window.months.begin(),
                                 window.months.end());
        out->directMonths.insert(out->directMonths.end(), direct.months.begin(),
                                 direct.months.end());
        eachRound();
    }
    out->rssRunsLast = RssKb();
    GapMeter gaps;
    out->probe.gaps = &gaps;
    runWindow(&out->probe, nullptr);
    out->probe.gaps = nullptr;
    return true;
}

inline void Report(const char* what, const Options& o, const Rounds& r) {
    const Best& best = r.best;
    const char* platform = qgetenv("QT_QPA_PLATFORM").isEmpty()
                               ? "default platform"
                               : qgetenv("QT_QPA_PLATFORM").constData();
    std::printf("%s, %d months of %s, best of %d (%s)\n", what, o.months, qPrintable(o.location),
                o.rounds, platform);
    if (o.tideMs > 0) std::printf("  the stand-in waits %.1f ms in every tide run\n", o.tideMs);
    std::printf("  through the window:        %9.1f ms\n", best.window);
    std::printf("  tide command lines by bash:%9.1f ms   (%.2f ms a month)\n", best.direct,
                best.direct / o.months);
    std::printf("  ratio window / direct:     %9.3f\n", best.window / best.direct);
    std::printf("  window's own cost:         %9.2f ms a month\n",
                (best.window - best.direct) / o.months);
    const double windowMonth = Median(r.windowMonths);
    const double directMonth = Median(r.directMonths);
    if (directMonth > 0)
        std::printf(
            "  median month:              %9.2f ms through the window, %.2f directly:"
            " ratio %.3f (%zu months each)\n",
            windowMonth, directMonth, windowMonth / directMonth, r.windowMonths.size());
    std::printf("  this process's CPU time:   %9.2f ms a month through the window, %.2f directly\n",
                best.windowCpu / o.months, best.directCpu / o.months);
    std::printf("  longest event-loop gap:    %9.2f ms   (in an untimed run)\n", r.probe.gapMs);
    std::printf(
        "  resident memory:           %ld kB after the first month, %ld kB after the last\n",
        r.probe.rssFirst, r.probe.rssLast);
    std::printf("                             %ld kB after the first run, %ld kB after the last\n",
                r.rssRunsFirst, r.rssRunsLast);
}

}  // namespace BenchRun
