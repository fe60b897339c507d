// verlo-demo: the real window over the sample machine built by demo/ (see scripts/demo.sh).
// The machine's home and system root come from VERLO_DEMO_HOME and VERLO_DEMO_ROOT, so Verlo
// itself keeps no command line and no configuration.

#include "app/VerloApp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    const QString home = qEnvironmentVariable("VERLO_DEMO_HOME");
    const QString root = qEnvironmentVariable("VERLO_DEMO_ROOT");
    if (home.isEmpty() || root.isEmpty() || !QFileInfo(home).isDir() || !QFileInfo(root).isDir()) {
        std::fprintf(stderr, "verlo-demo: set VERLO_DEMO_HOME and VERLO_DEMO_ROOT to the sample "
                             "machine's home and root folders (scripts/demo.sh does)\n");
        return 2;
    }
    // The Trash, the tools' HOME and "Open Trash" all follow HOME: keep them inside the machine.
    qputenv("HOME", QFile::encodeName(home));
    qunsetenv("XDG_DATA_HOME");

    QGuiApplication app(argc, argv);
    VerloApp::describeApplication();

    VerloApp verlo(FileScanner(Places(home, root)));
    if (!verlo.start())
        return 1;
    return app.exec();
}
