#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// A sound effect loaded from a WAV file, played through the audio device (SDL2_mixer). Loading
// needs no device. The device opens on a thread of its own, from PrepareAudio or the first Play
// that has samples to play, so neither the start nor a tick ever waits for it, however slowly a
// sound server answers; without one the program runs silently (sounds still load, so a missing
// file is still told apart, and Play does nothing audible).
class Sound {
public:
    // Nothing (nullptr) when the file is missing or is no readable WAV.
    static std::shared_ptr<Sound> Open(const std::string& path);

    // A sound with no samples; tests use it to observe what would be played.
    explicit Sound(std::string name);
    virtual ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    const std::string& Name() const { return name_; }

    // 0 (silent) to 100 (full), a linear gain; taken when `Play` starts the sound.
    std::int32_t Volume = 100;

    // Starts playing on a free mixer channel and returns at once. Sounds started together play
    // together, and a sound started again while it still plays overlaps with itself. Before the
    // device is ready the sound waits for it, and plays once it is, unless it would then start
    // more than a game tick (100 ms, by Microseconds) late.
    void Play();

    // Tests watch every started sound with the volume it started at; empty to stop watching.
    using PlayObserver = std::function<void(const Sound&, std::int32_t volume)>;
    static void SetPlayObserver(PlayObserver observer);

    // Sounds are about to be wanted: the device starts opening now, in the background, so that
    // the first sound finds it ready.
    static void PrepareAudio();
    // Nothing is going to play for now (the sound is muted): the device closes once what still
    // plays, or still waits for the device, has ended, which the event loop checks, and the
    // next Play opens it again.
    static void ReleaseAudio();
    // At exit: the device closes now, cutting off what still plays. An open under way is waited
    // for up to 1 s, then left to close what it opens by itself. A later Play opens it again.
    static void CloseAudio();
    // Open and ready for sounds; false while it is still opening.
    static bool AudioIsOpen();

    // For tests: every device open first waits this long (ms), as a sound server that answers
    // slowly would.
    static void SimulateSlowDevice(int ms);
    // For tests: the thread that opens the device can't be made (EAGAIN), as when the process is
    // at its limit of threads.
    static void SimulateThreadRefused(bool refused);

private:
    struct Samples;
    std::string name_;
    std::unique_ptr<Samples> samples_;
};

using SoundPtr = std::shared_ptr<Sound>;
