#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// What the version managers' own small files say about the version in use, and what a Steam
// manifest says about its game. Pure functions over the files' text: nothing here reads the disk.

// The default_toolchain of rustup's settings.toml ("stable-x86_64-unknown-linux-gnu"); nothing
// when the file does not name one.
std::optional<QString> rustupDefaultToolchain(const QString &settingsToml);
// The toolchain "rustup default" prints ("stable-x86_64-unknown-linux-gnu (default)"); nothing
// when it names none.
std::optional<QString> parseRustupDefaultOutput(const QString &output);
// Whether the installed toolchain folder is the default one. rustup names folders in full
// ("stable-x86_64-unknown-linux-gnu") and may record the default by its short name ("stable").
bool isRustupDefault(const QString &toolchain, const QString &defaultToolchain);

// The versions pyenv's global "version" file names, in order ("3.12.1", "3.11.7"); "system" and
// comments are no installed versions.
QStringList pyenvGlobalVersions(const QString &versionFile);

// The installed Node version ("v20.11.0") that nvm's default alias leads to. readAlias gives the
// text of one alias file by its name ("default", "lts/*", "lts/iron"), or nothing. An alias
// names another alias, a version or its prefix ("20", "v20.11"), "node" or "stable" (the newest
// installed); nothing when it leads to no installed version or round in a circle.
std::optional<QString>
resolveNvmDefault(const std::function<std::optional<QString>(const QString &)> &readAlias,
                  const QStringList &installed);

// The first "name" and "installdir" values of a Steam appmanifest_<id>.acf.
struct SteamManifest
{
    QString name;       // "Portal 2"
    QString installDir; // the game's folder under steamapps/common
};
SteamManifest parseSteamManifest(const QString &text);
