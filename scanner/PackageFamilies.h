#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class FileManager;
class Places;

// The binary packages built from one source package keep their data under each other's names: a
// chat program's folder is named after its protocol library, an editor's GUI variant shares the
// editor's. A library package "lib<name><digits>" ("libpurple0", "libvte-2.91-0") stands for
// "<name>".
//
// "dpkg-query -W -f '${binary:Package} ${source:Package}\n'": one "binary source" line per known
// package (the binary may carry ":arch"); returns, for each binary, the names of the other
// binaries of its source package, as search words. Lines that are not two package names are
// passed over.
QHash<QString, QStringList> parsePackageFamilies(const QString &output);
// "libpurple0" is "purple"; any other name as it is.
QString familyWord(const QString &package);

// The machine place a program of a desktop entry finally is, its links followed (the
// alternatives system's "/usr/bin/vi" -> "/etc/alternatives/vi" -> "/usr/bin/vim.gtk3") inside
// the system root; a name without "/" is looked up in /usr/bin, /bin, /usr/games and
// /usr/local/bin. Empty when it is not there.
QString resolvedProgram(const Places &places, const FileManager &fileManager,
                        const QString &program);
