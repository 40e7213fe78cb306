#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "EventLoop.h"
#include "Microseconds.h"
#include "SoundPlayer.h"

namespace {
using Started = std::vector<std::pair<std::string, std::int32_t>>;

// A player whose clock the test sets, with every started sound recorded as (name, volume).
class SoundPlayerTest : public testing::Test {
protected:
    void SetUp() override {
        SetMicrosecondsSource([this] { return now; });
        Sound::SetPlayObserver([this](const Sound& sound, std::int32_t volume) {
            started.emplace_back(sound.Name(), volume);
        });
    }
    void TearDown() override {
        Sound::SetPlayObserver(nullptr);
        SetMicrosecondsSource(nullptr);
    }

    static SoundPtr Named(const std::string& name) { return std::make_shared<Sound>(name); }

    std::vector<std::string> StartedNames() const {
        std::vector<std::string> names;
        for (const auto& [name, volume] : started) {
            names.push_back(name);
        }
        return names;
    }

    double now = 0;
    Started started;
    SoundPlayer player;
};

using Names = std::vector<std::string>;
}  // namespace

TEST_F(SoundPlayerTest, HigherPrioritiesPlayFirstAndEqualOnesKeepTheirOrder) {
    player.PushQueue(Named("first 5"), 5);
    player.PushQueue(Named("first 8"), 8);
    player.PushQueue(Named("second 5"), 5);
    player.PushQueue(Named("second 8"), 8);
    ASSERT_EQ(player.RefQueueBound(), 3);
    EXPECT_EQ(player.RefQueuedPriority(0), 8);
    EXPECT_EQ(player.RefQueuedPriority(3), 5);

    player.PlayQueue();

    EXPECT_EQ(StartedNames(), (Names{"first 8", "second 8", "first 5", "second 5"}));
    EXPECT_EQ(player.RefQueueBound(), -1);
    EXPECT_EQ(player.RefQueued(0), nullptr);
    EXPECT_EQ(player.RefQueuedPriority(0), 0);
}

TEST_F(SoundPlayerTest, PushesWithoutASoundOrAPositivePriorityOrBeyondSixteenAreIgnored) {
    player.PushQueue(nullptr, 5);
    player.PushQueue(Named("zero"), 0);
    player.PushQueue(Named("negative"), -3);
    EXPECT_EQ(player.RefQueueBound(), -1);
    for (int i = 0; i < 16; ++i) {
        player.PushQueue(Named("low " + std::to_string(i)), 1);
    }
    player.PushQueue(Named("urgent"), 9);  // the 17th: dropped whatever its priority
    EXPECT_EQ(player.RefQueueBound(), 15);

    player.PlayQueue();

    ASSERT_EQ(started.size(), 16u);
    EXPECT_EQ(started.front().first, "low 0");
    EXPECT_EQ(started.back().first, "low 15");
}

TEST_F(SoundPlayerTest, PriorityModePlaysHighBandKeepsMiddleBandAndDropsLowBand) {
    player.SetPriorityMode(true);
    for (int priority : {3, 5, 9, 4, 7}) {
        player.PushQueue(Named(std::to_string(priority)), priority);
    }

    player.PlayQueue();
    EXPECT_EQ(StartedNames(), (Names{"9", "7"}));
    ASSERT_EQ(player.RefQueueBound(), 1);
    EXPECT_EQ(player.RefQueued(0)->Name(), "5");
    EXPECT_EQ(player.RefQueued(1)->Name(), "4");
    EXPECT_EQ(player.RefQueued(2), nullptr);

    player.PlayQueue();
    EXPECT_EQ(StartedNames(), (Names{"9", "7", "5"}));
    ASSERT_EQ(player.RefQueueBound(), 0);
    EXPECT_EQ(player.RefQueued(0)->Name(), "4");

    player.PlayQueue();
    EXPECT_EQ(StartedNames(), (Names{"9", "7", "5", "4"}));
    EXPECT_EQ(player.RefQueueBound(), -1);

    // The first entry plays whatever its band; a low one behind it is dropped.
    player.PushQueue(Named("2"), 2);
    player.PushQueue(Named("3"), 3);
    player.PlayQueue();
    EXPECT_EQ(StartedNames(), (Names{"9", "7", "5", "4", "3"}));
    EXPECT_EQ(player.RefQueueBound(), -1);
}

TEST_F(SoundPlayerTest, TheFillerPlaysOnlyAfterMoreThanOneSecondWithoutAnySound) {
    player.SetSacrifice(Named("silence"), 10);
    now = 1000000;  // exactly 1 s after the start (LastPlayTime 0)
    player.PlayQueue();
    EXPECT_TRUE(started.empty());
    now = 1000001;
    player.PlayQueue();
    EXPECT_EQ(StartedNames(), (Names{"silence"}));
    EXPECT_EQ(player.RefLastPlayTime(), 1000001);
    now = 2000001;  // exactly 1 s after the filler itself
    player.PlayQueue();
    now = 2000002;
    player.PushQueue(Named("thunder"), 8);  // a queued sound stands in for the filler
    player.PlayQueue();
    now = 3000002;  // and counts as sound: no filler within the next second
    player.PlayQueue();
    EXPECT_EQ(StartedNames(), (Names{"silence", "thunder"}));
    now = 3000003;
    player.PlayQueue();
    EXPECT_EQ(StartedNames(), (Names{"silence", "thunder", "silence"}));
}

TEST_F(SoundPlayerTest, MutingDiscardsTheQueueAndLeavesTheLastPlayTime) {
    player.SetSacrifice(Named("silence"), 10);
    now = 300;
    player.Play(Named("sample"));
    ASSERT_EQ(player.RefLastPlayTime(), 300);

    player.SetVolume(9);
    now = 5000000;
    player.PushQueue(Named("thunder"), 8);
    player.PushQueue(Named("gong"), 5);
    player.PlayQueue();
    EXPECT_EQ(player.RefQueueBound(), -1);
    player.PlayQueue();  // a muted filler plays nothing either
    EXPECT_EQ(player.RefLastPlayTime(), 300);

    player.SetVolume(0);
    player.SetSacrifice(nullptr, 10);
    player.PlayQueue();  // nothing of the old queue comes back
    EXPECT_EQ(StartedNames(), (Names{"sample"}));
}

TEST_F(SoundPlayerTest, EachStepPlaysAtItsVolumeAndMutedPlaysLeaveTheSoundAlone) {
    const std::int32_t volumes[] = {100, 70, 50, 35, 25, 17, 12, 8, 6};
    SoundPtr sample = Named("sample");
    for (std::int32_t step = 0; step < 9; ++step) {
        player.SetVolume(step);
        player.Play(sample);
        ASSERT_EQ(started.back().second, volumes[step]) << "step " << step;
    }
    sample->Volume = 42;
    player.SetVolume(9);
    player.Play(sample);
    EXPECT_EQ(started.size(), 9u);
    EXPECT_EQ(sample->Volume, 42);
    player.Play(nullptr);  // the volume menu's sample may be missing
}

// Every index outside the steps mutes, and so does SetEnable(false); either lets the audio device
// go, and only the next sound opens it again.
TEST_F(SoundPlayerTest, MutingLetsTheAudioDeviceGoUntilTheNextSound) {
    SoundPtr silence = Sound::Open(std::string(TEMBROLO_SOURCE_DIR) + "/resources/SilenceSnd.wav");
    const std::pair<std::function<void()>, std::int32_t> mutes[] = {
        {[this] { player.SetVolume(9); }, 9},
        {[this] { player.SetVolume(-1); }, 9},
        {[this] { player.SetVolume(10); }, 9},
        {[this] { player.SetEnable(false); }, 99}};
    for (const auto& [mute, index] : mutes) {
        player.SetVolume(3);
        player.Play(silence);
        ASSERT_TRUE(Sound::AudioIsOpen());
        mute();
        EXPECT_FALSE(player.RefEnable()) << index;
        EXPECT_EQ(player.RefSoundVolume(), 0) << index;
        EXPECT_EQ(player.RefVolume(), index);
        EXPECT_EQ(player.SaveData(), "0") << index;
        RunEventLoopFor(300);
        EXPECT_FALSE(Sound::AudioIsOpen()) << index;
    }
    player.SetEnable(true);  // full volume, and still no device
    EXPECT_EQ(player.RefVolume(), 0);
    EXPECT_EQ(player.RefSoundVolume(), 100);
    EXPECT_EQ(player.SaveData(), "A");
    EXPECT_FALSE(Sound::AudioIsOpen());
    Sound::CloseAudio();
}

TEST_F(SoundPlayerTest, RestoreDataReadsTheTenCodesAndTakesAnythingElseAsLoudest) {
    const std::pair<std::string, std::int32_t> cases[] = {
        {"A", 0}, {"C", 2}, {"I", 8}, {"0", 9}, {"1", 0}, {"", 0}, {"a", 0}, {"AB", 0}, {"J", 0}};
    for (const auto& [code, index] : cases) {
        player.SetVolume(5);
        player.RestoreData(code);
        EXPECT_EQ(player.RefVolume(), index) << '"' << code << '"';
    }
    player.RestoreData("1");
    EXPECT_EQ(player.SaveData(), "A");
    player.RestoreData("G");
    EXPECT_EQ(player.SaveData(), "G");
    EXPECT_EQ(player.RefSoundVolume(), 12);
}
