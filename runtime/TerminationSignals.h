#pragma once

#include <functional>

// SIGINT, SIGTERM and SIGHUP call `quit` on the event loop's thread, as a menu command would,
// instead of ending the process where it stands. The signal handler only writes a byte to a
// pipe; the event loop reads it.
void QuitOnTerminationSignals(std::function<void()> quit);
// Back to the default handling, for the time after the event loop.
void StopQuittingOnTerminationSignals();
