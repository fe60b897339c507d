#pragma once

#include "model/FileGroup.h"
#include "model/NPMPackage.h"
#include "scanner/PackageSource.h"

#include <QList>
#include <QString>

#include <optional>

// npm's global packages: the npm that lists and removes them, its global folder, its cache.
class NPMSource : public PackageSource
{
public:
    explicit NPMSource(Machine machine) : m_machine(std::move(machine)) {}

    QString toolName() const override { return QStringLiteral("npm"); }
    bool isAvailable() const override;
    // "npm uninstall -g <name>" through executable(); not found names where npm was looked for.
    UninstallResult uninstall(const PackageRef &package) const override;
    // ~/.npm.
    qint64 cacheSize() const override;

    // The npm whose global packages the list shows, and which uninstalls them: the Homebrew one,
    // the /usr/local one, /usr/bin/npm, ~/.npm-global/bin/npm, else the one "which" finds (a
    // version manager's, not tested for existence); nothing when none is found.
    std::optional<QString> executable() const;
    // The global folder as "npm root -g" reports it, for an npm other than the Homebrew or
    // /usr/local one (/usr/bin/npm, ~/.npm-global/bin/npm, else the one "which" finds: a version
    // manager's); nothing when it does not answer with an existing folder in time.
    std::optional<QString> reportedRoot() const;
    // npm's reported global folder, else the first existing fixed one; nothing without npm.
    std::optional<QString> globalNodeModules() const;
    QList<NPMPackage> list() const;
    QList<FileGroup> findGlobalFiles(const QString &packageName) const;
    QList<FileGroup> findNamedFiles(const QString &packageName) const;

private:
    // The tool environment with the npm's own folder first on PATH when it is not already there:
    // npm runs through "env node", and a version manager's node sits only beside its npm.
    QStringList environment(const QString &npm) const;

    Machine m_machine;
};
