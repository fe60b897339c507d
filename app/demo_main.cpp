// verlo-demo: the real window over the sample machine built by demo/ (see scripts/demo.sh).
// The machine's home and system root come from VERLO_DEMO_HOME and VERLO_DEMO_ROOT, so Verlo
// itself keeps no command line and no configuration.

#include "app/DemoMachine.h"
#include "app/VerloApp.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    const std::optional<Places> machine = DemoMachine::fromEnvironment();
    if (!machine) {
        std::fprintf(stderr, "verlo-demo: set VERLO_DEMO_HOME and VERLO_DEMO_ROOT to the sample "
                             "machine's home and root folders (scripts/demo.sh does)\n");
        return 2;
    }
    // The Trash, the tools' HOME and "Open Trash" follow the machine's places; the settings too.
    DemoMachine::keepSettingsOn(*machine);

    QGuiApplication app(argc, argv);
    VerloApp::describeApplication();

    VerloApp verlo{FileScanner(*machine)};
    if (!verlo.start())
        return 1;
    return app.exec();
}
