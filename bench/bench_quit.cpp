// How long closing the window takes in the middle of a System Data scan of a large tree: the view
// model is built over a sandbox machine whose caches folder links to a large tree, the scan is
// started and given 100 ms to get going, then the view model is destroyed, as quitting does. The
// destruction must return within a second, whatever is left of the walk.
//
// Usage: bench_quit TREE [runs, default 5]   (TREE: a large folder, e.g. bench/make_tree.py's)

#include "tests/support/Sandbox.h"
#include "viewmodel/ContentViewModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <memory>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_quit TREE [runs]\n");
        return 2;
    }
    const QString tree = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    Sandbox box;
    // The tree is one large cache folder of the machine (a link below the top is not followed,
    // so the caches folder itself links to it).
    box.makeDir(box.homePath("Library"));
    box.makeSymlink(tree, box.homePath("Library/Caches"));

    QList<double> closes;
    int stillScanning = 0;
    for (int run = 0; run < runs; ++run) {
        auto vm = std::make_unique<ContentViewModel>(FileScanner(box.places()));
        vm->selectSection(SidebarSection::systemData);
        QElapsedTimer started;
        started.start();
        while (started.elapsed() < 100) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(5);
        }
        stillScanning += vm->isScanning() ? 1 : 0;
        QElapsedTimer closing;
        closing.start();
        vm.reset();
        closes.append(closing.nsecsElapsed() / 1e6);
    }
    std::sort(closes.begin(), closes.end());
    const double median = closes.at(closes.size() / 2);
    const double worst = closes.last();
    std::printf("quit during a System Data scan: median %.1f ms, worst %.1f ms over %d runs "
                "(%d of them still scanning when closed)\n",
                median, worst, runs, stillScanning);
    if (stillScanning == 0)
        std::printf("the tree is too small: every scan had ended before the close\n");
    return worst < 1000.0 ? 0 : 1;
}
