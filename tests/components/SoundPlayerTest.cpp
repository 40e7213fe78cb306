#include <gtest/gtest.h>

#include <QTest>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "EventLoop.h"
#include "Microseconds.h"
#include "SoundPlayer.h"

namespace {
using Names = std::vector<std::string>;

// A player whose clock the test sets, with every started sound recorded by name and volume.
class SoundPlayerTest : public testing::Test {
protected:
    void SetUp() override {
        SetMicrosecondsSource([this] { return now; });
        Sound::SetPlayObserver([this](const Sound& sound, std::int32_t volume) {
            started.push_back(sound.Name());
            volumes.push_back(volume);
        });
    }
    void TearDown() override {
        Sound::SetPlayObserver(nullptr);
        SetMicrosecondsSource(nullptr);
    }

    static SoundPtr Named(const std::string& name) { return std::make_shared<Sound>(name); }

    double now = 0;
    Names started;
    std::vector<std::int32_t> volumes;
    SoundPlayer player;
};
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

    EXPECT_EQ(started, (Names{"first 8", "second 8", "first 5", "second 5"}));
    EXPECT_EQ(player.RefQueueBound(), -1);
    for (std::int32_t i = 0; i < SoundPlayer::kQueueSize; ++i) {  // every slot free again
        EXPECT_EQ(player.RefQueued(i), nullptr) << i;
        EXPECT_EQ(player.RefQueuedPriority(i), 0) << i;
    }
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
    EXPECT_EQ(started.front(), "low 0");
    EXPECT_EQ(started.back(), "low 15");
}

TEST_F(SoundPlayerTest, PriorityModePlaysHighBandKeepsMiddleBandAndDropsLowBand) {
    player.SetPriorityMode(true);
    for (int priority : {3, 6, 9, 4, 7}) {
        player.PushQueue(Named(std::to_string(priority)), priority);
    }

    player.PlayQueue();
    EXPECT_EQ(started, (Names{"9", "7"}));
    ASSERT_EQ(player.RefQueueBound(), 1);
    EXPECT_EQ(player.RefQueued(0)->Name(), "6");
    EXPECT_EQ(player.RefQueued(1)->Name(), "4");
    EXPECT_EQ(player.RefQueued(2), nullptr);
    EXPECT_EQ(player.RefQueuedPriority(2), 0);

    player.PlayQueue();
    EXPECT_EQ(started, (Names{"9", "7", "6"}));
    ASSERT_EQ(player.RefQueueBound(), 0);
    EXPECT_EQ(player.RefQueued(0)->Name(), "4");

    player.PlayQueue();
    EXPECT_EQ(started, (Names{"9", "7", "6", "4"}));
    EXPECT_EQ(player.RefQueueBound(), -1);

    // The first entry plays whatever its band; a low one behind it is dropped.
    player.PushQueue(Named("2"), 2);
    player.PushQueue(Named("3"), 3);
    player.PlayQueue();
    EXPECT_EQ(started, (Names{"9", "7", "6", "4", "3"}));
    EXPECT_EQ(player.RefQueueBound(), -1);
}

TEST_F(SoundPlayerTest, TheFillerPlaysOnlyAfterMoreThanOneSecondWithoutAnySound) {
    player.SetSacrifice(Named("silence"), 10);
    now = 1000000;  // exactly 1 s after the start (LastPlayTime 0)
    player.PlayQueue();
    EXPECT_TRUE(started.empty());
    now = 1000001;
    player.PlayQueue();
    EXPECT_EQ(started, (Names{"silence"}));
    EXPECT_EQ(player.RefLastPlayTime(), 1000001);
    now = 2000001;  // exactly 1 s after the filler itself
    player.PlayQueue();
    now = 2000002;
    player.PushQueue(Named("thunder"), 8);  // a queued sound stands in for the filler
    player.PlayQueue();
    now = 3000002;  // and counts as sound: no filler within the next second
    player.PlayQueue();
    EXPECT_EQ(started, (Names{"silence", "thunder"}));
    now = 3000003;
    player.PlayQueue();
    EXPECT_EQ(started, (Names{"silence", "thunder", "silence"}));
}

// Muted, a direct play leaves the sound alone, the queue is emptied unplayed, the filler stays
// silent and the last play time stays; unmuted again, nothing of the old queue comes back.
TEST_F(SoundPlayerTest, EachStepPlaysAtItsVolumeAndAMutedPlayerPlaysAndKeepsNothing) {
    const std::int32_t steps[] = {100, 70, 50, 35, 25, 17, 12, 8, 6};
    SoundPtr sample = Named("sample");
    for (std::int32_t step = 0; step < 9; ++step) {
        now = 300 + step;
        player.SetVolume(step);
        player.Play(sample);
        ASSERT_EQ(volumes.back(), steps[step]) << "step " << step;
    }
    sample->Volume = 42;
    player.SetSacrifice(Named("silence"), 10);
    player.SetVolume(9);
    now = 5000000;
    player.Play(sample);
    player.PushQueue(Named("thunder"), 8);
    player.PushQueue(Named("gong"), 5);
    player.PlayQueue();
    EXPECT_EQ(player.RefQueueBound(), -1);
    player.PlayQueue();
    EXPECT_EQ(sample->Volume, 42);
    EXPECT_EQ(player.RefLastPlayTime(), 308);

    player.SetVolume(0);
    player.SetSacrifice(nullptr, 10);
    player.PlayQueue();
    EXPECT_EQ(started.size(), 9u);
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
        ASSERT_TRUE(QTest::qWaitFor(Sound::AudioIsOpen));
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
        {"A", 0}, {"C", 2}, {"I", 8},  {"0", 9}, {"1", 0},
        {"", 0},  {"a", 0}, {"AB", 0}, {"J", 0}, {std::string(1, '\0'), 0}};
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
