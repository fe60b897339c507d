// The System Data section's toolchains and environments: every installed version in the home
// folder, measured, the one in use kept out of reach.

#include "scanner/ToolchainScanner.h"

#include "scanner/FoundFile.h"
#include "scanner/SizeMeter.h"
#include "scanner/ToolchainSources.h"

#include <QSet>

#include <algorithm>

namespace {

// Where tools installed for the whole machine live, Homebrew's first.
const char *const kSystemToolFolders[] = {"/opt/homebrew/bin/", "/usr/local/bin/", "/usr/bin/"};

// The folder's size without the named entries directly inside it.
qint64 sizeWithout(const Machine &machine, const QString &folder, const QStringList &left,
                   const ScanProgress &progress)
{
    const SizeMeter sizes(machine);
    qint64 size = 0;
    for (const QString &entry :
         machine.fileManager().contentsOfDirectory(folder).value_or(QStringList())) {
        if (machine.isCancelled())
            break;
        if (left.contains(entry.section(QLatin1Char('/'), -1)))
            continue;
        size += machine.fileManager().isSymbolicLink(entry) ? sizes.sizeOfFoundItem(entry)
                : machine.fileManager().isDirectory(entry)  ? sizes.sizeOfDirectory(entry, progress)
                                                            : sizes.sizeOfFile(entry);
    }
    return size;
}

} // namespace

QStringList realSubfolders(const Machine &machine, const QString &folder)
{
    QStringList names;
    const FileManager &files = machine.fileManager();
    for (const QString &entry : files.contentsOfDirectory(folder).value_or(QStringList())) {
        if (files.isDirectory(entry) && !files.isSymbolicLink(entry))
            names.append(entry.section(QLatin1Char('/'), -1));
    }
    names.sort();
    return names;
}

std::optional<QString> findTool(const Machine &machine, const QStringList &homePlaces,
                                const QString &name)
{
    QStringList candidates = homePlaces;
    for (const char *folder : kSystemToolFolders)
        candidates.append(machine.places().onSystem(QString::fromLatin1(folder) + name));
    for (const QString &candidate : std::as_const(candidates)) {
        if (machine.fileManager().fileExists(candidate))
            return candidate;
    }
    return std::nullopt;
}

QStringList toolCommand(const std::optional<QString> &tool, const QStringList &arguments,
                        const QString &subject)
{
    if (!tool || subject.isEmpty() || subject.startsWith(QLatin1Char('-')))
        return {};
    return QStringList{*tool} + arguments + QStringList{subject};
}

QList<FileGroup> ToolchainScanner::scanToolchains(const ScanProgress &progress) const
{
    const SizeMeter sizes(m_machine);
    QList<AssociatedFile> files;
    // A library or installation reached twice (Steam's folder linked into another) counts once.
    QSet<std::pair<quint64, quint64>> seen;
    for (const ToolchainEntry &entry :
         findLanguageToolchains(m_machine) + findInstalledSoftware(m_machine)) {
        if (m_machine.isCancelled())
            break;
        const std::optional<FileIdentity> identity = m_machine.fileManager().identity(entry.path);
        if (!identity || !identity->isValid())
            continue;
        const std::pair<quint64, quint64> key{identity->device, identity->inode};
        if (seen.contains(key))
            continue;
        seen.insert(key);
        if (progress)
            progress(entry.path);
        const qint64 size = entry.unmeasured.isEmpty()
                                ? sizes.sizeOfDirectory(entry.path, progress)
                                : sizeWithout(m_machine, entry.path, entry.unmeasured, progress);
        if (size <= 0)
            continue;
        AssociatedFile file = foundFile(m_machine.fileManager(), entry.path, entry.name,
                                        FileCategory::toolchains, size);
        // An inexact name keeps its own reason; no tool is handed a name it cannot carry.
        if (file.isRemovable()) {
            file.unremovableReason = entry.inUseReason;
            if (entry.inUseReason.isEmpty())
                file.removalCommand = entry.removalCommand;
        }
        files.append(file);
    }
    if (files.isEmpty())
        return {};
    std::stable_sort(
        files.begin(), files.end(),
        [](const AssociatedFile &a, const AssociatedFile &b) { return a.size > b.size; });
    return {FileGroup(FileCategory::toolchains, files)};
}
