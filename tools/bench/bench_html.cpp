// bench_html  Wall time of an HTML tide table generation through the generator window (a page a
// month, the index on the clipboard, "csv-version.txt" and "output-scrap.html") against the time
// of the same tide command lines run one after another by bash, best of several alternated
// rounds.
//
//   bench_html XTIDE_FOLDER [--months N] [--rounds N] [--tide-ms MS] [--year YYYY]
//              [--location NAME] [--window-only] [--replace]
//
// The options are those of bench_calendar. Every round writes into a new folder; --replace has
// each write over the last round's pages.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>

#include "BenchRun.h"
#include "calendar/YearList.h"
#include "core/App.h"
#include "htmltables/GenerateHTML.h"

namespace {

using BenchRun::Options;
using BenchRun::Probe;

// One generation through a new window; milliseconds, or -1 when it did not end in "Done".
double RunWindow(const Options& o, const QString& folder, Probe* probe = nullptr,
                 BenchRun::Timing* timing = nullptr) {
    BenchRun::MessageCatcher messages;
    QPointer<GenerateHTML> w = new GenerateHTML();
    BenchRun::SetPeriod(w.data(), o);
    w->DaylightMarginMenu->setCurrentText(QStringLiteral("1 hour"));
    w->MaximumHeightMenu->setCurrentText(QStringLiteral("3 ft"));
    w->AlsoGenCSV->setChecked(true);
    w->OutputPath->setText(folder);
    return BenchRun::TimeRun(
        w, messages, [&w] { w->GenerateButton_Action(); }, probe, timing);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    Options o;
    if (!BenchRun::Parse(argc, argv, &o)) return 2;
    App app;
    app.xtideFolder = o.folder;
    QTemporaryDir out;
    const QString tables = QDir(out.path()).filePath(QStringLiteral("tables-%1"));

    if (o.windowOnly) {
        for (int i = 0; i < o.rounds; ++i)
            if (RunWindow(o, BenchRun::NextOutput(o, tables)) < 0) return 1;
        return 0;
    }

    BenchRun::Rounds rounds;
    const auto run = [&](Probe* probe, BenchRun::Timing* timing) {
        return RunWindow(o, BenchRun::NextOutput(o, tables), probe, timing);
    };
    if (!BenchRun::RunRounds(
            "bench_html", o, run, [] {}, &rounds))
        return 1;
    BenchRun::Report("HTML tide tables", o, rounds);
    return 0;
}
