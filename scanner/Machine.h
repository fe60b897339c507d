#pragma once

#include "scanner/FileManager.h"
#include "scanner/Places.h"

#include <atomic>
#include <memory>

class SizeLedger;

// The machine every scanner works on: its places, its file manager, the flag that stops long
// operations, the time a query may take and, during a System Data scan, the ledger of what the
// scan measured. Cheap to copy; copies share the flag and the ledger.
class Machine
{
public:
    explicit Machine(Places places = Places(), FileManager fileManager = FileManager());

    const Places &places() const { return m_places; }
    const FileManager &fileManager() const { return m_fileManager; }

    // Once flag is true, long operations (walks, searches, the System Data scan) stop soon and
    // return what they had: their results are then incomplete and meant to be dropped.
    void setCancellationFlag(std::shared_ptr<const std::atomic_bool> flag)
    {
        m_cancelled = std::move(flag);
    }
    bool isCancelled() const { return m_cancelled && m_cancelled->load(std::memory_order_relaxed); }
    // The flag as a walker takes it; null when none is set.
    const std::atomic_bool *cancellationFlag() const { return m_cancelled.get(); }

    // How long a tool that only answers a question (dpkg-query, journalctl, docker, flatpak
    // list, snap list, npm root) may run before it is killed; 0: no limit. Default 30 s.
    void setQueryTimeLimit(int milliseconds) { m_queryTimeLimitMs = milliseconds; }
    int queryTimeLimit() const { return m_queryTimeLimitMs; }

    // Set on the machine a System Data scan works with: what its steps measured.
    void setLedger(std::shared_ptr<SizeLedger> ledger) { m_ledger = std::move(ledger); }
    SizeLedger *ledger() const { return m_ledger.get(); }

private:
    Places m_places;
    FileManager m_fileManager;
    std::shared_ptr<const std::atomic_bool> m_cancelled;
    std::shared_ptr<SizeLedger> m_ledger;
    int m_queryTimeLimitMs = 30000;
};
