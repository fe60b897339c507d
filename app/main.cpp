#include "app/CommandLine.h"
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

    VerloApp verlo;
    if (!verlo.start())
        return 1;
    return app.exec();
}
