#pragma once

#include <functional>

// SIGINT, SIGTERM and SIGHUP quit the program the way a menu command does, instead of ending the
// process where it stands. The signal handler only writes a byte to a pipe; the event loop reads
// it and calls the quit. A signal that the program inherited as ignored (under nohup, say) is left
// ignored.

// First thing at start-up, before anything slow and before the QApplication: from here on the
// three signals are caught. One that comes before `QuitOnTerminationSignals` waits in the pipe.
void CatchTerminationSignals();
// Calls `quit` on the event loop's thread for every caught signal, beginning with those that came
// before: they quit as soon as the event loop runs. Needs the QApplication; catches the signals
// itself if `CatchTerminationSignals` has not.
void QuitOnTerminationSignals(std::function<void()> quit);
// Once the event loop has ended and the quit is under way: the three signals are ignored until
// the process has exited, so a second Ctrl+C can't cut the release short. Call before the
// QApplication goes.
void IgnoreTerminationSignals();

// A write past the file-size limit (ulimit -f) fails with EFBIG instead of ending the process, so
// a save under the limit is given up like one on a full disk.
void IgnoreFileSizeLimitSignal();
