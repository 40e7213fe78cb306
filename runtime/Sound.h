#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// A sound effect loaded from a WAV file, played through the audio device (SDL2_mixer). Loading
// needs no device: the device opens at the first Play that has samples to play, so it never
// holds up the start, and without one the program runs silently (sounds still load, so a
// missing file is still told apart, and Play does nothing audible).
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
    // together, and a sound started again while it still plays overlaps with itself.
    void Play();

    // Tests watch every started sound with the volume it started at; empty to stop watching.
    using PlayObserver = std::function<void(const Sound&, std::int32_t volume)>;
    static void SetPlayObserver(PlayObserver observer);

    // Nothing is going to play for now (the sound is muted): the device closes once what still
    // plays has ended, which the event loop checks, and the next Play opens it again.
    static void ReleaseAudio();
    // At exit: the device closes now, cutting off what still plays. A later Play opens it again.
    static void CloseAudio();
    static bool AudioIsOpen();

private:
    struct Samples;
    std::string name_;
    std::unique_ptr<Samples> samples_;
};

using SoundPtr = std::shared_ptr<Sound>;
