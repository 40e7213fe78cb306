#include "GameRaijin.h"

#include <gtest/gtest.h>

#include <string>

#include "GameRaijin1.h"
#include "GameRaijin2.h"
#include "GameTestSupport.h"
#include "Graphics.h"
#include "MainWindowShared.h"
#include "PictureItems.h"
#include "ResourcesFolder.h"
#include "Rnd.h"
#include "SoundItems.h"

using namespace gametest;

namespace {
// A god of any kind whose motion state the tests can read.
template <class God>
class Probe : public God {
public:
    using God::God;
    std::int32_t Phase() const { return this->ItsPhase; }
    SoundPtr RefSound() const { return this->ItsOpenSnd; }
    SoundPtr UseTestSound() {
        this->ItsOpenSnd = std::make_shared<Sound>("OpenSnd");
        return this->ItsOpenSnd;
    }
};

class RaijinTest : public testing::Test {
protected:
    void SetUp() override {
        MainWindow().ItsSoundPlayer = std::make_unique<SoundPlayer>();
        offscreen = FilledPicture(kFieldWidth, kFieldHeight, kSky);
        points = std::make_shared<GamePointArrey>();
    }
    void TearDown() override {
        SetRndSource({});
        ResetMainWindowStandIn();
    }
    template <class God>
    Probe<God> Make() {
        return Probe<God>(offscreen->Graphics(), points);
    }
    std::int32_t SourceX() const { return points->ItsData[0][0]; }
    std::int32_t SourceY() const { return points->ItsData[0][1]; }

    PicturePtr offscreen;
    std::shared_ptr<GamePointArrey> points;
};
}  // namespace

TEST_F(RaijinTest, ABaseGodStandsStillAndFlapsEverySixthTick) {
    auto god = std::make_unique<Probe<GameRaijin>>(offscreen->Graphics(), points);
    for (int call = 1; call <= 40; ++call) {
        god->GameStep();
        // Frames change in calls 6, 12, 18, ...; the source follows the frame by one pixel.
        const std::int32_t phase = (call / 6) % 2;
        ASSERT_EQ(god->Phase(), phase) << call;
        EXPECT_EQ(god->RefX(), 20);
        EXPECT_EQ(god->RefY(), 20);
        EXPECT_EQ(SourceX(), 20 + 15 + phase) << call;
        EXPECT_EQ(SourceY(), 35);
    }
}

// Each god takes the sound item when made, and queues it once, in its tenth tick.
TEST_F(RaijinTest, EveryGodQueuesItsArrivalSoundOnceInItsTenthTick) {
    SetResourcesFolder(std::string(TEMBROLO_SOURCE_DIR) + "/resources");
    SeedRnd(3);
    auto g0 = std::make_unique<Probe<GameRaijin>>(offscreen->Graphics(), points);
    auto g1 = std::make_unique<Probe<GameRaijin1>>(offscreen->Graphics(), points);
    auto g2 = std::make_unique<Probe<GameRaijin2>>(offscreen->Graphics(), points);
    GameRaijin* gods[] = {g0.get(), g1.get(), g2.get()};
    ASSERT_NE(OpenSnd(), nullptr);
    EXPECT_EQ(g0->RefSound(), OpenSnd());
    EXPECT_EQ(g1->RefSound(), OpenSnd());
    EXPECT_EQ(g2->RefSound(), OpenSnd());
    const SoundPtr sounds[] = {g0->UseTestSound(), g1->UseTestSound(), g2->UseTestSound()};
    for (std::size_t i = 0; i < 3; ++i) {
        for (int call = 1; call <= 100; ++call) {
            MainWindow().ItsSoundPlayer = std::make_unique<SoundPlayer>();
            gods[i]->GameStep();
            const SoundPlayer& player = *MainWindow().ItsSoundPlayer;
            const std::string label = "god " + std::to_string(i) + ", call " + std::to_string(call);
            if (call == 10) {
                ASSERT_EQ(player.RefQueueBound(), 0) << label;
                EXPECT_EQ(player.RefQueued(0), sounds[i]) << label;
                EXPECT_EQ(player.RefQueuedPriority(0), 5) << label;
            } else {
                EXPECT_EQ(player.RefQueueBound(), -1) << label;
            }
        }
    }
}

TEST_F(RaijinTest, TheMainGodComesDownThenPatrolsBetween6And462) {
    auto god = Make<GameRaijin1>();
    EXPECT_EQ(god.RefX(), 84);
    EXPECT_EQ(god.RefY(), -35);
    struct Moment {
        int tick;
        std::int32_t x, y;
    };
    // 55 ticks down to y 20 and one turning to patrol, then 2 px a tick, with one still tick at
    // each turn.
    const Moment moments[] = {{1, 84, -34},   {55, 84, 20},   {56, 84, 20},   {57, 86, 20},
                              {245, 462, 20}, {246, 462, 20}, {247, 460, 20}, {474, 6, 20},
                              {475, 6, 20},   {476, 8, 20},   {703, 462, 20}, {704, 462, 20},
                              {705, 460, 20}};
    int tick = 0;
    for (const Moment& m : moments) {
        while (tick < m.tick) {
            god.GameStep();
            ++tick;
        }
        EXPECT_EQ(god.RefX(), m.x) << "tick " << tick;
        EXPECT_EQ(god.RefY(), m.y) << "tick " << tick;
        EXPECT_EQ(SourceX(), m.x + 15 + god.Phase()) << "tick " << tick;
        EXPECT_EQ(SourceY(), m.y + 15) << "tick " << tick;
    }
}

TEST_F(RaijinTest, TheFortuneGodStartsAboveDescendsHoversAndRisesWhenTold) {
    struct Case {
        double rnd;
        std::int32_t start;     // the last digit of Floor(Rnd * 10000), minus 44
        int ticksBeforeStrike;  // then StatusNext, 30 hovering ticks, StatusNext
        std::int32_t lowest;
        std::int32_t end;  // risen 2 px a tick while above -40
        int rising = 200;  // ticks before a third StatusNext, which stops it where it is
    };
    const Case cases[] = {
        {0.0, -44, 400, 250, -40},      // all the way down, an even height
        {0.0, -44, 400, 250, 210, 20},  // stopped on its way up
        {0.0, -44, 7, -37, -41},        // struck early at an odd height
        {0.0009, -35, 10, -25, -41},   {0.0009, -35, 11, -24, -40}, {0.00071, -37, 0, -37, -41},
        {0.5, -44, 0, -44, -44},       {0.12344, -40, 0, -40, -40}, {0.99999, -35, 0, -35, -41},
    };
    for (const Case& c : cases) {
        SetRndSource([&c] { return c.rnd; });
        auto god = Make<GameRaijin2>();
        auto steps = [&god](int n) {
            for (int i = 0; i < n; ++i) {
                god.GameStep();
            }
        };
        EXPECT_EQ(god.RefY(), c.start) << c.rnd;
        steps(c.ticksBeforeStrike);
        EXPECT_EQ(god.RefY(), c.lowest) << c.ticksBeforeStrike;
        god.StatusNext();
        for (int i = 0; i < 30; ++i) {
            god.GameStep();
            ASSERT_EQ(god.RefY(), c.lowest) << "hovering";
        }
        god.StatusNext();
        steps(c.rising);
        god.StatusNext();
        steps(50);
        EXPECT_EQ(god.RefY(), c.end) << c.rnd << ", " << c.ticksBeforeStrike << ", " << c.rising;
        EXPECT_EQ(SourceY(), c.end + 15);
        EXPECT_EQ(god.RefX(), 84);
    }
}

TEST_F(RaijinTest, TheSpriteShowsTheCurrentFrameWithWhiteSeeThroughAndNothingWithoutIt) {
    UseSpriteStrips();
    auto god = Make<GameRaijin>();
    for (int frame = 0; frame < 2; ++frame) {
        god.DrawPicture();
        EXPECT_EQ(offscreen->PixelAt(20, 20), kSky) << frame;  // the strip's white corner
        EXPECT_EQ(offscreen->PixelAt(21, 20), FrameColour(frame)) << frame;
        EXPECT_EQ(offscreen->PixelAt(51, 35), FrameColour(frame)) << frame;
        EXPECT_EQ(offscreen->PixelAt(52, 20), kSky) << frame;
        EXPECT_EQ(offscreen->PixelAt(20, 36), kSky) << frame;
        for (int i = 0; i < 6; ++i) {
            god.GameStep();
        }
    }
    UseEmptyResources();
    offscreen = FilledPicture(kFieldWidth, kFieldHeight, kSky);
    Make<GameRaijin>().DrawPicture();
    EXPECT_EQ(CountPixels(*offscreen, kSky), kFieldWidth * kFieldHeight);
}
