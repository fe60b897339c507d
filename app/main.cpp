#include "app/CommandLine.h"
#include "app/StopSignals.h"
#include "app/VerloApp.h"

#include <QGuiApplication>

int main(int argc, char *argv[])
{
    if (const std::optional<int> status = CommandLine::answerWithoutWindow(argc, argv))
        return *status;

    QGuiApplication app(argc, argv);
    if (const int status = CommandLine::checkWindowArguments(QGuiApplication::arguments()))
        return status;
    VerloApp::describeApplication();
    // A stop signal closes the window as the user would: a running removal ends its item first.
    StopSignals::quitOnStopSignals();

    VerloApp verlo;
    if (!verlo.start())
        return 1;
    return app.exec();
}
