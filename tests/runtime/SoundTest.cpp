#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ScratchFolder.h"
#include "Sound.h"

namespace fs = std::filesystem;

namespace {
const std::string kChime = std::string(TEMBROLO_SOURCE_DIR) + "/resources/SoundVolSnd.wav";
// Longer than the chime (0.45 s), so each burst is over before the next starts.
constexpr auto kLetItRing = std::chrono::milliseconds(700);

// Sends the mixer's output to a raw file, at the pace of a real device: closes the device, so
// that the next Sound::Open opens it anew on the disk.
class DiskAudio {
public:
    DiskAudio() {
        Sound::CloseAudio();
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", file_.c_str(), 1);
    }
    std::uintmax_t BytesSoFar() const { return fs::file_size(file_); }

    // The 16-bit samples written between two byte offsets (end 0: to the end).
    std::vector<std::int16_t> Samples(std::uintmax_t from, std::uintmax_t to = 0) const {
        const std::string bytes = ReadBytes(file_).value_or("");
        to = to == 0 ? bytes.size() : to;
        std::vector<std::int16_t> samples((to - from) / 2);
        std::copy_n(bytes.data() + from, samples.size() * 2,
                    reinterpret_cast<char*>(samples.data()));
        return samples;
    }

private:
    ScratchFolder folder_;
    std::string file_ = folder_ / "mix.raw";
};

double Peak(const std::vector<std::int16_t>& samples) {
    int peak = 0;
    for (std::int16_t s : samples) {
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    }
    return peak;
}

double Decibels(double ratio) {
    return 20 * std::log10(ratio);
}

struct Bursts {
    double first, second;  // peak sample of each
};

// Sends the chime to disk once at `firstVolume`, then `copies` times at once at `secondVolume`,
// each burst over before the next, and reads the peak of each burst from the output.
Bursts PlayTwoBursts(std::int32_t firstVolume, std::int32_t secondVolume, int copies) {
    DiskAudio disk;
    SoundPtr chime = Sound::Open(kChime);
    EXPECT_NE(chime, nullptr);
    if (chime == nullptr) {
        return {0, 0};
    }
    chime->Volume = firstVolume;
    chime->Play();
    std::this_thread::sleep_for(kLetItRing);
    const std::uintmax_t between = disk.BytesSoFar() & ~std::uintmax_t{3};  // whole frames
    chime->Volume = secondVolume;
    for (int copy = 0; copy < copies; ++copy) {
        chime->Play();
    }
    std::this_thread::sleep_for(kLetItRing);
    chime.reset();
    Sound::CloseAudio();  // flushes and closes the file
    return {Peak(disk.Samples(0, between)), Peak(disk.Samples(between))};
}
}  // namespace

TEST(SoundTest, TheSoftestStepButTwoPlaysAbout18DecibelsBelowTheLoudest) {
    const Bursts peaks = PlayTwoBursts(100, 12, 1);  // steps 0 and 6
    ASSERT_GT(peaks.first, 10000) << "the loud chime never reached the output";
    EXPECT_NEAR(Decibels(peaks.second / peaks.first), Decibels(0.12), 1.0);
}

TEST(SoundTest, ASoundRestartedWhilePlayingOverlapsWithItself) {
    const Bursts peaks = PlayTwoBursts(50, 50, 2);  // twice in one tick: both copies sound, summed
    ASSERT_GT(peaks.first, 5000);
    EXPECT_NEAR(Decibels(peaks.second / peaks.first), Decibels(2.0), 1.0);
}

TEST(SoundTest, MissingOrBrokenFilesYieldNothing) {
    const ScratchFolder scratch;
    WriteBytes(scratch / "junk.wav", "not a sound");
    EXPECT_EQ(Sound::Open("/nonexistent/EndSnd.wav"), nullptr);
    EXPECT_EQ(Sound::Open(scratch / "junk.wav"), nullptr);
    EXPECT_EQ(Sound::Open(""), nullptr);
}

TEST(SoundTest, WithoutADeviceSoundsStillLoadAndReportTheirPlays) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    Sound::CloseAudio();  // so that the next Open looks for the device again
    std::vector<std::pair<std::string, std::int32_t>> started;
    Sound::SetPlayObserver([&started](const Sound& sound, std::int32_t volume) {
        started.emplace_back(sound.Name(), volume);
    });

    SoundPtr chime = Sound::Open(kChime);
    ASSERT_NE(chime, nullptr);
    chime->Volume = 35;
    chime->Play();

    Sound::SetPlayObserver(nullptr);
    EXPECT_EQ(started, (std::vector<std::pair<std::string, std::int32_t>>{{"SoundVolSnd", 35}}));
}
