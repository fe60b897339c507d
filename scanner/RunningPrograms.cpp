#include "scanner/RunningPrograms.h"

#include "scanner/DesktopApplicationPlaces.h"
#include "scanner/ExecCommand.h"
#include "scanner/FileManager.h"
#include "scanner/Places.h"
#include "scanner/platform/ProcessList.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <unistd.h>

namespace {

constexpr qint64 kReadLimit = 64 * 1024;

QString fileName(const QString &path)
{
    return path.section(QLatin1Char('/'), -1);
}

// One /proc/<pid> folder, read lazily: each part once, only when a test asks for it.
class ProcessEntry
{
public:
    ProcessEntry(const FileManager &fileManager, QString folder)
        : m_fileManager(fileManager), m_folder(std::move(folder))
    {}

    // The "Uid:" line's real user id is this program's.
    bool isOurs() const
    {
        const QByteArray status = read("status");
        const qsizetype at = status.indexOf("\nUid:");
        if (at < 0)
            return false;
        const QByteArray ids = status.mid(at + 5, status.indexOf('\n', at + 5) - at - 5);
        bool ok = false;
        const uint uid = ids.simplified().split(' ').constFirst().toUInt(&ok);
        return ok && uid == ::getuid();
    }

    // The program file it runs; a file replaced since it started is named as it was.
    QString executable() const
    {
        QString path =
            m_fileManager.symbolicLinkTarget(m_folder + QStringLiteral("/exe")).value_or(QString());
        if (path.endsWith(QLatin1String(" (deleted)")))
            path.chop(10);
        return path;
    }

    QStringList arguments() const
    {
        QStringList list;
        for (const QByteArray &argument : read("cmdline").split('\0'))
            list.append(QFile::decodeName(argument));
        return list;
    }

    // The Flatpak application it runs in: systemd's scope "app-flatpak-<id>-<n>.scope", else the
    // id in the sandbox's /.flatpak-info.
    QString flatpakID() const
    {
        static const QRegularExpression scope(
            QStringLiteral("/app-flatpak-([A-Za-z0-9_.-]+)-[0-9]+\\.scope$"),
            QRegularExpression::MultilineOption);
        const QRegularExpressionMatch match = scope.match(QString::fromUtf8(read("cgroup")));
        if (match.hasMatch())
            return match.captured(1);
        const QByteArray info = read("root/.flatpak-info");
        static const QRegularExpression name(QStringLiteral("^\\[Application\\]\\s*\\nname=(\\S+)"),
                                             QRegularExpression::MultilineOption);
        return name.match(QString::fromUtf8(info)).captured(1);
    }

    // The Snap it belongs to: its control group "snap.<name>.<app>...".
    QString snapName() const
    {
        static const QRegularExpression group(QStringLiteral("/snap\\.([a-z0-9-]+)\\.[^/\\n]*$"),
                                              QRegularExpression::MultilineOption);
        return group.match(QString::fromUtf8(read("cgroup"))).captured(1);
    }

private:
    QByteArray read(const char *part) const
    {
        return m_fileManager.readFile(m_folder + u'/' + QLatin1String(part), kReadLimit)
            .value_or(QByteArray());
    }

    const FileManager &m_fileManager;
    QString m_folder;
};

// The places of the desktop entry's program when Exec gives its path: as written and, when that
// is a link, the file it leads to (what the process's exe names). Empty for a name.
QStringList programPaths(const Places &places, const AppInfo &app)
{
    if (!app.execPath.startsWith(u'/'))
        return {};
    const QString program = machinePath(places, app.execPath);
    const QString target = QFileInfo(program).canonicalFilePath();
    return target.isEmpty() || target == program ? QStringList{program}
                                                 : QStringList{program, target};
}

// Whether a desktop entry's program is what the process runs: the program file itself, or the
// script an interpreter was given; by its places when known, else by name.
bool runsProgram(const ProcessEntry &process, const QStringList &programs, const QString &name)
{
    const QString executable = process.executable();
    if (executable.isEmpty())
        return false;
    const QStringList arguments = process.arguments();
    QStringList candidates{executable, arguments.value(0)};
    if (ExecCommand::isLauncherName(fileName(executable)))
        candidates.append(arguments.value(1));
    for (const QString &candidate : std::as_const(candidates)) {
        if (programs.isEmpty() ? !candidate.isEmpty() && fileName(candidate) == name
                               : programs.contains(candidate))
            return true;
    }
    return false;
}

// What the process runs, when it runs app: its program's file name, or the sandbox's name.
std::optional<QString> runningApplication(const ProcessEntry &process, const AppInfo &app,
                                          const QStringList &programs)
{
    switch (app.installation) {
    case InstallationKind::bundle: {
        const QString executable = process.executable();
        if (executable.startsWith(app.path + u'/'))
            return fileName(executable);
        return std::nullopt;
    }
    case InstallationKind::flatpak:
        if (!app.flatpakID.isEmpty() && process.flatpakID() == app.flatpakID)
            return app.flatpakID;
        return std::nullopt;
    case InstallationKind::snap:
        if (!app.snapName.isEmpty() && process.snapName() == app.snapName)
            return app.snapName;
        return std::nullopt;
    case InstallationKind::appImage:
        if (process.executable() == app.path)
            return fileName(app.path);
        [[fallthrough]];
    case InstallationKind::homeFolder:
    case InstallationKind::systemPackage:
        break;
    }
    if (app.execName.isEmpty())
        return std::nullopt; // an interpreter or launcher: its processes may be anyone's
    if (runsProgram(process, programs, app.execName))
        return app.execName;
    return std::nullopt;
}

} // namespace

std::optional<RunningProcess> findRunningProcess(const Places &places,
                                                 const FileManager &fileManager, const AppInfo &app)
{
    const QString proc = places.onSystem(QStringLiteral("/proc"));
    // Without /proc only a bundle's program can be told, from the system's own process list.
    if (places.root() == u"/" && !fileManager.isDirectory(proc)) {
        if (app.installation != InstallationKind::bundle)
            return std::nullopt;
        return platform::processRunningFrom(app.path);
    }
    std::optional<RunningProcess> found;
    const QStringList programs = programPaths(places, app);
    const qint64 self = ::getpid();
    fileManager.forEachEntry(proc, [&](QByteArrayView entry) {
        bool ok = false;
        const qint64 pid = QByteArray(entry.data(), entry.size()).toLongLong(&ok);
        if (found || !ok || pid <= 0 || pid == self)
            return;
        const ProcessEntry process(fileManager, proc + u'/' + QString::number(pid));
        if (!process.isOurs())
            return;
        if (const std::optional<QString> program = runningApplication(process, app, programs))
            found = RunningProcess{pid, *program};
    });
    return found;
}
