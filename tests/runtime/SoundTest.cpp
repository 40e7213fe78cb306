#include <gtest/gtest.h>

#include <QTest>

#include <dlfcn.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "EventLoop.h"
#include "Microseconds.h"
#include "ScratchFolder.h"
#include "Sound.h"

namespace {
const std::string kChime = std::string(TEMBROLO_SOURCE_DIR) + "/resources/SoundVolSnd.wav";
constexpr std::size_t kWavHeader = 44;  // the shipped files' samples start here

// The 16-bit samples of a file from a byte offset to its end.
std::vector<std::int16_t> SamplesOf(const std::string& path, std::size_t from = 0) {
    const std::string bytes = ReadBytes(path).value_or(std::string(from, '\0'));
    std::vector<std::int16_t> samples((bytes.size() - from) / 2);
    std::copy_n(bytes.data() + from, samples.size() * 2, reinterpret_cast<char*>(samples.data()));
    return samples;
}

// Sends the mixer's output to `file`, at the pace of a real device, afresh each time the device
// opens.
void PlayToDisk(const std::string& file) {
    Sound::CloseAudio();
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
}

// A WAV of a 16-byte fmt chunk (format tag, channels, rate, bits) and a data chunk.
std::string Wav(int tag, int channels, int rate, int bits, const std::string& data) {
    auto le = [](std::uint32_t v, int n) { return std::string(reinterpret_cast<char*>(&v), n); };
    const int frame = channels * bits / 8;
    return "RIFF" + le(36 + data.size(), 4) + "WAVEfmt " + le(16, 4) + le(tag, 2) +
           le(channels, 2) + le(rate, 4) + le(rate * frame, 4) + le(frame, 2) + le(bits, 2) +
           "data" + le(data.size(), 4) + data;
}

// A function of SDL2_mixer as the game loaded it; null before it has.
template <typename Function>
Function Mixer(const char* name) {
    void* mixer = dlopen("libSDL2_mixer-2.0.so.0", RTLD_NOW | RTLD_NOLOAD);
    return reinterpret_cast<Function>(mixer ? dlsym(mixer, name) : nullptr);
}

// How many opens of the mixer's device are not closed yet.
int MixerOpens() {
    const auto query = Mixer<int (*)(int*, std::uint16_t*, int*)>("Mix_QuerySpec");
    return query ? query(nullptr, nullptr, nullptr) : 0;
}

// The bytes of each buffer the mixer fills, from SDL2_mixer's own post-mix hook.
std::vector<int> MixedBufferBytes(int forMs) {
    using Hook = void (*)(void*, unsigned char*, int);
    const auto set = Mixer<void (*)(Hook, void*)>("Mix_SetPostMix");
    static std::mutex guard;
    static std::vector<int> sizes;  // written on the audio thread
    if (set == nullptr) {
        return {};
    }
    set(
        [](void*, unsigned char*, int bytes) {
            const std::lock_guard lock(guard);
            sizes.push_back(bytes);
        },
        nullptr);
    RunEventLoopFor(forMs);
    set(nullptr, nullptr);
    const std::lock_guard lock(guard);
    return std::exchange(sizes, {});
}

double Peak(const std::vector<std::int16_t>& samples) {
    const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
    return samples.empty() ? 0 : std::max(-1.0 * *low, 1.0 * *high);
}
}  // namespace

// The chime once at the first volume, let go at once, so that the device closes after it; then
// `copies` times at once at the second volume: the second burst's peak against the first's.
TEST(SoundTest, VolumesAndCopiesScaleTheOutputALetGoDevicePlaysOutAndAGoneOneIsNoFault) {
    const struct {
        std::int32_t firstVolume, secondVolume;
        int copies;
        double ratio;
    } cases[] = {{100, 12, 1, 0.12},  // steps 0 and 6: the softest step but two, about -18 dB
                 {100, 0, 1, 0.0},    // volume 0: silence
                 {50, 50, 2, 2.0}};   // restarted while playing: both copies sound, summed
    const std::vector<std::int16_t> wav = SamplesOf(kChime, kWavHeader);
    const ScratchFolder scratch;
    const std::string mix = scratch / "mix.raw";
    EXPECT_FALSE(Sound::AudioIsOpen());         // none at the start of the run
    SetMicrosecondsSource([] { return 0.0; });  // however long the device takes, nothing is late
    for (const auto& c : cases) {
        PlayToDisk(mix);
        SoundPtr chime = Sound::Open(kChime);
        ASSERT_NE(chime, nullptr);
        EXPECT_FALSE(Sound::AudioIsOpen());  // loading needs no device
        chime->Volume = c.firstVolume;
        chime->Play();
        Sound::ReleaseAudio();               // what was asked for still plays
        EXPECT_FALSE(Sound::AudioIsOpen());  // the device opens in the background
        RunEventLoopFor(1000);
        ASSERT_FALSE(Sound::AudioIsOpen());
        const std::vector<std::int16_t> first = SamplesOf(mix);
        // Whole, sample for sample: at full volume the mix is the sound.
        if (c.firstVolume == 100) {
            EXPECT_NE(std::search(first.begin(), first.end(), wav.begin(), wav.end()), first.end());
        }
        chime->Volume = c.secondVolume;
        for (int copy = 0; copy < c.copies; ++copy) {
            chime->Play();  // opens the device again, on a fresh file
        }
        Sound::ReleaseAudio();
        chime->Volume = 0;
        chime->Play();  // wanted again before the release's check: the device stays open
        RunEventLoopFor(1000);
        EXPECT_TRUE(Sound::AudioIsOpen());
        chime.reset();
        Sound::CloseAudio();  // flushes and closes the file
        ASSERT_GT(Peak(first), 5000) << "the first chime never reached the output";
        EXPECT_NEAR(Peak(SamplesOf(mix)) / Peak(first), c.ratio, 0.12 * c.ratio);  // ~1 dB
    }

    // The device gone: a closed device is looked for afresh at the next Play, and good files
    // still load and report their plays.
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    WriteBytes(scratch / "junk.wav", "not a sound");
    WriteBytes(scratch / "unknown.wav", Wav(0x1234, 1, 44100, 16, std::string(8, '\1')));
    WriteBytes(scratch / "stereo.wav", Wav(1, 2, 22050, 8, std::string(8, '\x90')));
    std::string oddEnd = Wav(1, 1, 44100, 16, "x");  // an odd last chunk without its pad byte
    WriteBytes(scratch / "odd.wav", oddEnd.replace(oddEnd.find("data"), 4, "junk"));
    WriteBytes(scratch / "avi.wav", Wav(1, 1, 44100, 16, "\1\1").replace(8, 4, "AVI "));
    // Unknown: a format tag that SDL does not know; AVI: a RIFF file, but no WAVE.
    EXPECT_EQ((std::array{Sound::Open("/nonexistent/EndSnd.wav"), Sound::Open(""),
                          Sound::Open(scratch / "junk.wav"), Sound::Open(scratch / "unknown.wav"),
                          Sound::Open(scratch / "odd.wav"), Sound::Open(scratch / "avi.wav")}),
              (std::array<SoundPtr, 6>{}));
    EXPECT_NE(Sound::Open(scratch / "stereo.wav"), nullptr);  // converted by SDL
    std::vector<std::pair<std::string, std::int32_t>> started;
    Sound::SetPlayObserver([&started](const Sound& sound, std::int32_t volume) {
        started.emplace_back(sound.Name(), volume);
    });

    SoundPtr chime = Sound::Open(kChime);
    ASSERT_NE(chime, nullptr);
    chime->Volume = 35;
    testing::internal::CaptureStderr();
    for (int play = 0; play < 2; ++play) {  // a device found missing is not looked for again
        Sound::PrepareAudio();
        chime->Play();
        RunEventLoopFor(200);
        EXPECT_FALSE(Sound::AudioIsOpen());
    }
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_NE(told.find("without sound"), std::string::npos) << told;
    EXPECT_EQ(told.find("without sound"), told.rfind("without sound")) << told;

    Sound::SetPlayObserver(nullptr);
    Sound::CloseAudio();

    // No thread to open the device with (the process at its limit of threads) is a missing
    // device: told once, the game plays on, the close is clean, and the next open works.
    PlayToDisk(mix);
    Sound::SimulateThreadRefused(true);
    testing::internal::CaptureStderr();
    for (int play = 0; play < 2; ++play) {
        EXPECT_NO_THROW(chime->Play());
        EXPECT_NO_THROW(Sound::PrepareAudio());
        RunEventLoopFor(50);
        EXPECT_FALSE(Sound::AudioIsOpen());
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "tembrolo: no audio (no thread to open the device: Resource temporarily "
              "unavailable); playing without sound\n");
    EXPECT_NO_THROW(Sound::CloseAudio());
    Sound::SimulateThreadRefused(false);
    chime->Play();
    EXPECT_TRUE(QTest::qWaitFor(Sound::AudioIsOpen));
    Sound::CloseAudio();
    SetMicrosecondsSource({});
    EXPECT_EQ(started, (std::vector<std::pair<std::string, std::int32_t>>{{"SoundVolSnd", 35},
                                                                          {"SoundVolSnd", 35}}));
}

// A device that takes 300 ms to open: Play returns at once, and the sound plays once the device
// is ready if it is at most a tick (100 ms) late by then, else not at all. One opened ahead of the
// sounds stays open for them. Closes during an open leave nothing open.
TEST(SoundTest, ASoundWaitsForASlowDeviceForATickAtMost) {
    double now = 0;  // µs
    SetMicrosecondsSource([&now] { return now; });
    Sound::SimulateSlowDevice(300);
    const ScratchFolder scratch;
    const std::string mix = scratch / "mix.raw";
    PlayToDisk(mix);
    Sound::PrepareAudio();  // for sounds to come: once open, it stays so
    ASSERT_TRUE(QTest::qWaitFor(Sound::AudioIsOpen));
    RunEventLoopFor(300);
    EXPECT_TRUE(Sound::AudioIsOpen());
    for (const auto& [late, plays] : {std::pair{100000.0, true}, std::pair{100001.0, false}}) {
        PlayToDisk(mix);
        SoundPtr chime = Sound::Open(kChime);
        now = 1e6;
        const auto asked = std::chrono::steady_clock::now();
        chime->Play();
        EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::milliseconds(100));
        now = 1e6 + late;
        ASSERT_TRUE(QTest::qWaitFor(Sound::AudioIsOpen));
        // 1024 frames of 2 bytes (23 ms): a sound is heard at most two buffers after its tick.
        const std::vector<int> buffers = MixedBufferBytes(500);
        ASSERT_FALSE(buffers.empty());
        EXPECT_EQ(*std::max_element(buffers.begin(), buffers.end()), 2048);
        chime.reset();
        Sound::CloseAudio();
        EXPECT_EQ(Peak(SamplesOf(mix)) > 5000, plays) << late;
    }

    // A close while the device opens waits for it and closes it; one that would wait more than
    // 1 s leaves the open to finish, and close what it opened, alone, and none begins meanwhile.
    for (const int slowMs : {300, 1500}) {
        Sound::SimulateSlowDevice(slowMs);
        SoundPtr chime = Sound::Open(kChime);
        chime->Play();
        const auto closing = std::chrono::steady_clock::now();
        Sound::CloseAudio();
        EXPECT_LT(std::chrono::steady_clock::now() - closing, std::chrono::milliseconds(1400));
        EXPECT_EQ(MixerOpens(), 0) << slowMs;
        Sound::SimulateSlowDevice(0);
        chime->Play();
        RunEventLoopFor(100);
        EXPECT_EQ(Sound::AudioIsOpen(), slowMs == 300) << slowMs;
        RunEventLoopFor(1000);
        chime->Play();
        EXPECT_TRUE(QTest::qWaitFor(Sound::AudioIsOpen));
        chime.reset();
        Sound::CloseAudio();
        EXPECT_EQ(MixerOpens(), 0) << slowMs;
    }
    SetMicrosecondsSource({});
}
