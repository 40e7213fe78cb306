#include "Sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

namespace {
// The shipped sounds are 44.1 kHz 16-bit mono, and the device is opened in exactly that format
// (SDL converts for hardware that wants another), so they play straight from their files'
// samples: no stereo copy, no conversion.
constexpr int kFrequency = 44100;
constexpr SDL_AudioFormat kFormat = AUDIO_S16SYS;
constexpr int kChannels = 1;
constexpr Uint32 kFrameBytes = 2;
// 2048 frames (46 ms): the mixer wakes about 22 times a second, and a sound started in a tick
// is heard within that tick (two buffers, 93 ms, at worst).
constexpr int kBufferFrames = 2048;
// Enough mixer channels that a thunderclap, its rumble and a full queue of 16 still overlap.
constexpr int kMixerChannels = 32;
// A device that nothing needs closes at the first of these checks that finds nothing playing,
// so the last sound's tail has left the device's buffers first.
constexpr int kIdleCheckMs = 150;

struct AudioState {
    bool open = false;
    bool missing = false;  // opening failed: not tried again until CloseAudio, so one warning
    bool wanted = false;   // a sound has played since the last ReleaseAudio
    bool checkPending = false;
    Sound::PlayObserver observer;
};

AudioState& State() {
    static AudioState state;
    return state;
}

bool OpenDevice() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "tembrolo: no audio (%s); playing without sound\n", SDL_GetError());
        return false;
    }
    if (Mix_OpenAudioDevice(kFrequency, kFormat, kChannels, kBufferFrames, nullptr, 0) != 0) {
        std::fprintf(stderr, "tembrolo: no audio device (%s); playing without sound\n",
                     Mix_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(kMixerChannels);
    return true;
}

void CloseDevice() {
    AudioState& state = State();
    if (state.open) {
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        state.open = false;
    }
}

bool UseDevice() {
    AudioState& state = State();
    state.wanted = true;
    if (!state.open && !state.missing) {
        state.open = OpenDevice();
        state.missing = !state.open;
    }
    return state.open;
}

void CheckIdle();

void ScheduleIdleCheck() {
    AudioState& state = State();
    if (state.open && !state.checkPending) {
        state.checkPending = true;
        QTimer::singleShot(kIdleCheckMs, CheckIdle);
    }
}

void CheckIdle() {
    AudioState& state = State();
    state.checkPending = false;
    if (state.wanted) {
        return;
    }
    if (state.open && Mix_Playing(-1) > 0) {
        ScheduleIdleCheck();
        return;
    }
    CloseDevice();
}

// The file's samples in the device's format: as they are for the shipped files, converted once
// for any other WAV. False when the file is no WAV that SDL can read.
bool LoadSamples(const std::string& path, Uint8*& data, Uint32& bytes) {
    SDL_AudioSpec spec;
    if (SDL_LoadWAV(path.c_str(), &spec, &data, &bytes) == nullptr) {
        return false;
    }
    SDL_AudioCVT cvt;
    const int needed = SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, kFormat,
                                         kChannels, kFrequency);
    if (needed > 0) {
        cvt.len = static_cast<int>(bytes);
        cvt.buf = static_cast<Uint8*>(SDL_malloc(static_cast<std::size_t>(bytes) * cvt.len_mult));
        if (cvt.buf != nullptr) {
            std::memcpy(cvt.buf, data, bytes);
        }
        SDL_FreeWAV(data);
        data = cvt.buf;
        if (data == nullptr || SDL_ConvertAudio(&cvt) != 0) {
            SDL_free(data);
            return false;
        }
        bytes = static_cast<Uint32>(cvt.len_cvt);
    } else if (needed < 0) {
        SDL_FreeWAV(data);
        return false;
    }
    bytes -= bytes % kFrameBytes;
    return true;
}

// 0-100 to the mixer's 0-128, linear.
int MixerVolume(std::int32_t volume) {
    return std::clamp(volume, 0, 100) * MIX_MAX_VOLUME / 100;
}
}  // namespace

// The samples as loaded, played in place: the chunk only points at them.
struct Sound::Samples {
    Samples(Uint8* data, Uint32 bytes) : chunk{0, data, bytes, MIX_MAX_VOLUME} {}
    ~Samples() {
        if (State().open) {
            for (int channel = 0; channel < kMixerChannels; ++channel) {
                if (Mix_Playing(channel) != 0 && Mix_GetChunk(channel) == &chunk) {
                    Mix_HaltChannel(channel);
                }
            }
        }
        SDL_free(chunk.abuf);
    }
    Samples(const Samples&) = delete;
    Samples& operator=(const Samples&) = delete;

    Mix_Chunk chunk;
};

std::shared_ptr<Sound> Sound::Open(const std::string& path) {
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error)) {
        return nullptr;
    }
    Uint8* data = nullptr;
    Uint32 bytes = 0;
    if (!LoadSamples(path, data, bytes)) {
        return nullptr;
    }
    auto sound = std::make_shared<Sound>(std::filesystem::path(path).stem().string());
    sound->samples_ = std::make_unique<Samples>(data, bytes);
    return sound;
}

Sound::Sound(std::string name) : name_(std::move(name)) {}
Sound::~Sound() = default;

void Sound::Play() {
    if (State().observer) {
        State().observer(*this, Volume);
    }
    if (!samples_ || !UseDevice()) {
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
    Mix_PlayChannel(channel, &samples_->chunk, 0);
}

void Sound::SetPlayObserver(PlayObserver observer) {
    State().observer = std::move(observer);
}

void Sound::ReleaseAudio() {
    State().wanted = false;
    ScheduleIdleCheck();
}

void Sound::CloseAudio() {
    AudioState& state = State();
    state.wanted = false;
    state.missing = false;
    state.checkPending = false;  // a check still waiting finds the device closed, or wanted again
    CloseDevice();
}

bool Sound::AudioIsOpen() {
    return State().open;
}
