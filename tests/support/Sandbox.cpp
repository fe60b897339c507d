#include "tests/support/Sandbox.h"

#include "model/ShellQuoting.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// A new empty folder under the temporary folder, left for the Sandbox to remove.
QString newTemporaryFolder()
{
    QTemporaryDir dir;
    dir.setAutoRemove(false);
    return dir.isValid() ? dir.path() : QString();
}

} // namespace

Sandbox::Sandbox() : MachineFolder(newTemporaryFolder())
{
    m_savedHome = qgetenv("HOME");
    m_hadXdgDataHome = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    m_savedXdgDataHome = qgetenv("XDG_DATA_HOME");
    // Other users (the unprivileged test user) must be able to reach the tree.
    ::chmod(QFile::encodeName(base()).constData(), 0755);
    // Not the machine's home: what takes the home from HOME instead of the machine's places
    // leaves its files where a test misses them, and still never in the real home.
    qputenv("HOME", QFile::encodeName(makeDir(base() + QStringLiteral("/elsewhere"))));
    qunsetenv("XDG_DATA_HOME");
}

Sandbox::~Sandbox()
{
    qputenv("HOME", m_savedHome);
    if (m_hadXdgDataHome)
        qputenv("XDG_DATA_HOME", m_savedXdgDataHome);
    if (base().isEmpty())
        return;
    // Make everything removable again, whatever a test did to permissions.
    QProcess::execute(QStringLiteral("chmod"),
                      {QStringLiteral("-R"), QStringLiteral("u+rwx"), base()});
    // rm, not QDir: a name that is not valid UTF-8 would stay behind, and its folders with it.
    QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), QStringLiteral("--"), base()});
}

int runAsUnprivileged(const QString &commandLine, QByteArray *output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (::geteuid() == 0) {
        // 65534 is "nobody" on Debian; --clear-groups drops root's supplementary groups.
        process.start(QStringLiteral("setpriv"),
                      {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                       QStringLiteral("--clear-groups"), QStringLiteral("/bin/sh"),
                       QStringLiteral("-c"), commandLine});
    } else {
        process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), commandLine});
    }
    process.waitForFinished(-1);
    if (output)
        *output = process.readAll();
    if (process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}

int runTestFunctionAsUnprivileged(const QString &testFunction,
                                  const QMap<QString, QString> &environment, QByteArray *output)
{
    QString commandLine = QStringLiteral("env VERLO_UNPRIVILEGED_CHILD=1");
    for (auto it = environment.constBegin(); it != environment.constEnd(); ++it)
        commandLine += QLatin1Char(' ') + shellQuoted(it.key() + QLatin1Char('=') + it.value());
    commandLine += QLatin1Char(' ') + shellQuoted(QCoreApplication::applicationFilePath()) +
                   QLatin1Char(' ') + shellQuoted(testFunction);
    return runAsUnprivileged(commandLine, output);
}

bool isUnprivilegedChild()
{
    return qEnvironmentVariableIsSet("VERLO_UNPRIVILEGED_CHILD");
}
