// The sample machine of the demo, the screenshots and the command line: named by two variables,
// seen through Places alone, with the program's settings kept on it.
#include "app/DemoMachine.h"
#include "tests/support/Sandbox.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class DemoMachineTest : public QObject
{
    Q_OBJECT

private slots:
    void fromEnvironment_namesTheMachineAndLeavesHomeAlone()
    {
        Sandbox box;
        const QByteArray home = qgetenv("HOME");
        // VERLO_DEMO_HOME, VERLO_DEMO_ROOT, and whether they name a machine.
        const QList<std::tuple<QString, QString, bool>> cases{
            {u""_s, box.root(), false},
            {box.home(), u""_s, false},
            {box.home(), box.systemPath(u"/missing"_s), false},
            {box.home(), box.root(), true}};
        for (const auto &[demoHome, demoRoot, named] : cases) {
            qputenv("VERLO_DEMO_HOME", QFile::encodeName(demoHome));
            qputenv("VERLO_DEMO_ROOT", QFile::encodeName(demoRoot));
            const std::optional<Places> machine = DemoMachine::fromEnvironment();
            QCOMPARE(machine.has_value(), named);
            if (named)
                QCOMPARE(QStringList({machine->home(), machine->root(), machine->dataHome()}),
                         QStringList({box.home(), box.root(), box.homePath(u".local/share"_s)}));
        }
        QCOMPARE(qgetenv("HOME"), home);
    }

    void keepSettingsOn_theMachineUnlessTheProgramNamesItsOwn()
    {
        Sandbox box;
        QTemporaryDir own;
        // The program's own places, and where its settings file goes.
        const QList<std::pair<Places, QString>> cases{
            {Places(u"/nonexistent"_s, u"/"_s, {{u"XDG_CONFIG_HOME"_s, own.path()}}), own.path()},
            {Places(u"/nonexistent"_s, u"/"_s), box.homePath(u".config"_s)}};
        for (const auto &[program, folder] : cases) {
            DemoMachine::keepSettingsOn(box.places(), program);
            QSettings settings;
            settings.setValue(u"Leftovers/kept"_s, QStringList{folder});
            settings.sync();
            QCOMPARE(settings.fileName(), folder + u"/Verlo/Verlo.conf"_s);
            QVERIFY(QFile::exists(settings.fileName()));
        }
    }

    void initTestCase()
    {
        QCoreApplication::setOrganizationName(u"Verlo"_s);
        QCoreApplication::setApplicationName(u"Verlo"_s);
    }
};

QTEST_GUILESS_MAIN(DemoMachineTest)
#include "tst_demomachine.moc"
