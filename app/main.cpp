#include "app/VerloApp.h"

#include <QGuiApplication>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    VerloApp::describeApplication();

    VerloApp verlo;
    if (!verlo.start())
        return 1;
    return app.exec();
}
