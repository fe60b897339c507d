#pragma once

#include "model/FileGroup.h"
#include "scanner/Machine.h"
#include "scanner/ScanProgress.h"

#include <QList>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

struct SystemDataResult
{
    QList<FileGroup> groups;       // shown categories, largest first
    int hiddenCount = 0;           // categories found but under the display threshold
    QList<FileGroup> hiddenGroups; // those categories, largest first
    // The home folder's size as the size walk counts (every path, folders' own blocks not), and
    // how much of it the groups (shown and hidden) hold; both 0 until the home has been walked.
    qint64 homeSize = 0;
    qint64 accountedSize = 0;
};

// What a System Data scan tells while it runs, from the scanning thread.
struct SystemDataListener
{
    // The categories measured so far, arranged as the result will be (after each step).
    std::function<void(const SystemDataResult &)> partialResult;
    // Where the bytes of the home measured so far add up; a scan measures each byte of the home
    // once, so this ends at the home's size.
    std::shared_ptr<std::atomic<qint64>> measuredBytes;
};

// The System Data section: what the system, developer tools and programs keep, by category, in
// steps (Xcode, device backups, snapshots, containers, caches and logs, toolchains, the Linux
// places) and one closing walk of the home (HomeSurveyor).
class SystemDataScanner
{
public:
    explicit SystemDataScanner(Machine machine) : m_machine(std::move(machine)) {}

    // Every category, then one walk of the rest of the home (HomeSurveyor::surveyHome); the sizes
    // measured by the steps are taken by that walk as they are, so each byte of the home is
    // measured once.
    SystemDataResult scanSystemData(const ScanProgress &progress = {},
                                    const SystemDataListener &listener = {}) const;
    // Shows the groups of at least 100 MiB (and every snapshot group), largest first and stable;
    // counts the others as hidden.
    static SystemDataResult arrangeSystemData(const QList<FileGroup> &all);
    bool isXcodeInstalled() const;
    bool isDockerInstalled() const;
    QList<FileGroup> scanXcodeData(const ScanProgress &progress = {}) const;
    // Nothing when the backups folder exists but cannot be listed.
    std::optional<QList<FileGroup>> scanDeviceBackups(const ScanProgress &progress = {}) const;
    std::optional<FileGroup> scanLocalSnapshots() const;
    QList<FileGroup> scanContainerData(const ScanProgress &progress = {}) const;
    // Nothing when the caches or logs folder exists but cannot be listed.
    std::optional<QList<FileGroup>> scanCachesAndLogs(const ScanProgress &progress = {}) const;

private:
    Machine m_machine;
};
