#include "scanner/FileScanner.h"

#include "scanner/Process.h"
#include "scanner/Trash.h"

namespace {

// Where npmExecutable() looks, for the message when it finds nothing.
const QString kNPMPlaces = QStringLiteral("/opt/homebrew/bin/npm, /usr/local/bin/npm, /usr/bin/npm "
                                          "or ~/.npm-global/bin/npm, nor on the search path");
const QString kWhichPath = QStringLiteral("/usr/bin/which");
const QString kToolSearchPath = QStringLiteral(
    "/opt/homebrew/bin:/opt/homebrew/sbin:/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin");

// A package name that a package manager would read as an option (or no name at all) is never
// passed on: "brew uninstall --force" would mean something else entirely.
std::optional<QString> unusablePackageName(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("No package name was given");
    if (name.startsWith(QLatin1Char('-')))
        return QStringLiteral("Refusing to uninstall a package named \"%1\"").arg(name);
    return std::nullopt;
}

} // namespace

TrashResult FileScanner::moveFilesToTrash(const QList<AssociatedFile> &files,
                                          const TrashObserver &observer) const
{
    TrashResult result;
    for (const AssociatedFile &file : files) {
        // A stop comes between items, never between an item's claim in the Trash and its move.
        if (isCancelled()) {
            result.notTried = int(files.size() - (result.moved + result.failures.size()));
            break;
        }
        // Refused places ("/" for the snapshot entries, the home folder) never reach the Trash.
        QString error = file.isRemovable() ? Trash::refusalReason(file.path, m_places.home())
                                           : file.unremovableReason;
        // A found item moves only while it is the item that was listed.
        const std::optional<FileIdentity> expected =
            file.identity.isValid() ? std::optional<FileIdentity>(file.identity) : std::nullopt;
        TrashedItem trashed;
        if (error.isEmpty())
            error =
                m_fileManager.trashItem(file.path, m_places, expected, &trashed, observer.claimed);
        if (error.isEmpty())
            ++result.moved;
        else
            result.failures.append({file, error});
        // Also what took the item's place and could not be moved back out of the Trash.
        if (!trashed.originalPath.isEmpty()) {
            result.trashed.append(trashed);
            if (observer.trashed && !trashed.name.isEmpty())
                observer.trashed(trashed);
        }
    }
    return result;
}

PutBackResult FileScanner::putBackFromTrash(const QList<TrashedItem> &items) const
{
    PutBackResult result;
    for (const TrashedItem &item : items) {
        QString restoredTo;
        const QString error = m_fileManager.putBackItem(item, m_places, &restoredTo);
        if (error.isEmpty())
            result.restored.append({item.trashFolder, item.name, restoredTo, item.identity});
        else
            result.failures.append({item, error});
    }
    return result;
}

UninstallResult FileScanner::uninstallHomebrewPackage(const QString &name, bool isCask) const
{
    const QString brew = homebrewPrefix() + QStringLiteral("/bin/brew");
    if (!m_fileManager.fileExists(brew))
        return {false, QStringLiteral("brew not found at %1").arg(m_places.systemRelative(brew))};
    if (const auto problem = unusablePackageName(name))
        return {false, problem};
    QStringList arguments{QStringLiteral("uninstall")};
    if (isCask)
        arguments.append(QStringLiteral("--cask"));
    arguments.append(name);
    const CommandResult command = runCommand(brew, arguments);
    return {command.status == 0, command.output};
}

UninstallResult FileScanner::uninstallNPMPackage(const QString &name) const
{
    // The npm that listed the package, so that it removes it from the folder it was listed in.
    const std::optional<QString> npm = npmExecutable();
    if (!npm || !m_fileManager.fileExists(*npm)) {
        return {false, QStringLiteral("npm not found at %1")
                           .arg(npm ? m_places.systemRelative(*npm) : kNPMPlaces)};
    }
    if (const auto problem = unusablePackageName(name))
        return {false, problem};
    Process process(*npm, {QStringLiteral("uninstall"), QStringLiteral("-g"), name});
    process.setEnvironment(npmEnvironment(*npm));
    const ProcessResult run = process.run();
    return {run.started && run.status == 0, run.text()};
}

CommandResult FileScanner::runCommand(const QString &executable, const QStringList &arguments) const
{
    Process process(executable, arguments);
    process.setEnvironment(toolEnvironment());
    const ProcessResult run = process.run();
    if (!run.started)
        return {std::nullopt, -1};
    return {run.text(), run.status};
}

CommandResult FileScanner::runQuery(const QString &executable, const QStringList &arguments) const
{
    Process process(executable, arguments);
    process.setEnvironment(toolEnvironment());
    process.setTimeLimit(m_queryTimeLimitMs);
    const ProcessResult run = process.run();
    if (!run.started)
        return {std::nullopt, -1};
    return {run.text(), run.status, run.timedOut};
}

std::optional<QString> FileScanner::runCommandForOutput(const QString &executable,
                                                        const QStringList &arguments) const
{
    return runCommand(executable, arguments).output;
}

QStringList FileScanner::toolEnvironment() const
{
    return {QStringLiteral("PATH=") + kToolSearchPath, QStringLiteral("HOME=") + m_places.home()};
}

std::optional<QString> FileScanner::locateTool(const QString &name) const
{
    // "which" gets this program's own environment, and only its standard output is read.
    Process process(m_places.onSystem(kWhichPath), {name});
    process.setCaptureStandardError(false);
    const std::optional<QString> output = process.run().text();
    if (!output)
        return std::nullopt;
    const QString path = output->trimmed();
    if (path.isEmpty())
        return std::nullopt;
    return path;
}
