#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// A sound effect loaded from a WAV file.
class Sound {
public:
    // Nothing (nullptr) when the file is missing or unreadable.
    static std::shared_ptr<Sound> Open(const std::string& path);

    // A sound with no samples; tests use it to observe what would be played.
    explicit Sound(std::string name);
    virtual ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    const std::string& Name() const { return name_; }

    // 0 (silent) to 100 (full); taken when `Play` starts the sound.
    std::int32_t Volume = 100;

    // Starts playing and returns at once.
    void Play();

    // Tests watch every started sound with the volume it started at; empty to stop watching.
    using PlayObserver = std::function<void(const Sound&, std::int32_t volume)>;
    static void SetPlayObserver(PlayObserver observer);

private:
    std::string name_;
};

using SoundPtr = std::shared_ptr<Sound>;
