#pragma once

// Lets the runtime's other threads run. Called once per pass by the program's own loops.
// It never re-enters the event loop: a timer action running in the middle of a frame's drawing
// would see half-updated game state.
void RuntimeBackgroundTask();

// Bookkeeping for runtime threads, so that the call costs nothing while none runs.
void RuntimeThreadStarted();
void RuntimeThreadEnded();
