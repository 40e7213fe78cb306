#include "Sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

namespace {
constexpr int kFrequency = 44100;
constexpr int kOutputChannels = 2;
constexpr int kBufferFrames = 1024;  // about 23 ms at 44.1 kHz
// Enough mixer channels that a thunderclap, its rumble and a full queue of 16 still overlap.
constexpr int kMixerChannels = 32;

// The open audio device. Every loaded sound shares it, so it closes only after the last
// chunk has been freed, whatever order the program's statics are destroyed in.
class AudioDevice {
public:
    AudioDevice() = default;
    ~AudioDevice() {
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;
};

struct AudioState {
    std::shared_ptr<AudioDevice> device;
    bool tried = false;  // the device is opened (or found missing) once, until CloseAudio
    Sound::PlayObserver observer;
};

AudioState& State() {
    static AudioState state;
    return state;
}

std::shared_ptr<AudioDevice> OpenDevice() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "tembrolo: no audio (%s); playing without sound\n", SDL_GetError());
        return nullptr;
    }
    if (Mix_OpenAudio(kFrequency, AUDIO_S16SYS, kOutputChannels, kBufferFrames) != 0) {
        std::fprintf(stderr, "tembrolo: no audio device (%s); playing without sound\n",
                     Mix_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    Mix_AllocateChannels(kMixerChannels);
    return std::make_shared<AudioDevice>();
}

std::shared_ptr<AudioDevice> Device() {
    AudioState& state = State();
    if (!state.tried) {
        state.tried = true;
        state.device = OpenDevice();
    }
    return state.device;
}

// Without a device the file is still checked, so a missing or broken file stays "nothing".
bool IsReadableWav(const std::string& path) {
    SDL_AudioSpec spec;
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV(path.c_str(), &spec, &buffer, &length) == nullptr) {
        return false;
    }
    SDL_FreeWAV(buffer);
    return true;
}

// 0-100 to the mixer's 0-128, linear.
int MixerVolume(std::int32_t volume) {
    return std::clamp(volume, 0, 100) * MIX_MAX_VOLUME / 100;
}
}  // namespace

struct Sound::Samples {
    Samples(Mix_Chunk* loaded, std::shared_ptr<AudioDevice> on)
        : chunk(loaded), device(std::move(on)) {}
    ~Samples() { Mix_FreeChunk(chunk); }  // before `device` lets go of the mixer
    Samples(const Samples&) = delete;
    Samples& operator=(const Samples&) = delete;

    Mix_Chunk* chunk;
    std::shared_ptr<AudioDevice> device;
};

std::shared_ptr<Sound> Sound::Open(const std::string& path) {
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error)) {
        return nullptr;
    }
    auto sound = std::make_shared<Sound>(std::filesystem::path(path).stem().string());
    if (auto device = Device()) {
        Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
        if (chunk == nullptr) {
            return nullptr;
        }
        sound->samples_ = std::make_unique<Samples>(chunk, std::move(device));
    } else if (!IsReadableWav(path)) {
        return nullptr;
    }
    return sound;
}

Sound::Sound(std::string name) : name_(std::move(name)) {}
Sound::~Sound() = default;

void Sound::Play() {
    if (State().observer) {
        State().observer(*this, Volume);
    }
    if (!samples_) {
        return;
    }
    // The volume goes on the channel, not the chunk: the mixer reads a chunk's volume on every
    // pass, so a restart at another volume would also change the copy that is still playing.
    int channel = Mix_GroupAvailable(-1);
    if (channel < 0) {
        channel = Mix_GroupOldest(-1);  // every channel busy: the oldest sound gives way
    }
    if (channel < 0) {
        return;
    }
    Mix_Volume(channel, MixerVolume(Volume));
    Mix_PlayChannel(channel, samples_->chunk, 0);
}

void Sound::SetPlayObserver(PlayObserver observer) {
    State().observer = std::move(observer);
}

void Sound::CloseAudio() {
    AudioState& state = State();
    state.tried = false;
    state.device.reset();
}
