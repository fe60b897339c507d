// How long the window's GUI thread stalls while the Leftovers section loads: the real window,
// offscreen, over a sandbox machine whose searched places hold many entries of programs that are
// gone. A 10 ms timer ticks on the GUI thread from the click on the section until the list has
// loaded; the longest gap between two ticks is the longest stall. Also when the first rows
// showed, against when the whole list did.
//
// Usage: bench_leftoverswindow [entries per place, default 1500] [runs, default 3]

#include "app/VerloApp.h"
#include "tests/support/Sandbox.h"
#include "viewmodel/ContentViewModel.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QQuickWindow>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

const char *const kPlaces[] = {
    ".config",  ".cache", ".local/share",   ".local/state",
    ".var/app", "snap",   "Library/Caches", "Library/Application Support",
};

constexpr double kGoalMs = 50;

struct Run
{
    double longestGapMs = 0;
    double longestGapEndMs = 0; // when the longest stall ended
    double firstRowsMs = -1;
    double loadedMs = 0;
    int rows = 0;
};

Run openSection(VerloApp &verlo)
{
    ContentViewModel &vm = verlo.viewModel();
    Run run;
    QElapsedTimer clock;
    qint64 lastTick = 0;
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if ((now - lastTick) / 1e6 > run.longestGapMs) {
            run.longestGapMs = (now - lastTick) / 1e6;
            run.longestGapEndMs = now / 1e6;
        }
        lastTick = now;
        if (run.firstRowsMs < 0 && vm.leftovers()->rowsModel()->count() > 0)
            run.firstRowsMs = now / 1e6;
    });
    clock.start();
    ticker.start();
    vm.selectSection(SidebarSection::leftovers);
    while (vm.hasPendingWork() || vm.isLoadingList())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    // The frame that shows the last rows is part of the load.
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    run.loadedMs = clock.nsecsElapsed() / 1e6;
    run.rows = vm.leftovers()->allCount();
    ticker.stop();
    return run;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    VerloApp::describeApplication();
    const int perPlace = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1500;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;

    Sandbox box;
    for (const char *place : kPlaces) {
        for (int i = 0; i < perPlace; ++i) {
            box.writeFileOfSize(
                box.homePath(QStringLiteral("%1/gone%2/data").arg(QLatin1String(place)).arg(i)),
                100 + i);
        }
    }

    double worstGap = 0;
    for (int i = 0; i < runs; ++i) {
        VerloApp verlo{FileScanner(box.places())};
        if (!verlo.start())
            return 1;
        verlo.window()->resize(1000, 700);
        while (verlo.viewModel().hasPendingWork())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const Run run = openSection(verlo);
        worstGap = std::max(worstGap, run.longestGapMs);
        std::printf("run %d: %d rows; first rows after %.0f ms, all after %.0f ms; longest GUI "
                    "stall %.1f ms, ending at %.0f ms\n",
                    i + 1, run.rows, run.firstRowsMs, run.loadedMs, run.longestGapMs,
                    run.longestGapEndMs);
    }
    std::printf("Leftovers section, %d entries per place: longest GUI stall %.1f ms (goal "
                "<= %.0f ms) %s\n",
                perPlace, worstGap, kGoalMs, worstGap <= kGoalMs ? "met" : "NOT MET");
    return worstGap <= kGoalMs ? 0 : 1;
}
