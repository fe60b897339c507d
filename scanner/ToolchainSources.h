#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class Machine;

// One installed version found in the home folder, before it is measured.
struct ToolchainEntry
{
    QString path;
    QString name;        // "Rust nightly-x86_64-unknown-linux-gnu", "Steam: Portal 2"
    QString inUseReason; // not empty: the version in use, shown and never removed
    // The tool's own command that removes it (absolute tool path first); empty: the Trash.
    QStringList removalCommand;
    // Entries of the folder that are rows of their own and not counted here (a conda
    // installation's "envs" and "pkgs" beside its base environment).
    QStringList unmeasured;
};

// The language toolchains and environments: rustup toolchains, pyenv versions, nvm's Node
// versions, SDKMAN candidates, conda and mamba environments and package caches, pipx and
// virtualenv environments.
QList<ToolchainEntry> findLanguageToolchains(const Machine &machine);
// Software installed per version or per title in the home folder: the Android SDK's platforms,
// build tools and NDKs, JetBrains Toolbox IDEs, the user's Flatpak installation and Steam games.
QList<ToolchainEntry> findInstalledSoftware(const Machine &machine);

// The folders directly inside folder, by name; symbolic links are left out (a linked toolchain
// or environment lives elsewhere, and its folder would be counted twice).
QStringList realSubfolders(const Machine &machine, const QString &folder);
// The first of the home-folder places, then name in /opt/homebrew/bin, /usr/local/bin and
// /usr/bin, that exists.
std::optional<QString> findTool(const Machine &machine, const QStringList &homePlaces,
                                const QString &name);
// The tool, its arguments, then subject (a version's or environment's name or path); empty
// without the tool, or when subject could be read as an option.
QStringList toolCommand(const std::optional<QString> &tool, const QStringList &arguments,
                        const QString &subject);
