// What only a command run as root frees outside the home folder: the package managers' download
// caches and stored core dumps, on Linux and macOS alike (a place a machine lacks gives nothing).
// Each is measured as far as the user can read it: a folder only root may list (apt's partial
// downloads) counts nothing, and the rest is still counted.

#include "scanner/SystemCommandCaches.h"

#include "scanner/FoundFile.h"
#include "scanner/SizeMeter.h"

#include <QSet>

namespace {

const QString kAptGet = QStringLiteral("/usr/bin/apt-get");
const QString kAptArchives = QStringLiteral("/var/cache/apt/archives");
const QString kDnf = QStringLiteral("/usr/bin/dnf");
// dnf 4 and dnf 5 keep their caches apart; "dnf clean packages" empties the one it uses.
const QString kDnfCaches[] = {QStringLiteral("/var/cache/dnf"),
                              QStringLiteral("/var/cache/libdnf5")};
const QString kPacman = QStringLiteral("/usr/bin/pacman");
const QString kPacmanCache = QStringLiteral("/var/cache/pacman/pkg");
const QString kPacmanInstalled = QStringLiteral("/var/lib/pacman/local");
const QString kSystemdCoreDumps = QStringLiteral("/var/lib/systemd/coredump");
const QString kMacCoreDumps = QStringLiteral("/cores");

QString lastComponent(const QString &path)
{
    return path.section(QLatin1Char('/'), -1);
}

// "name-1.2-3" of a cached "name-1.2-3-x86_64.pkg.tar.zst" (or of its ".sig"); empty for a file
// that is no package (a partial download, a folder of pacman's own).
QString pacmanPackageOf(QString fileName)
{
    if (fileName.endsWith(QLatin1String(".sig")))
        fileName.chop(4);
    const qsizetype suffix = fileName.indexOf(QLatin1String(".pkg.tar"));
    if (suffix <= 0)
        return {};
    const qsizetype architecture = fileName.lastIndexOf(QLatin1Char('-'), suffix);
    return architecture > 0 ? fileName.left(architecture) : QString();
}

} // namespace

QList<AssociatedFile>
SystemCommandCaches::scanSystemCommandCaches(const ScanProgress &progress) const
{
    const Places &places = m_machine.places();
    const FileManager &files = m_machine.fileManager();
    const SizeMeter sizes(m_machine);
    QList<AssociatedFile> found;
    const auto add = [&](const QString &path, const QString &name, qint64 size,
                         const QString &command) {
        if (size > 0)
            found.append(freedOnlyByCommand(path, name, size, command));
    };
    // The entries of folder whose names keep admits, each as moving it would free.
    const auto sizeOfEntries = [&](const QString &folder,
                                   const std::function<bool(const QString &)> &keep) {
        const std::optional<QStringList> entries = files.contentsOfDirectory(folder);
        if (entries && progress)
            progress(folder);
        qint64 total = 0;
        for (const QString &entry : entries.value_or(QStringList())) {
            if (!m_machine.isCancelled() && keep(lastComponent(entry)))
                total += sizes.sizeOfFoundItem(entry);
        }
        return total;
    };
    const auto isPresent = [&](const QString &tool) {
        return files.fileExists(places.onSystem(tool));
    };

    if (isPresent(kAptGet)) {
        // "apt-get clean" empties the folder and its partial downloads but for the lock.
        const QString archives = places.onSystem(kAptArchives);
        add(archives, QStringLiteral("APT downloaded packages"),
            sizeOfEntries(archives, [](const QString &name) { return name != u"lock"; }),
            QStringLiteral("sudo apt-get clean"));
    }
    if (isPresent(kDnf)) {
        for (const QString &cache : kDnfCaches) {
            // One folder per repository; "clean packages" leaves the repositories' metadata.
            const QString folder = places.onSystem(cache);
            qint64 size = 0;
            for (const QString &repository :
                 files.contentsOfDirectory(folder).value_or(QStringList()))
                size += sizes.sizeOfDirectory(repository + QStringLiteral("/packages"), progress);
            add(folder, QStringLiteral("DNF downloaded packages"), size,
                QStringLiteral("sudo dnf clean packages"));
        }
    }
    if (isPresent(kPacman)) {
        // "pacman -Sc" keeps the packages of the installed versions (the local database holds
        // one "name-version-release" folder each) and removes the others with their signatures.
        QSet<QString> installed;
        for (const QString &entry :
             files.contentsOfDirectory(places.onSystem(kPacmanInstalled)).value_or(QStringList()))
            installed.insert(lastComponent(entry));
        const QString cache = places.onSystem(kPacmanCache);
        add(cache, QStringLiteral("pacman packages no longer installed"),
            sizeOfEntries(cache,
                          [&](const QString &name) {
                              const QString package = pacmanPackageOf(name);
                              return !package.isEmpty() && !installed.contains(package);
                          }),
            QStringLiteral("sudo pacman -Sc"));
    }

    // coredumpctl lists dumps but cannot remove them, and "systemd-tmpfiles --clean" removes
    // only those older than its age rule, along with every other aged temporary file. find
    // removes exactly the stored dumps, whatever their age, and with no shell pattern to expand.
    const QString systemdDumps = places.onSystem(kSystemdCoreDumps);
    if (progress && files.isDirectory(systemdDumps))
        progress(systemdDumps);
    add(systemdDumps, QStringLiteral("Core dumps"), sizes.sizeOfDirectory(systemdDumps, progress),
        QStringLiteral("sudo find %1 -type f -delete").arg(kSystemdCoreDumps));
    // macOS writes a crashed program's core, when enabled, as /cores/core.<pid>. Its other big
    // system places are left out: /Library/Caches and /private/var/folders have no command that
    // clears them safely, software update downloads none at all, and the sleep image and swap
    // files are the system's own, whatever is run.
    const QString macDumps = places.onSystem(kMacCoreDumps);
    add(macDumps, QStringLiteral("Core dumps"),
        sizeOfEntries(macDumps, [](const QString &name) { return name.startsWith(u"core."); }),
        QStringLiteral("sudo find %1 -type f -name 'core.*' -delete").arg(kMacCoreDumps));
    return found;
}
