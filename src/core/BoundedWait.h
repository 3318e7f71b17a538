#pragma once

#include <functional>

// Work on a file system that may not answer (a server folder on a hung network share): it runs
// in a thread of its own while the caller waits at most a number of seconds, processing events
// meanwhile, so that the interface stays responsive and the caller never hangs with it.
namespace BoundedWait {

// Runs work and waits for it at most seconds. True when it ended in time. Otherwise it is
// abandoned: it runs on alone and, should it end, undo runs right after it in its thread (to
// take back what it did too late). Both must own everything they use.
bool run(int seconds, std::function<void()> work, std::function<void()> undo = {});

}  // namespace BoundedWait
