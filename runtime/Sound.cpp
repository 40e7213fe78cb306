#include "Sound.h"

#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "RegularFile.h"
#include "SdlAudioLibrary.h"

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
// The shipped sounds are a few hundred KB; far more is no sound of ours.
constexpr std::size_t kMaxFileBytes = 32 * 1024 * 1024;
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

const SdlAudioLibrary& Sdl() {
    return *SdlAudioLibrary::Get();  // only once the device is open, or the file needed SDL
}

// One line on stderr, then the game plays on without sound.
bool NoSound(const char* what, const char* why) {
    std::fprintf(stderr, "tembrolo: %s (%s); playing without sound\n", what, why);
    return false;
}

bool OpenDevice() {
    const SdlAudioLibrary* sdl = SdlAudioLibrary::Get();
    if (sdl == nullptr) {
        return NoSound("no audio", SdlAudioLibrary::LoadError().c_str());
    }
    if (sdl->InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return NoSound("no audio", sdl->GetError());
    }
    if (sdl->OpenAudioDevice(kFrequency, kFormat, kChannels, kBufferFrames, nullptr, 0) != 0) {
        NoSound("no audio device", sdl->GetError());
        sdl->QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    sdl->AllocateChannels(kMixerChannels);
    return true;
}

void CloseDevice() {
    AudioState& state = State();
    if (state.open) {
        Sdl().CloseAudio();
        Sdl().QuitSubSystem(SDL_INIT_AUDIO);
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
    if (state.open && Sdl().Playing(-1) > 0) {
        ScheduleIdleCheck();
        return;
    }
    CloseDevice();
}

std::uint32_t Little(const std::string& bytes, std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

// Where the samples of a well-formed WAV in the device's own format (PCM, 16-bit little-endian,
// mono, 44.1 kHz: the shipped files) lie in its bytes, found without SDL. False for anything
// else, which SDL then reads: SDL takes every file this takes, with the same samples.
bool FindDeviceFormatSamples(const std::string& bytes, std::size_t& at, std::uint32_t& length) {
    if (SDL_BYTEORDER != SDL_LIL_ENDIAN || bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 ||
        bytes.compare(8, 4, "WAVE") != 0) {
        return false;
    }
    bool format = false;
    for (std::size_t chunk = 12; chunk + 8 <= bytes.size();) {
        const std::size_t body = chunk + 8;
        const std::uint32_t size = Little(bytes, chunk + 4, 4);
        if (size > bytes.size() - body) {
            return false;  // cut short: how much of it counts is SDL's to say
        }
        if (bytes.compare(chunk, 4, "fmt ") == 0) {
            format = size >= 16 && Little(bytes, body, 2) == 1 &&
                     Little(bytes, body + 2, 2) == kChannels &&
                     Little(bytes, body + 4, 4) == kFrequency &&
                     Little(bytes, body + 12, 2) == kFrameBytes &&
                     Little(bytes, body + 14, 2) == 16;
            if (!format) {
                return false;
            }
        } else if (bytes.compare(chunk, 4, "data") == 0) {
            at = body;
            length = size - size % kFrameBytes;
            return format;
        }
        chunk = body + size + size % 2;  // chunks keep an even length
    }
    return false;
}

// Any other WAV, read from the file's bytes (the file is not opened again) and converted to
// the device's format by SDL. Null when SDL can't.
Uint8* ConvertedSamples(const std::string& file, Uint32& bytes) {
    const SdlAudioLibrary* sdl = SdlAudioLibrary::Get();
    SDL_AudioSpec spec;
    Uint8* data = nullptr;
    if (sdl == nullptr ||
        sdl->LoadWAV_RW(sdl->RWFromConstMem(file.data(), static_cast<int>(file.size())), 1, &spec,
                        &data, &bytes) == nullptr) {
        return nullptr;
    }
    SDL_AudioCVT cvt;
    const int needed = sdl->BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, kFormat,
                                          kChannels, kFrequency);
    if (needed > 0) {
        cvt.len = static_cast<int>(bytes);
        cvt.buf = static_cast<Uint8*>(sdl->Malloc(static_cast<std::size_t>(bytes) * cvt.len_mult));
        if (cvt.buf != nullptr) {
            std::memcpy(cvt.buf, data, bytes);
        }
        sdl->Free(data);
        data = cvt.buf;
        if (data == nullptr || sdl->ConvertAudio(&cvt) != 0) {
            sdl->Free(data);
            return nullptr;
        }
        bytes = static_cast<Uint32>(cvt.len_cvt);
    } else if (needed < 0) {
        sdl->Free(data);
        return nullptr;
    }
    bytes -= bytes % kFrameBytes;
    return data;
}

// 0-100 to the mixer's 0-128, linear.
int MixerVolume(std::int32_t volume) {
    return std::clamp(volume, 0, 100) * MIX_MAX_VOLUME / 100;
}
}  // namespace

// The samples, played in place: the chunk only points at them, in the file's own bytes or in
// what SDL converted.
struct Sound::Samples {
    Samples() = default;
    ~Samples() {
        if (State().open) {
            for (int channel = 0; channel < kMixerChannels; ++channel) {
                if (Sdl().Playing(channel) != 0 && Sdl().GetChunk(channel) == &chunk) {
                    Sdl().HaltChannel(channel);
                }
            }
        }
        if (converted) {
            Sdl().Free(chunk.abuf);
        }
    }
    Samples(const Samples&) = delete;
    Samples& operator=(const Samples&) = delete;

    std::string file;
    bool converted = false;
    Mix_Chunk chunk{0, nullptr, 0, MIX_MAX_VOLUME};
};

std::shared_ptr<Sound> Sound::Open(const std::string& path) {
    std::optional<std::string> file = ReadRegularFile(path, kMaxFileBytes);
    if (!file) {
        return nullptr;
    }
    auto samples = std::make_unique<Samples>();
    samples->file = std::move(*file);
    std::size_t at = 0;
    if (FindDeviceFormatSamples(samples->file, at, samples->chunk.alen)) {
        samples->chunk.abuf = reinterpret_cast<Uint8*>(samples->file.data()) + at;
    } else {
        samples->chunk.abuf = ConvertedSamples(samples->file, samples->chunk.alen);
        samples->converted = samples->chunk.abuf != nullptr;
        samples->file = std::string();
        if (!samples->converted) {
            return nullptr;
        }
    }
    auto sound = std::make_shared<Sound>(std::filesystem::path(path).stem().string());
    sound->samples_ = std::move(samples);
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
    const SdlAudioLibrary& sdl = Sdl();
    int channel = sdl.GroupAvailable(-1);
    if (channel < 0) {
        channel = sdl.GroupOldest(-1);  // every channel busy: the oldest sound gives way
    }
    if (channel < 0) {
        return;
    }
    sdl.Volume(channel, MixerVolume(Volume));
    sdl.PlayChannelTimed(channel, &samples_->chunk, 0, -1);
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
