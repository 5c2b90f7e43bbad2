// bench_locations  The real 5407-station listing through LocationGetter, into the location popup
// (LocationPicker::SetupLocations) and through a search, with the longest time the event loop
// went without a turn meanwhile.
//
//   bench_locations [LISTING]
//
// LISTING is a saved listing file (default: the recorded one among the test fixtures). A `tide`
// in a temporary XTide folder prints it, so the listing runs through bash and the list file as
// in the application. Exits 1 when a gap exceeds 50 ms or the search takes 0.1 s or more.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <cstdio>

#include "BenchRun.h"
#include "calendar/LocationPicker.h"
#include "core/App.h"
#include "engine/LocationGetter.h"

namespace {

double Ms(const QElapsedTimer& t) { return t.nsecsElapsed() / 1e6; }

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QStandardPaths::setTestModeEnabled(true);
    QApplication qapp(argc, argv);
    const QString listing =
        argc > 1 ? QString::fromLocal8Bit(argv[1])
                 : QStringLiteral(QUORVEX_SOURCE_DIR "/tests/fixtures/xtide/listing-full.txt");
    if (!QFile::exists(listing)) {
        std::fprintf(stderr, "no listing file %s\n", qPrintable(listing));
        return 2;
    }

    QTemporaryDir xtide;
    {
        QFile tide(xtide.filePath(QStringLiteral("tide")));
        if (!tide.open(QIODevice::WriteOnly)) return 2;
        QByteArray quoted = QFile::encodeName(listing);
        quoted.replace('\'', "'\\''");
        tide.write("#!/bin/bash\ncat '" + quoted + "'\n");
        tide.close();
        tide.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    App app;
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* list = new QComboBox(&window);
    auto* search = new QLineEdit(&window);
    auto* label = new QLabel(&window);
    layout->addWidget(list);
    layout->addWidget(search);
    layout->addWidget(label);
    window.show();
    bool updating = false;
    LocationPicker picker(&window, list, search, label, updating);

    BenchRun::GapMeter gaps;  // started with a 0-ms timer: due at every turn
    QElapsedTimer t;

    // 1. The listing: child process, list file, parse.
    LocationGetter getter;
    QEventLoop loop;
    bool failed = false;
    QObject::connect(&getter, &LocationGetter::HaveLocations, &loop, &QEventLoop::quit);
    QObject::connect(&getter, &LocationGetter::Error, &loop, [&](const QString& m) {
        std::fprintf(stderr, "listing error: %s\n", qPrintable(m));
        failed = true;
    });
    gaps.Start(0);
    t.start();
    getter.GetLocations(xtide.path());
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    const double listingMs = Ms(t);
    const double listingGap = gaps.StopMs();
    if (failed || getter.locations.isEmpty()) return 2;

    // 2. Into the popup, a yield per name.
    app.locations = getter.locations;
    app.nlocations = getter.locations.size();
    gaps.Start(0);
    t.restart();
    picker.SetupLocations();
    const double setupMs = Ms(t);
    const double setupGap = gaps.StopMs();

    // 3. A search through the picker (Return in the search field), and the bare matching.
    search->setText(QStringLiteral("puerto"));
    gaps.Start(0);
    t.restart();
    picker.SearchField_KeyDown(QStringLiteral("\r"));
    const double searchMs = Ms(t);
    const double searchGap = gaps.StopMs();
    const int offered = list->count();
    t.restart();
    int matches = 0;
    for (const QString& name : app.locations)
        if (LocationPicker::Matches(name, QStringLiteral("puerto"))) ++matches;
    const double matchMs = Ms(t);

    std::printf("names listed:                 %d\n", int(getter.locations.size()));
    std::printf("listing (bash, file, parse):  %8.1f ms   longest gap %6.2f ms\n", listingMs,
                listingGap);
    std::printf("SetupLocations (popup fill):  %8.1f ms   longest gap %6.2f ms\n", setupMs,
                setupGap);
    std::printf("search \"puerto\" in picker:    %8.1f ms   longest gap %6.2f ms   (%d offered)\n",
                searchMs, searchGap, offered);
    std::printf("matching alone, 5407 names:   %8.2f ms   (%d matches)\n", matchMs, matches);

    const double worstGap = std::max({listingGap, setupGap, searchGap});
    const bool live = worstGap <= 50.0;
    const bool fastSearch = searchMs < 100.0 && matchMs < 100.0;
    std::printf("window live (no gap > 50 ms): %s\n", live ? "yes" : "NO");
    std::printf("search under 0.1 s:           %s\n", fastSearch ? "yes" : "NO");
    return live && fastSearch ? 0 : 1;
}
