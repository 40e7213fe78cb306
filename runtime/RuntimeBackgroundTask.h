#pragma once

// Lets the runtime's other threads run. Called once per pass by the program's own loops.
// On a runtime thread it sleeps about 1 ms, so that a polling loop does not keep a core busy.
// On the event loop's thread it never re-enters the event loop: a timer action running in the
// middle of a frame's drawing would see half-updated game state.
void RuntimeBackgroundTask();

// Bookkeeping for runtime threads, so that the call costs nothing while none runs. Called on
// the runtime thread itself, at its start and at its end.
void RuntimeThreadStarted();
void RuntimeThreadEnded();
