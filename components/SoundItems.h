#pragma once

#include "Sound.h"

// The program's sounds, loaded from the resources folder by file name ("EndSnd.wav" for EndSnd).
// Each is looked for once per run, at its first call; a sound missing then stays silent (nothing)
// for the rest of the run.
SoundPtr SilenceSnd();
SoundPtr SoundVolSnd();
SoundPtr LightningSnd();
SoundPtr OpenSnd();
SoundPtr EndSnd();

// At exit, after the event loop: lets go of the five sounds, in the order above.
void ReleaseSoundItems();

// Back to the start of a run: no sound held and none looked for yet, so the next call of an item
// looks for its file again.
void ResetSoundItems();
