#pragma once

// What this process used of the machine, as the system counts it.

namespace platform {

// The most memory this process has held resident so far, in kilobytes; -1 when unknown.
long peakResidentKilobytes();

} // namespace platform
