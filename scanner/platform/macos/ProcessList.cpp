// macOS keeps no /proc: libproc lists the processes and tells their programs.
#include "scanner/platform/ProcessList.h"

#include <QList>

#include <libproc.h>
#include <unistd.h>

#include <algorithm>

namespace platform {

std::optional<RunningProcess> processRunningFrom(const QString &folder)
{
    QList<pid_t> pids(proc_listallpids(nullptr, 0) + 64);
    pids.resize(std::max(0, proc_listallpids(pids.data(), int(pids.size() * sizeof(pid_t)))));
    for (const pid_t pid : std::as_const(pids)) {
        struct proc_bsdinfo info;
        char path[PROC_PIDPATHINFO_MAXSIZE];
        if (proc_pidinfo(pid, PROC_PIDTBSDINFO, 0, &info, sizeof info) != sizeof info ||
            info.pbi_ruid != ::getuid() || proc_pidpath(pid, path, sizeof path) <= 0)
            continue;
        const QString executable = QString::fromUtf8(path);
        if (executable.startsWith(folder + u'/'))
            return RunningProcess{pid, executable.section(u'/', -1)};
    }
    return std::nullopt;
}

} // namespace platform
