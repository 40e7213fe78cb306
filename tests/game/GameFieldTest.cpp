#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "FortuneField.h"
#include "GameField.h"
#include "GameTestSupport.h"
#include "MainWindowShared.h"
#include "PictureItems.h"
#include "ResourcesFolder.h"
#include "Rnd.h"
#include "SoundItems.h"
#include "SoundPlayer.h"
#include "Window.h"

namespace {
using namespace gametest;

constexpr std::uint32_t kZoneLit = 0x00CC00;
constexpr std::uint32_t kZoneDark = 0x009900;
constexpr std::int32_t kRunnerRow = 1;
constexpr std::int32_t kLeftRod = 3;         // the runner's x standing at the left rod
constexpr std::int32_t kRightRod = 467;      // and at the right rod
constexpr std::int32_t kBelowCounters = 40;  // the first row under the labels and the numbers

// The field with its state in view, and its bolt replaced by one that strikes on cue.
class ProbeField : public GameField {
public:
    explicit ProbeField(::Window* window) : GameField(window) {}

    using GameField::ActionStatus;
    using GameField::ClearRefreshMark;
    using GameField::GameRemain;
    using GameField::GameScore;
    using GameField::ItsEndSnd;
    using GameField::MessageHold;
    using GameField::MessageIndex;
    using GameField::OffscreenGraphics;

    ScriptedLightning& ScriptTheBolt() {
        auto bolt = std::make_unique<ScriptedLightning>(LightningPict->Graphics(), ThePointArrey);
        ScriptedLightning& script = *bolt;
        SetLightning(std::move(bolt));
        return script;
    }
    void UseRealBolt() {
        SetLightning(std::make_unique<GameLightning>(LightningPict->Graphics(), ThePointArrey));
    }
    const Picture& Frame() const { return *OffscreenPicture; }
    const Picture& Sky() const { return *LightningPict; }
    std::int32_t ShownRemain() const { return ItsRemainCounter->GetValue(); }
    std::int32_t ShownScore() const { return ItsScoreCounter->GetValue(); }
    std::int32_t RunnerX() const { return ItsRunner->RefX(); }
    std::int32_t GodX() const { return ItsRaijin->RefX(); }
    std::int32_t GodY() const { return ItsRaijin->RefY(); }
    std::int32_t SourceX() const { return ThePointArrey->ItsData[0][0]; }
    std::int32_t SourceY() const { return ThePointArrey->ItsData[0][1]; }
};

class GameFieldTest : public testing::Test {
protected:
    void SetUp() override {
        SetResourcesFolder(std::string(TEMBROLO_SOURCE_DIR) + "/resources");
        MainWindow().ItsSoundPlayer = std::make_unique<SoundPlayer>();
        field.SetBounds(0, 0, 500, 300);
        field.Created = [](OffscreenCanvas& sender) { sender.CreateOffscreen(32, true); };
        field.RecordUpdated = [this](GameField&) { recordTicks.push_back(ticks); };
        field.Event_Open();
        EXPECT_EQ(field.ItsEndSnd, EndSnd());
        field.ItsEndSnd = endSound;
        bolt = &field.ScriptTheBolt();
    }

    void TearDown() override { ResetMainWindowStandIn(); }

    // One tick as the main window runs it: the field's step, which asks for its frame to be
    // shown unless frozen, leaving the painting to the window; then the sounds it queued (the
    // end sound with priority 5).
    void Tick() {
        ++ticks;
        field.ClearRefreshMark();
        field.GameStep();
        frames += field.IsRefreshPending();
        if (SoundPlayer* player = MainWindow().ItsSoundPlayer.get()) {
            for (std::int32_t i = 0; i <= player->RefQueueBound(); ++i) {
                if (player->RefQueued(i) == endSound) {
                    endSoundTicks.push_back(ticks);
                    EXPECT_EQ(player->RefQueuedPriority(i), 5);
                }
            }
            player->PlayQueue();
        }
    }

    void Ticks(std::int32_t n) {
        for (std::int32_t i = 0; i < n; ++i) {
            Tick();
        }
    }

    // Asks `done` once before each tick, and once after the last.
    bool TickUntil(const std::function<bool()>& done, std::int32_t limit = 1000) {
        for (std::int32_t i = 0; i < limit; ++i) {
            if (done()) {
                return true;
            }
            Tick();
        }
        return done();
    }

    // The runner enters from the left and stands at the left rod.
    void RunnerAtLeftRod() {
        ASSERT_TRUE(TickUntil([this] { return field.RunnerX() == kLeftRod; }));
    }

    // From the left rod into the middle of the scoring zone, still walking right.
    void RunnerIntoZone() {
        ASSERT_NO_FATAL_FAILURE(RunnerAtLeftRod());
        field.GameRun();
        ASSERT_TRUE(TickUntil([this] { return field.RunnerX() >= 150; }));
    }

    bool WholeDrawn(const Picture& pic, std::int32_t x, std::int32_t y) const {
        return SpriteDrawnAt(field.Frame(), pic, 0, 0, pic.Width(), pic.Height(), x, y);
    }

    bool MessageDrawn(std::int32_t index) const {
        return SpriteDrawnAt(field.Frame(), *MessagePict(), 0, index * 22, 164, 22, 168, 130);
    }

    Window window;
    ProbeField field{&window};
    SoundPtr endSound = std::make_shared<Sound>("EndSnd");
    ScriptedLightning* bolt = nullptr;
    std::int32_t ticks = 0;
    std::int32_t frames = 0;
    std::vector<std::int32_t> endSoundTicks;
    std::vector<std::int32_t> recordTicks;
};

// What one tick of a game left behind, for reading a whole game afterwards.
struct TickRecord {
    bool active;
    std::int32_t remain;
    std::int32_t score;
    std::int32_t shownRemain;
    bool messageShown;
    std::int32_t messageIndex;
};

TEST_F(GameFieldTest, AGameThatNothingInterruptsDoublesItsScoreOnceAndEndsOneTickLater) {
    ASSERT_NO_FATAL_FAILURE(RunnerAtLeftRod());
    field.GameRun();  // through the zone to the right rod during the game
    field.GameStart();
    const std::int32_t start = ticks + 1;
    std::vector<TickRecord> game;
    for (std::int32_t i = 0; i < 1860; ++i) {
        Tick();
        game.push_back({field.RefActive(), field.GameRemain, field.GameScore, field.ShownRemain(),
                        MessageDrawn(field.MessageIndex), field.MessageIndex});
    }

    // The start tick already counts one tick of game time.
    EXPECT_EQ(game[0].remain, 1799);
    for (std::int32_t k = 0; k <= 8; ++k) {
        EXPECT_EQ(game[k].shownRemain, 180) << "tick " << k;
    }
    EXPECT_EQ(game[9].shownRemain, 179);
    EXPECT_EQ(game[1789].shownRemain, 1);
    EXPECT_EQ(game[1798].shownRemain, 1);
    EXPECT_EQ(game[1799].remain, 0);
    EXPECT_EQ(game[1799].shownRemain, 0);
    EXPECT_EQ(game[1800].shownRemain, 0);

    // Start message in the first 20 frames; time-up message from the time-up tick for 50.
    for (std::int32_t k = 0; k < 1860; ++k) {
        const bool startShown = k < 20;
        const bool timeUpShown = k >= 1800 && k < 1850;
        EXPECT_EQ(game[k].messageShown, startShown || timeUpShown) << "tick " << k;
    }
    EXPECT_EQ(game[1800].messageIndex, 1);

    // The walk through the zone (x 111 to 359: 63 steps of 4 px, two ticks each) and the crossing
    // scored; doubled once, in the time-up tick.
    const std::int32_t final = game[1799].score;
    EXPECT_EQ(final, 2 * 63 + 50);
    EXPECT_EQ(game[1800].score, 2 * final);
    EXPECT_EQ(game[1801].score, 2 * final);
    EXPECT_TRUE(game[1800].active);
    EXPECT_FALSE(game[1801].active);
    EXPECT_EQ(endSoundTicks, std::vector<std::int32_t>{start + 1800});
    EXPECT_EQ(recordTicks, std::vector<std::int32_t>{start + 1801});
    EXPECT_EQ(field.RefRecord(), 2 * final / 10);
    // Afterwards the counters keep the final time and score, and the game's label is gone.
    EXPECT_EQ(field.ShownRemain(), 0);
    EXPECT_EQ(field.ShownScore(), 2 * final / 10);
    EXPECT_FALSE(WholeDrawn(*Label0Pict(), 40, 5));
}

// A strike on the runner during a game: the score stays as it is (doubled only in the time-up
// tick), the game ends at the next tick, and the struck message shows for 50 frames from the
// 4th tick after the strike on, with the end sound; in observation mode 30 frozen ticks later.
struct StrikeCase {
    const char* name;
    bool hold;
    std::int32_t tickOfGame;  // 0: the start tick; 1800: the time-up tick
    std::int32_t score;       // the runner has passed x 110 in the 54th tick of the game
    bool player = true;
};

class StruckRunnerTest : public GameFieldTest, public testing::WithParamInterface<StrikeCase> {};

TEST_P(StruckRunnerTest, EndsTheGameAtTheNextTickAndShowsTheStruckMessage) {
    const StrikeCase c = GetParam();
    if (!c.player) {
        MainWindow().ItsSoundPlayer.reset();
    }
    ASSERT_NO_FATAL_FAILURE(RunnerAtLeftRod());
    field.GameRun();  // a walk through the zone, so that the score is not 0
    field.SetHold(c.hold);
    field.GameStart();
    Ticks(c.tickOfGame);
    bolt->StrikeNext(kRunnerRow);
    Tick();
    const std::int32_t strike = ticks;
    const std::int32_t score = field.GameScore;
    EXPECT_EQ(score, c.score);  // doubled only in the time-up tick
    // Below the counters: the record counter draws itself into the frame when a game ends.
    const auto strikeFrame = Snapshot(field.Frame(), kBelowCounters);

    Tick();
    EXPECT_FALSE(field.RefActive());  // ended at once, even while frozen
    EXPECT_EQ(recordTicks.size(), score >= 10 ? 1u : 0u);
    EXPECT_EQ(field.RefRecord(), score / 10);
    if (c.hold) {
        Ticks(29);
        // The frame with the bolt stays while frozen.
        EXPECT_EQ(Snapshot(field.Frame(), kBelowCounters), strikeFrame);
    }
    const std::int32_t shown = strike + (c.hold ? 34 : 4);
    ASSERT_TRUE(TickUntil([&] { return ticks == shown - 1; }));
    EXPECT_FALSE(MessageDrawn(2));
    Tick();
    EXPECT_TRUE(MessageDrawn(2));
    // Only the struck message sounds, even where it replaced the time-up message in its tick.
    EXPECT_EQ(endSoundTicks, c.player ? std::vector{shown} : std::vector<std::int32_t>{});
    Ticks(49);
    EXPECT_TRUE(MessageDrawn(2));
    Tick();
    EXPECT_FALSE(MessageDrawn(2));
    EXPECT_EQ(field.GameScore, score);
}

INSTANTIATE_TEST_SUITE_P(Moments, StruckRunnerTest,
                         testing::Values(StrikeCase{"Plain", false, 80, 27},
                                         StrikeCase{"Observation", true, 80, 27},
                                         StrikeCase{"StartTick", false, 0, 0},
                                         StrikeCase{"TimeUpTick", false, 1800, 2 * (2 * 63 + 50)},
                                         StrikeCase{"WithoutASoundPlayer", false, 80, 27, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GameFieldTest, TheChargeRisesEveryTickWithoutAStrikeAndDropsAfterOne) {
    Ticks(5);
    bolt->StrikeNext(0);
    Ticks(4);
    EXPECT_EQ(bolt->Charges, (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5, 0, 1, 2}));
}

// During a game the runner walks out and back on keys, first turning one step (4 px) short of each
// rod, at x 451 and 19, then at the first x where each counts as reached, 455 and 15. Each way
// through the zone scores 63 steps of two ticks. Only the rod opposite to the one reached last
// earns the bonus, in the tick after the step onto it: the tick that first finds the runner there.
TEST_F(GameFieldTest, OnlyReachingTheFarRodEarnsTheBonus) {
    ASSERT_NO_FATAL_FAILURE(RunnerAtLeftRod());
    field.GameStart();
    constexpr std::int32_t kWay = 2 * 63;  // ticks in the zone each way
    const struct {
        std::int32_t turnAt;
        std::int32_t score, scoreNextTick;  // after the tick of the step onto turnAt
    } legs[] = {{451, kWay, kWay},
                {kLeftRod, 2 * kWay, 2 * kWay},
                {455, 3 * kWay, 3 * kWay + 50},
                {19, 4 * kWay + 50, 4 * kWay + 50},
                {455, 5 * kWay + 50, 5 * kWay + 50},
                {15, 6 * kWay + 50, 6 * kWay + 100}};
    for (const auto& leg : legs) {
        field.GameRun();  // sets off from the left rod, or turns back
        ASSERT_TRUE(TickUntil([&] { return field.RunnerX() == leg.turnAt; }));
        EXPECT_EQ(field.GameScore, leg.score) << leg.turnAt;
        Tick();
        EXPECT_EQ(field.GameScore, leg.scoreNextTick) << leg.turnAt;
    }
}

TEST_F(GameFieldTest, ARunnerStruckInTheZoneIsOutOfItUntilItWalksBackIn) {
    ASSERT_NO_FATAL_FAILURE(RunnerIntoZone());
    EXPECT_EQ(field.Frame().PixelAt(250, 285), kZoneLit);
    // Struck between games: no message and nothing to end; the bar is dark from the strike on,
    // while the runner lies there and after it has gone.
    bolt->StrikeNext(kRunnerRow);
    const std::int32_t before = ticks;
    ASSERT_TRUE(TickUntil([&] {
        EXPECT_EQ(field.Frame().PixelAt(250, 285), ticks == before ? kZoneLit : kZoneDark) << ticks;
        return field.RunnerX() < 0;
    }));
    EXPECT_EQ(field.MessageHold, 0);
    EXPECT_EQ(field.ActionStatus, 0);
    ASSERT_NO_FATAL_FAILURE(RunnerAtLeftRod());
    // A game spent standing at the rod scores nothing; walking in scores from x 111 on: 10 steps
    // of 4 px up to x 147, two ticks each.
    field.GameStart();
    Ticks(50);
    EXPECT_EQ(field.GameScore, 0);
    field.GameRun();
    ASSERT_TRUE(TickUntil([this] { return field.RunnerX() >= 150; }));
    EXPECT_EQ(field.GameScore, 20);
    EXPECT_EQ(field.Frame().PixelAt(250, 285), kZoneLit);
}

// Observation mode: every strike freezes the field for 30 ticks, frame included. A start chosen
// meanwhile is carried out at once but waits for the freeze to run out, and a game lasts 1800
// unfrozen ticks however many freezes fall into it. The first freeze follows a strike on the
// runner at the right rod, which makes the left its home again: so the game's first tick, finding
// it still lying at the right rod, scores a bonus, and its return off the left edge another.
TEST_F(GameFieldTest, ObservationFreezesHoldTheFrameAStartAndTheGamesClock) {
    ASSERT_NO_FATAL_FAILURE(RunnerAtLeftRod());
    field.GameRun();
    ASSERT_TRUE(TickUntil([this] { return field.RunnerX() == kRightRod; }));
    field.SetHold(true);
    bolt->StrikeNext(kRunnerRow);  // between games: a freeze, no message and nothing to end
    Tick();
    const std::int32_t strike = ticks;
    const std::size_t bolts = bolt->Charges.size();
    const auto strikeFrame = Snapshot(field.Frame());
    EXPECT_EQ(field.MessageHold, 0);
    Ticks(5);
    field.GameStart();
    Tick();
    EXPECT_TRUE(field.RefActive());
    EXPECT_EQ(field.GameRemain, 1800);
    EXPECT_FALSE(MessageDrawn(0));
    ASSERT_TRUE(TickUntil([&] { return ticks == strike + 30; }));
    EXPECT_EQ(field.GameRemain, 1800);
    EXPECT_EQ(Snapshot(field.Frame()), strikeFrame);
    Tick();
    const std::int32_t start = ticks;
    EXPECT_EQ(field.GameRemain, 1799);
    EXPECT_TRUE(MessageDrawn(0));
    EXPECT_EQ(bolt->Charges.size(), bolts + 1u);  // no bolt grew while frozen
    EXPECT_EQ(field.GameScore, 50);
    // Strikes on both rods and the ground: four more freezes.
    for (std::int32_t rowOrGround : {2, 3, 0, 2}) {
        Ticks(100);
        bolt->StrikeNext(rowOrGround);
    }
    ASSERT_TRUE(TickUntil([this] { return !field.RefActive(); }, 3000));
    EXPECT_EQ(ticks, start + 1801 + 4 * 30);
    EXPECT_EQ(endSoundTicks, std::vector<std::int32_t>{start + 1800 + 4 * 30});
    EXPECT_EQ(frames, ticks - 5 * 30);
    EXPECT_EQ(field.GameScore, 2 * (50 + 50));
}

TEST_F(GameFieldTest, CloudHidingChangesOnlyBetweenGamesAndClearsTheCounters) {
    ASSERT_NO_FATAL_FAILURE(RunnerIntoZone());
    field.GameStart();
    Ticks(20);
    field.SetHideMode(true);
    EXPECT_FALSE(field.RefHideMode());
    EXPECT_EQ(field.GameRemain, 1780);
    bolt->StrikeNext(kRunnerRow);
    Ticks(2);
    ASSERT_FALSE(field.RefActive());
    EXPECT_EQ(field.GameScore, 21);  // every tick of the game in the zone
    EXPECT_EQ(field.ShownRemain(), 178);
    field.SetHideMode(true);
    EXPECT_TRUE(field.RefHideMode());
    EXPECT_EQ(field.GameScore, 0);
    Tick();
    EXPECT_EQ(field.ShownRemain(), 0);
    EXPECT_EQ(field.ShownScore(), 0);
}

// The record is replaced only by a strictly higher score: three games, against a record one
// below, equal to and one above the score.
TEST_F(GameFieldTest, OnlyAHigherScoreRaisesRecordUpdated) {
    for (const std::int32_t above : {-1, 0, 1}) {
        ASSERT_NO_FATAL_FAILURE(RunnerIntoZone());
        field.GameStart();
        Ticks(40);
        bolt->StrikeNext(kRunnerRow);
        Tick();
        const std::int32_t shown = field.GameScore / 10;
        ASSERT_EQ(shown, 4);
        field.SetRecord(shown + above);
        recordTicks.clear();
        Tick();
        EXPECT_EQ(recordTicks.size(), above < 0 ? 1u : 0u) << above;
        EXPECT_EQ(field.RefRecord(), above < 0 ? shown : shown + above) << above;
    }
}

// The first frame shows the idle field; the start tick's frame adds the game's label, the start
// message and 180 s to go.
TEST_F(GameFieldTest, TheFirstFrameShowsTheIdleFieldAndTheStartFrameTheGame) {
    const Picture& frame = field.Frame();
    EXPECT_EQ(frame.PixelAt(0, 280), kGroundColour);
    EXPECT_EQ(frame.PixelAt(499, 299), kGroundColour);
    EXPECT_EQ(frame.PixelAt(125, 285), kZoneDark);
    EXPECT_EQ(frame.PixelAt(374, 286), kZoneDark);
    EXPECT_EQ(frame.PixelAt(124, 285), kGroundColour);
    EXPECT_EQ(frame.PixelAt(250, 150), kSky);
    const Picture& targets = *TargetsPict();
    EXPECT_TRUE(SpriteDrawnAt(frame, targets, 0, 0, 32, 64, 5, 216));
    EXPECT_TRUE(SpriteDrawnAt(frame, targets, 0, 0, 32, 64, 465, 216));
    EXPECT_FALSE(MessageDrawn(0));
    EXPECT_FALSE(WholeDrawn(*Label0Pict(), 40, 5));
    EXPECT_TRUE(WholeDrawn(*Label1Pict(), 210, 5));
    const Picture& digits = *DigitPict();
    const std::int32_t w = digits.Width();
    const std::int32_t cell = digits.Height() / 11;
    for (std::int32_t x : {268, 354, 434}) {
        EXPECT_TRUE(SpriteDrawnAt(frame, digits, 0, 0, w, cell, x, 5)) << x;
    }

    field.GameStart();
    Tick();
    EXPECT_TRUE(WholeDrawn(*Label0Pict(), 40, 5));
    EXPECT_TRUE(MessageDrawn(0));
    const std::int32_t shown[] = {1, 8, 0};
    for (std::int32_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(SpriteDrawnAt(frame, digits, 0, shown[i] * cell, w, cell, 268 + i * w, 5));
    }
    for (const auto& [record, kept] : {std::pair{1500, 999}, std::pair{-5, 0}}) {
        field.SetRecord(record);
        EXPECT_EQ(field.RefRecord(), kept);
    }
    // A record is drawn at once, but only when it changes: here over a white patch.
    field.OffscreenGraphics->ForeColor = kWhite;
    field.OffscreenGraphics->FillRect(434, 5, w, cell);
    field.SetRecord(0);
    EXPECT_FALSE(SpriteDrawnAt(frame, digits, 0, 0, w, cell, 434, 5));
    field.SetRecord(7);
    EXPECT_TRUE(SpriteDrawnAt(frame, digits, 0, 7 * cell, w, cell, 434, 5));
}

// The god is drawn over the sky in normal mode only; its bolts show in both.
TEST_F(GameFieldTest, TheGodIsHiddenInCloudHidingButItsBoltsShow) {
    for (const bool hide : {false, true}) {
        field.SetHideMode(hide);
        ASSERT_TRUE(TickUntil([this] { return field.GodY() == 20 && field.GodX() > 150; }));
        bolt->StrikeNext(0);
        Tick();
        const Picture& frame = field.Frame();
        const Picture& god = *RaijinPict();
        const bool drawn = SpriteDrawnAt(frame, god, 0, 0, 32, 16, field.GodX(), field.GodY()) ||
                           SpriteDrawnAt(frame, god, 32, 0, 32, 16, field.GodX(), field.GodY());
        EXPECT_EQ(drawn, !hide);
        EXPECT_EQ(frame.PixelAt(field.SourceX(), field.SourceY() + 30), kBolt) << hide;
        EXPECT_EQ(frame.PixelAt(field.SourceX(), 279), kBolt) << hide;
    }
}

// What the bolt in the sky of this frame ends on; nothing when no bolt shows.
std::string StrikeShown(const ProbeField& field) {
    const std::tuple<std::int32_t, std::int32_t, const char*> ends[] = {
        {field.RunnerX() + 15, 264, "runner"}, {20, 228, "left rod"}, {480, 228, "right rod"}};
    for (const auto& [x, y, what] : ends) {
        if (field.Sky().PixelAt(x, y) == kBolt) {
            return what;
        }
    }
    return CountPixelsInRows(field.Sky(), kSky, 280, 281) < 500 ? "ground" : "";
}

// The field with its real bolt: a seeded game in which the runner walks from rod to rod.
TEST_F(GameFieldTest, RealBoltsFallUntilOneFindsTheRunnerAndEndsTheGame) {
    SeedRnd(87);
    field.UseRealBolt();
    ASSERT_NO_FATAL_FAILURE(RunnerAtLeftRod());
    field.GameStart();
    Tick();
    const std::int32_t start = ticks;
    std::vector<std::pair<std::int32_t, std::string>> strikes;
    std::int32_t lastX = 0;
    ASSERT_TRUE(TickUntil(
        [&] {
            if (const std::string struck = StrikeShown(field); !struck.empty()) {
                strikes.emplace_back(ticks - start, struck);
            }
            if (field.RunnerX() != lastX &&
                (field.RunnerX() == kLeftRod || field.RunnerX() == kRightRod)) {
                field.GameRun();  // on to the other rod
            }
            lastX = field.RunnerX();
            return !field.RefActive();
        },
        2000));
    // The first bolt strikes the rod the runner has just left, the second the runner in the zone;
    // the game ends at the next tick, with its score not doubled.
    EXPECT_EQ(strikes, (decltype(strikes){{47, "left rod"}, {121, "runner"}}));
    EXPECT_EQ(ticks - start, 122);
    EXPECT_EQ(field.GameScore, 67);
    EXPECT_EQ(field.RefRecord(), 6);
}

// A control of no size gets no offscreen picture and so no actors: ticks do nothing, the record
// is 0 and stays 0.
TEST(FieldOfNoSizeTest, TicksAndTheRecordDoNothing) {
    GameField game(nullptr);
    FortuneField fortune(nullptr);
    for (OffscreenCanvas* field : std::initializer_list<OffscreenCanvas*>{&game, &fortune}) {
        field->SetBounds(0, 0, 0, 300);
        field->Created = [](OffscreenCanvas& sender) { sender.CreateOffscreen(32, true); };
        field->Event_Open();
        ASSERT_FALSE(field->RefOffscreenAvail());
    }
    game.SetRecord(120);
    game.GameStart();
    game.GameRun();
    for (int i = 0; i < 5; ++i) {
        game.GameStep();
        fortune.GameStep();
    }
    EXPECT_FALSE(game.RefActive());
    EXPECT_EQ(game.RefRecord(), 0);
}

}  // namespace
