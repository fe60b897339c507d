#pragma once

#include "model/FileGroup.h"
#include "model/HomebrewPackage.h"
#include "scanner/PackageSource.h"

#include <QList>
#include <QString>

// Homebrew's formulae and casks: its prefix, what it installed, its stores and caches.
class HomebrewSource : public PackageSource
{
public:
    explicit HomebrewSource(Machine machine) : m_machine(std::move(machine)) {}

    QString toolName() const override { return QStringLiteral("brew"); }
    bool isAvailable() const override;
    // "brew uninstall [--cask] <name>" through the prefix's brew.
    UninstallResult uninstall(const PackageRef &package) const override;
    // The user's download cache and the prefix's.
    qint64 cacheSize() const override;

    // The first of /opt/homebrew, /home/linuxbrew/.linuxbrew and ~/.linuxbrew that holds
    // bin/brew, else the first that exists, else /opt/homebrew.
    QString prefix() const;
    QList<HomebrewPackage> list() const;
    bool isInstalledOnRequest(const QString &formulaFolder) const;
    QList<FileGroup> findStoreFiles(const QString &packageName) const;
    QList<FileGroup> findSupportFiles(const QString &packageName) const;

private:
    Machine m_machine;
};
