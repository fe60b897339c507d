#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class FileManager;
class FileScanner;
class Places;

// The binary packages built from one source package keep their data under each other's names: a
// chat program's folder is named after its protocol library, an editor's GUI variant shares the
// editor's. A library package "lib<name><digits>" ("libpurple0", "libvte-2.91-0") stands for
// "<name>".
//
// The installed system packages, "binary source" a line, by one query of the system's package
// tool within the query time limit: "dpkg-query -W", else "rpm -qa". Empty when neither is there,
// or it fails or runs out of time.
QStringList queryInstalledPackages(const FileScanner &scanner);

// What "dpkg-query -W -f" is asked for: the package's state first, then "binary source". dpkg
// also lists packages that were removed with their configuration kept ("rc"), which must not
// count as installed.
extern const QString kDpkgPackagesFormat;
// The "binary source" part of each line of that output whose package is installed (its state's
// second letter is "i": "ii ", "hi ").
QStringList installedPackageLines(const QString &output);
// What "rpm -qa --qf '%{NAME}\t%{SOURCERPM}\n'" prints, as "binary source" lines: the source
// rpm's file name less its "-<version>-<release>.src.rpm". A package of no source rpm (the
// keys rpm lists as packages) is its own source.
QStringList rpmPackageLines(const QString &output);

// For each installed binary of those lines (it may carry ":arch"), the names of the other
// binaries of its source package, as search words. Lines that are not two package names are
// passed over.
QHash<QString, QStringList> parsePackageFamilies(const QStringList &lines);
// "libpurple0" is "purple"; any other name as it is.
QString familyWord(const QString &package);

// The machine place a program of a desktop entry finally is, its links followed (the
// alternatives system's "/usr/bin/vi" -> "/etc/alternatives/vi" -> "/usr/bin/vim.gtk3") inside
// the system root; a name without "/" is looked up in /usr/bin, /bin, /usr/games and
// /usr/local/bin. Empty when it is not there.
QString resolvedProgram(const Places &places, const FileManager &fileManager,
                        const QString &program);
