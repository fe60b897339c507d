// verlo-screenshots: opens the real window over the sample machine (VERLO_DEMO_HOME,
// VERLO_DEMO_ROOT, as for verlo-demo) and saves one PNG per section into the folder given on
// the command line. Meant for the offscreen platform with the software renderer
// (scripts/screenshots.sh sets both). It changes nothing on the machine: no removal is confirmed.
// With VERLO_SCREENSHOT_XDG_BASE set, the XDG folders of the home (.config, .cache, .local/share,
// .local/state) are looked for under that folder instead: the script mounts the same home there
// too, so that the rows of Linux places read a Linux home and the others a macOS one.

#include "app/DemoMachine.h"
#include "app/VerloApp.h"
#include "viewmodel/ContentViewModel.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QMap>
#include <QMouseEvent>
#include <QQmlContext>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickWindow>
#include <QThread>

#include <cstdio>

namespace {

// Lets the window settle: worker results arrive, images load, animations move on.
void settle(const ContentViewModel &viewModel, int extraMilliseconds = 400)
{
    QDeadlineTimer deadline(60000);
    while (viewModel.hasPendingWork() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
    QDeadlineTimer pause(extraMilliseconds);
    while (!pause.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
}

bool save(QQuickWindow *window, const QString &folder, const QString &name)
{
    // The pointer rests on an empty part of the header, so no control shows its hover state.
    const QPointF rest(window->width() * 0.7, 8);
    QMouseEvent move(QEvent::MouseMove, rest, rest, window->mapToGlobal(rest), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &move);
    QDeadlineTimer pause(150);
    while (!pause.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    const QImage image = window->grabWindow();
    const QString path = folder + QLatin1Char('/') + name;
    if (image.isNull() || !image.save(path)) {
        std::fprintf(stderr, "verlo-screenshots: could not save %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

QString groupId(const ContentViewModel &viewModel, FileCategory category)
{
    for (const FileGroup &group : viewModel.fileGroups()) {
        if (group.category == category)
            return group.id.toString(QUuid::WithoutBraces);
    }
    return {};
}

QQuickItem *findItem(QQuickItem *root, const QString &name)
{
    if (!root || root->objectName() == name)
        return root;
    const QList<QQuickItem *> children = root->childItems();
    for (QQuickItem *child : children) {
        if (QQuickItem *found = findItem(child, name))
            return found;
    }
    return nullptr;
}

} // namespace

int main(int argc, char *argv[])
{
    const std::optional<Places> machine = DemoMachine::fromEnvironment();
    if (argc != 2 || !machine) {
        std::fprintf(stderr, "usage: VERLO_DEMO_HOME=... VERLO_DEMO_ROOT=... verlo-screenshots "
                             "<output folder>\n");
        return 2;
    }
    const QString home = machine->home();
    const QString root = machine->root();
    // A fresh divider position every time, whatever an earlier demo saved.
    DemoMachine::keepSettingsIn(machine->configHome());

    QGuiApplication app(argc, argv);
    VerloApp::describeApplication();
    const QString output = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(output);

    QMap<QString, QString> xdg;
    if (const QString base = qEnvironmentVariable("VERLO_SCREENSHOT_XDG_BASE"); !base.isEmpty()) {
        xdg = {{QStringLiteral("XDG_CONFIG_HOME"), base + QStringLiteral("/.config")},
               {QStringLiteral("XDG_CACHE_HOME"), base + QStringLiteral("/.cache")},
               {QStringLiteral("XDG_DATA_HOME"), base + QStringLiteral("/.local/share")},
               {QStringLiteral("XDG_STATE_HOME"), base + QStringLiteral("/.local/state")}};
    }
    VerloApp verlo(FileScanner(Places(home, root, xdg)));
    if (!verlo.start())
        return 1;
    QQuickWindow *window = verlo.window();
    ContentViewModel &vm = verlo.viewModel();
    // A little larger than the first window, with the divider dragged a bit to the right, as
    // someone who uses the program would have it.
    window->resize(1080, 660);
    if (QQuickItem *sidebar = findItem(window->contentItem(), QStringLiteral("sidebar"))) {
        QQmlProperty preferred(sidebar, QStringLiteral("SplitView.preferredWidth"),
                               qmlContext(sidebar));
        preferred.write(320);
    }
    settle(vm);

    bool ok = true;
    const QString applications = root + QStringLiteral("/Applications/");

    // Applications: an application with its leftovers, the caches and logs ticked.
    vm.selectApplication(applications + QStringLiteral("Chroma Studio.app"));
    settle(vm);
    vm.setGroupSelection(groupId(vm, FileCategory::caches), true);
    vm.setGroupSelection(groupId(vm, FileCategory::libraryLogs), true);
    vm.setSortBySize(true);
    settle(vm);
    ok = save(window, output, QStringLiteral("applications.png")) && ok;
    vm.setSortBySize(false);

    // npm: a package, everything ticked from the start.
    vm.selectSection(SidebarSection::npm);
    settle(vm);
    vm.selectNPMPackage(QStringLiteral("prettier"));
    settle(vm);
    ok = save(window, output, QStringLiteral("npm.png")) && ok;

    // Homebrew: a formula with its Cellar, caches and data, sorted by size.
    vm.selectSection(SidebarSection::homebrew);
    settle(vm);
    vm.selectHomebrewPackage(QStringLiteral("postgresql@16"), QStringLiteral("Formula"));
    settle(vm);
    ok = save(window, output, QStringLiteral("homebrew.png")) && ok;

    // The confirmation of that removal.
    vm.setShowDeleteConfirmation(true);
    settle(vm);
    ok = save(window, output, QStringLiteral("confirm.png")) && ok;
    vm.setShowDeleteConfirmation(false);
    settle(vm);

    // System Data: the measured categories and one opened.
    vm.selectSection(SidebarSection::systemData);
    settle(vm);
    vm.selectSystemCategory(FileCategory::systemCaches);
    settle(vm);
    ok = save(window, output, QStringLiteral("system-data.png")) && ok;

    // The largest folders no category names, a project opened down to its own largest entries.
    vm.selectSystemCategory(FileCategory::largeFolders);
    settle(vm);
    vm.openFolder(home + QStringLiteral("/Projects"));
    settle(vm);
    vm.openFolder(home + QStringLiteral("/Projects/website"));
    settle(vm);
    ok = save(window, output, QStringLiteral("large-folders.png")) && ok;

    // Leftovers: what removed programs left, certain rows first, one opened.
    vm.selectSection(SidebarSection::leftovers);
    settle(vm);
    vm.selectLeftover(QStringLiteral("tessera"));
    settle(vm);
    ok = save(window, output, QStringLiteral("leftovers.png")) && ok;

    return ok ? 0 : 1;
}
