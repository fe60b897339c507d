#pragma once

// Where the system keeps a thread's scheduler statistics (see WaitGauge.h).

namespace platform {

// A descriptor on the calling thread's "<ns on a processor> <ns queued for one> ..." line (Linux's
// /proc/thread-self/schedstat), readable with pread for as long as it stays open; -1 where the
// system keeps none.
int openThreadSchedulerStats();

} // namespace platform
