#include "scanner/SnapSource.h"

#include "scanner/DesktopApplicationPlaces.h"
#include "scanner/FoundFile.h"
#include "scanner/SizeMeter.h"
#include "scanner/ToolOutput.h"

namespace {

const QString kSnap = QStringLiteral("/usr/bin/snap");

} // namespace

bool SnapSource::isAvailable() const
{
    return m_machine.fileManager().fileExists(m_machine.places().onSystem(kSnap));
}

UninstallResult SnapSource::uninstall(const PackageRef &package) const
{
    const QString snap = m_machine.places().onSystem(kSnap);
    if (!m_machine.fileManager().fileExists(snap))
        return {false, QStringLiteral("snap not found at /usr/bin/snap")};
    if (!isValidSnapName(package.name))
        return {false, QStringLiteral("Refusing to remove a Snap named \"%1\"").arg(package.name)};
    return uninstallOutcome(
        ToolRunner(m_machine).runCommand(snap, {QStringLiteral("remove"), package.name}),
        QStringLiteral("snap remove"));
}

std::optional<QString> SnapSource::removalCommandText(const PackageRef &package) const
{
    return QStringLiteral("snap remove ") + package.name;
}

QList<AssociatedFile> SnapSource::disabledRevisions(const ScanProgress &progress) const
{
    const Places &places = m_machine.places();
    const QString snap = places.onSystem(kSnap);
    if (!m_machine.fileManager().fileExists(snap))
        return {};
    if (progress)
        progress(snap);
    const CommandResult result =
        ToolRunner(m_machine).runQuery(snap, {QStringLiteral("list"), QStringLiteral("--all")});
    if (result.status != 0 || !result.output)
        return {};
    const SizeMeter sizes(m_machine);
    QList<AssociatedFile> revisions;
    for (const SnapRevision &revision : parseDisabledSnaps(*result.output)) {
        const QString file = places.onSystem(QStringLiteral("/var/lib/snapd/snaps/")) +
                             revision.name + QLatin1Char('_') + revision.revision +
                             QStringLiteral(".snap");
        revisions.append(freedOnlyByCommand(
            file, QStringLiteral("%1 (disabled revision %2)").arg(revision.name, revision.revision),
            sizes.sizeOfFile(file),
            QStringLiteral("sudo snap remove %1 --revision=%2")
                .arg(revision.name, revision.revision)));
    }
    return revisions;
}
