#include "Sound.h"

#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "Microseconds.h"
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
// 1024 frames (23 ms): a sound started in a tick is heard within two buffers, 46 ms at worst,
// for a mixer that wakes about 43 times a second.
constexpr int kBufferFrames = 1024;
// Enough mixer channels that a thunderclap, its rumble and a full queue of 16 still overlap.
constexpr int kMixerChannels = 32;
// The shipped sounds are a few hundred KB; far more is no sound of ours.
constexpr std::size_t kMaxFileBytes = 32 * 1024 * 1024;
// A device that nothing needs closes at the first of these checks that finds nothing playing,
// so the last sound's tail has left the device's buffers first.
constexpr int kIdleCheckMs = 150;
// How often the event loop looks whether a device being opened is ready.
constexpr int kOpenPollMs = 5;
// A sound asked for while the device opens plays once it is ready, unless it would start more
// than a game tick (µs) late by then: a sound that late would belong to another moment.
constexpr double kLatestStartUs = 100000;
// At exit, an open still under way is waited for this long (ms), then left to finish alone.
constexpr int kCloseWaitMs = 1000;

// One opening of the device, on a thread of its own: loading SDL and opening a device take
// milliseconds at best, and as long as a sound server takes to answer at worst.
struct OpenJob {
    std::mutex mutex;
    std::atomic<bool> done{false};
    bool opened = false;
    bool abandoned = false;  // nobody waits for it: a device it opens, it closes again itself
};

// A sound asked for before the device was ready, with the volume and time (µs) of the asking.
struct PendingPlay {
    Mix_Chunk* chunk;
    std::int32_t volume;
    double askedAt;
};

struct AudioState {
    AudioState() = default;
    AudioState(const AudioState&) = delete;
    AudioState& operator=(const AudioState&) = delete;
    // At exit without CloseAudio (tests): an opener not yet joined is left to end with the process.
    ~AudioState() {
        if (opener.joinable()) {
            opener.detach();
        }
    }

    bool open = false;
    bool missing = false;  // opening failed: not tried again until CloseAudio, so one warning
    bool wanted = false;   // a sound has played since the last ReleaseAudio
    bool checkPending = false;
    std::shared_ptr<OpenJob> job;        // the open under way, if any
    std::thread opener;                  // its thread, joined once it is done
    std::shared_ptr<OpenJob> abandoned;  // an open left running at a close; none begins meanwhile
    std::vector<PendingPlay> pending;
    int slowDeviceMs = 0;
    bool threadRefused = false;
    Sound::PlayObserver observer;
};

// At namespace scope, so that it is made before, and goes after, the sounds that statics made
// later hold (the sound items): samples let go of their waiting plays as they go.
AudioState gAudio;

AudioState& State() {
    return gAudio;
}

const SdlAudioLibrary& Sdl() {
    return *SdlAudioLibrary::Get();  // only once the device is open, or the file needed SDL
}

// One line on stderr, then the game plays on without sound.
bool NoSound(const char* what, const char* why) {
    std::fprintf(stderr, "tembrolo: %s (%s); playing without sound\n", what, why);
    return false;
}

// On the opener's thread.
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

void ShutDevice() {
    Sdl().CloseAudio();
    Sdl().QuitSubSystem(SDL_INIT_AUDIO);
}

void CloseDevice() {
    AudioState& state = State();
    if (state.open) {
        ShutDevice();
        state.open = false;
    }
}

void RunOpenJob(const std::shared_ptr<OpenJob>& job, int slowDeviceMs) {
    std::this_thread::sleep_for(std::chrono::milliseconds(slowDeviceMs));
    const bool opened = OpenDevice();
    const std::lock_guard lock(job->mutex);
    job->opened = opened;
    if (opened && job->abandoned) {
        ShutDevice();
    }
    job->done = true;
}

// The volume goes on the channel, not the chunk: the mixer reads a chunk's volume on every pass,
// so a restart at another volume would also change the copy that is still playing.
void StartOnChannel(Mix_Chunk& chunk, std::int32_t volume) {
    const SdlAudioLibrary& sdl = Sdl();
    int channel = sdl.GroupAvailable(-1);
    if (channel < 0) {
        channel = sdl.GroupOldest(-1);  // every channel busy: the oldest sound gives way
    }
    if (channel < 0) {
        return;
    }
    sdl.Volume(channel, std::clamp(volume, 0, 100) * MIX_MAX_VOLUME / 100);  // linear
    sdl.PlayChannelTimed(channel, &chunk, 0, -1);
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

// The opener is done: the device is open or missing, and what was asked for meanwhile plays,
// unless it is too late for it now.
void FinishOpen() {
    AudioState& state = State();
    state.opener.join();
    state.open = state.job->opened;
    state.missing = !state.open;
    state.job.reset();
    const double now = Microseconds();
    for (const PendingPlay& play : state.pending) {
        if (state.open && now - play.askedAt <= kLatestStartUs) {
            StartOnChannel(*play.chunk, play.volume);
        }
    }
    state.pending.clear();
    if (!state.wanted) {
        ScheduleIdleCheck();
    }
}

void PollOpener() {
    AudioState& state = State();
    if (!state.job) {
        return;
    }
    if (state.job->done) {
        FinishOpen();
    } else {
        QTimer::singleShot(kOpenPollMs, PollOpener);
    }
}

std::thread StartOpener(const std::shared_ptr<OpenJob>& job) {
    const AudioState& state = State();
    if (state.threadRefused) {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    }
    return std::thread(RunOpenJob, job, state.slowDeviceMs);
}

void BeginOpen() {
    AudioState& state = State();
    if (state.open || state.missing || state.job) {
        return;
    }
    if (state.abandoned && !state.abandoned->done) {
        return;  // two opens at once would race inside SDL
    }
    state.abandoned.reset();
    auto job = std::make_shared<OpenJob>();
    try {
        state.opener = StartOpener(job);
    } catch (const std::system_error& error) {
        // Without a thread to open it, the device is as good as missing, till CloseAudio.
        state.missing = true;
        NoSound("no audio", ("no thread to open the device: " + error.code().message()).c_str());
        return;
    }
    state.job = std::move(job);
    QTimer::singleShot(kOpenPollMs, PollOpener);
}

// Waits a while for an open under way; one that takes longer is left to finish, and to close
// what it opened, on its own.
void SettleOpen() {
    AudioState& state = State();
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kCloseWaitMs);
    while (state.job && !state.job->done && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (!state.job) {
        return;
    }
    {
        const std::lock_guard lock(state.job->mutex);
        state.job->abandoned = !state.job->done;
    }
    if (state.job->abandoned) {
        state.opener.detach();
        state.abandoned = std::move(state.job);
        return;
    }
    FinishOpen();
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

}  // namespace

// The samples, played in place: the chunk only points at them, in the file's own bytes or in
// what SDL converted.
struct Sound::Samples {
    Samples() = default;
    ~Samples() {
        std::erase_if(State().pending,
                      [this](const PendingPlay& play) { return play.chunk == &chunk; });
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
    AudioState& state = State();
    if (state.observer) {
        state.observer(*this, Volume);
    }
    if (!samples_) {
        return;
    }
    state.wanted = true;
    if (state.open) {
        StartOnChannel(samples_->chunk, Volume);
        return;
    }
    if (state.missing) {
        return;
    }
    // Until the device is ready; what has waited too long already can't play any more.
    const double now = Microseconds();
    std::erase_if(state.pending,
                  [now](const PendingPlay& play) { return now - play.askedAt > kLatestStartUs; });
    state.pending.push_back({&samples_->chunk, Volume, now});
    BeginOpen();
}

void Sound::SetPlayObserver(PlayObserver observer) {
    State().observer = std::move(observer);
}

void Sound::PrepareAudio() {
    State().wanted = true;  // kept open for the sounds to come, not let go as soon as it opens
    BeginOpen();
}

void Sound::ReleaseAudio() {
    State().wanted = false;
    ScheduleIdleCheck();
}

void Sound::CloseAudio() {
    AudioState& state = State();
    state.wanted = false;
    state.pending.clear();
    SettleOpen();
    state.missing = false;
    state.checkPending = false;  // a check still waiting finds the device closed, or wanted again
    CloseDevice();
}

bool Sound::AudioIsOpen() {
    return State().open;
}

void Sound::SimulateSlowDevice(int ms) {
    State().slowDeviceMs = ms;
}

void Sound::SimulateThreadRefused(bool refused) {
    State().threadRefused = refused;
}
