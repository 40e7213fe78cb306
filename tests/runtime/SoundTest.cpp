#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

// Sends the mixer's output to a raw file, at the pace of a real device. Must run before the
// first Sound::Open of the process, which opens the device.
class DiskAudio {
public:
    DiskAudio() : file_(fs::temp_directory_path() / ("tembrolo-mix-" + std::to_string(getpid()))) {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", file_.c_str(), 1);
    }
    ~DiskAudio() {
        std::error_code ignored;
        fs::remove(file_, ignored);
    }
    std::uintmax_t BytesSoFar() const { return fs::file_size(file_); }

    // The 16-bit samples written between two byte offsets (end 0: to the end).
    std::vector<std::int16_t> Samples(std::uintmax_t from, std::uintmax_t to = 0) const {
        std::ifstream in(file_, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
        to = to == 0 ? bytes.size() : to;
        std::vector<std::int16_t> samples((to - from) / 2);
        std::copy_n(bytes.data() + from, samples.size() * 2,
                    reinterpret_cast<char*>(samples.data()));
        return samples;
    }

private:
    fs::path file_;
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
}  // namespace

TEST(SoundTest, TheSoftestStepButTwoPlaysAbout18DecibelsBelowTheLoudest) {
    DiskAudio disk;
    SoundPtr chime = Sound::Open(kChime);
    ASSERT_NE(chime, nullptr);

    chime->Volume = 100;  // step 0
    chime->Play();
    std::this_thread::sleep_for(kLetItRing);
    const std::uintmax_t between = disk.BytesSoFar();
    chime->Volume = 12;  // step 6
    chime->Play();
    std::this_thread::sleep_for(kLetItRing);
    chime.reset();
    Sound::CloseAudio();  // flushes and closes the file

    const double loud = Peak(disk.Samples(0, between & ~std::uintmax_t{3}));
    const double soft = Peak(disk.Samples(between & ~std::uintmax_t{3}));
    ASSERT_GT(loud, 10000) << "the loud chime never reached the output";
    EXPECT_NEAR(Decibels(soft / loud), Decibels(0.12), 1.0);
}

TEST(SoundTest, ASoundRestartedWhilePlayingOverlapsWithItself) {
    DiskAudio disk;
    SoundPtr chime = Sound::Open(kChime);
    ASSERT_NE(chime, nullptr);
    chime->Volume = 50;

    chime->Play();
    std::this_thread::sleep_for(kLetItRing);
    const std::uintmax_t between = disk.BytesSoFar();
    chime->Play();  // twice in one tick: both copies sound, summed
    chime->Play();
    std::this_thread::sleep_for(kLetItRing);
    chime.reset();
    Sound::CloseAudio();

    const double once = Peak(disk.Samples(0, between & ~std::uintmax_t{3}));
    const double twice = Peak(disk.Samples(between & ~std::uintmax_t{3}));
    ASSERT_GT(once, 5000);
    EXPECT_NEAR(Decibels(twice / once), Decibels(2.0), 1.0);
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
