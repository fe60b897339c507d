#pragma once

#include "scanner/ToolRunner.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// One package as its tool names it, with the kind where the tool has two.
struct PackageRef
{
    QString name;
    bool isCask = false;           // Homebrew: a cask, not a formula
    bool userInstallation = false; // Flatpak: the user's installation, not the system's
};

// A package tool of the machine (npm, Homebrew, the system's dpkg or rpm, Flatpak, Snap): what
// every tool answers, and what only some do (ownership, a download cache, a removal shown as a
// command), with nothing as the answer of a tool that has no such thing.
class PackageSource
{
public:
    virtual ~PackageSource() = default;

    // The tool's name as a message names it ("npm", "brew", "flatpak").
    virtual QString toolName() const = 0;
    virtual bool isAvailable() const = 0;
    // Runs the tool's removal of one package; not succeeded, with the reason, when the tool is
    // missing, the name could be read as an option, or the tool fails.
    virtual UninstallResult uninstall(const PackageRef &package) const = 0;
    // The package owning each of the given files (machine places); files none owns are left out.
    virtual QHash<QString, QString> owningPackages(const QStringList &paths) const;
    // The command removing the package, as shown to the user; nothing when none is shown.
    virtual std::optional<QString> removalCommandText(const PackageRef &package) const;
    // What the tool's download cache in the home folder holds.
    virtual qint64 cacheSize() const;
};

// Why a package name is never handed to a tool (none given, or one the tool would read as an
// option: "brew uninstall --force" means something else entirely); nothing when it is usable.
std::optional<QString> unusablePackageName(const QString &name);
