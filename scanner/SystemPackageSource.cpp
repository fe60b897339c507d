#include "scanner/SystemPackageSource.h"

#include "scanner/DesktopApplicationPlaces.h"
#include "scanner/FileScanner.h"
#include "scanner/PackageFamilies.h"
#include "scanner/ToolOutput.h"

namespace {

const QString kDpkgQuery = QStringLiteral("/usr/bin/dpkg-query");
const QString kRPM = QStringLiteral("/usr/bin/rpm");

} // namespace

bool SystemPackageSource::hasDpkg() const
{
    return m_machine.fileManager().fileExists(m_machine.places().onSystem(kDpkgQuery));
}

QString SystemPackageSource::toolName() const
{
    if (!hasDpkg() && m_machine.fileManager().fileExists(m_machine.places().onSystem(kRPM)))
        return QStringLiteral("rpm");
    return QStringLiteral("dpkg");
}

bool SystemPackageSource::isAvailable() const
{
    return hasDpkg() || m_machine.fileManager().fileExists(m_machine.places().onSystem(kRPM));
}

UninstallResult SystemPackageSource::uninstall(const PackageRef &package) const
{
    const std::optional<QString> command = removalCommandText(package);
    if (!command)
        return {false, QStringLiteral("The system's packages are not removed by Verlo.")};
    return {false, QStringLiteral("The system package \"%1\" is not removed by Verlo. To remove "
                                  "it, run: %2")
                       .arg(package.name, *command)};
}

QHash<QString, QString> SystemPackageSource::owningPackages(const QStringList &paths) const
{
    if (paths.isEmpty())
        return {};
    const Places &places = m_machine.places();
    const ToolRunner tools(m_machine);
    QStringList machinePaths;
    for (const QString &path : paths)
        machinePaths.append(places.systemRelative(path));
    QHash<QString, QString> byMachinePath;
    if (const QString dpkg = places.onSystem(kDpkgQuery);
        m_machine.fileManager().fileExists(dpkg)) {
        // "--" ends the options: a path can never be read as one.
        const CommandResult result = tools.runQuery(
            dpkg, QStringList{QStringLiteral("-S"), QStringLiteral("--")} + machinePaths);
        if (result.output && !result.timedOut)
            byMachinePath = parseDpkgOwners(*result.output);
    } else if (const QString rpm = places.onSystem(kRPM); m_machine.fileManager().fileExists(rpm)) {
        const CommandResult result =
            tools.runQuery(rpm, QStringList{QStringLiteral("-qf"), QStringLiteral("--queryformat"),
                                            QStringLiteral("%{NAME}\\n"), QStringLiteral("--")} +
                                    machinePaths);
        if (result.output && !result.timedOut)
            byMachinePath = parseRPMOwners(*result.output, machinePaths);
    }
    QHash<QString, QString> owners;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString package = byMachinePath.value(machinePaths.at(i));
        if (!package.isEmpty())
            owners.insert(paths.at(i), package);
    }
    return owners;
}

std::optional<QString> SystemPackageSource::removalCommandText(const PackageRef &package) const
{
    if (!isValidPackageName(package.name))
        return std::nullopt;
    return (hasDpkg() ? QStringLiteral("sudo apt remove ") : QStringLiteral("sudo dnf remove ")) +
           package.name;
}

QHash<QString, QStringList> SystemPackageSource::packageFamilies() const
{
    return parsePackageFamilies(queryInstalledPackages(FileScanner(m_machine)));
}
