#pragma once

#include <string>
#include <vector>

// The shipped sound effects, synthesised as mono samples in -1..1 at kSampleRate.
namespace SoundSynthesis {

constexpr int kSampleRate = 44100;
using Samples = std::vector<float>;

Samples Silence();      // 0.1 s of nothing: the filler that keeps the audio device awake
Samples VolumeChime();  // the sample played by the volume menu
Samples Thunderclap();  // a crack, then rumble; under 2 s
Samples DrumRoll();     // the thunder god's arrival
Samples Gong();         // the end of a game

// Writes 16-bit PCM mono WAV; false when the file cannot be written.
bool WriteWav(const std::string& path, const Samples& samples);

}  // namespace SoundSynthesis
