#pragma once

#include <atomic>
#include <memory>

// SIGTERM, SIGINT and SIGHUP as a request to stop rather than an end on the spot: a removal then
// finishes the item it is moving (its claim in the Trash and its move) and leaves the rest.
namespace StopSignals {

// From now on these signals set the flag returned (for FileScanner::setCancellationFlag) instead
// of ending the program.
std::shared_ptr<const std::atomic_bool> catchStopSignals();

// The window: from now on these signals quit the application's event loop, as closing the window
// does, which stops the running jobs the same way.
void quitOnStopSignals();

} // namespace StopSignals
