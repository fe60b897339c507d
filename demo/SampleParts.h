#pragma once

// What the parts of the sample machine (sample_*.cpp) share.

#include "demo/MachineBuilder.h"
#include "demo/MachineFolder.h"
#include "model/ShellQuoting.h"

#include <QString>
#include <QStringList>

namespace sample {

inline constexpr qint64 kMiB = 1024 * 1024;
inline constexpr qint64 kKiB = 1024;

// One part of the machine: the folder it is built in, its builder, and the writers every part
// uses.
class Part
{
public:
    Part(const MachineFolder &folder, const MachineBuilder &machine) : s(folder), m(machine) {}

protected:
    QString file(const QString &path, qint64 size) const { return s.writeFileOfSize(path, size); }
    // A folder holding about total bytes in a few files of believable names.
    void folderOfSize(const QString &folder, qint64 total, const QStringList &names) const;

    const MachineFolder &s;
    const MachineBuilder &m;
};

// Applications of every kind, with their icons and what they left (sample_apps.cpp).
void addApplications(const MachineFolder &s, const MachineBuilder &m);
// npm globals and Homebrew formulae and casks with their stand-in tools (sample_packages.cpp).
void addPackages(const MachineFolder &s, const MachineBuilder &m);
// What programs removed long ago left in the home (sample_leftovers.cpp).
void addLeftovers(const MachineFolder &s, const MachineBuilder &m);

} // namespace sample

bool addLinuxHalf(const MachineFolder &s, const MachineBuilder &m);  // sample_linux.cpp
bool addToolchains(const MachineFolder &s, const MachineBuilder &m); // sample_toolchains.cpp
