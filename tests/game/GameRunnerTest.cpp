#include "GameRunner.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>
#include <string>

#include "GameTestSupport.h"
#include "Graphics.h"
#include "PictureItems.h"

using namespace gametest;

namespace {
class ProbeRunner : public GameRunner {
public:
    using GameRunner::GameRunner;
    std::int32_t Status() const { return ItsStatus; }
    void PlaceAt(std::int32_t x) { PosX = x; }
    void SetStatus(std::int32_t status) { ItsStatus = status; }
};

struct Moment {
    std::int32_t x;
    std::int32_t status;
};

class RunnerTest : public testing::Test {
protected:
    void SetUp() override {
        offscreen = FilledPicture(kFieldWidth, kFieldHeight, kSky);
        points = std::make_shared<GamePointArrey>();
        runner = std::make_unique<ProbeRunner>(offscreen->Graphics(), points, 1);
    }
    Moment Now() const { return {runner->RefX(), runner->Status()}; }
    // Ticks until the runner stands; how many it took.
    int StepUntilStanding() {
        int ticks = 0;
        do {
            runner->GameStep();
            ++ticks;
        } while (runner->Status() != GameRunner::kStatusStanding && ticks < 1000);
        return ticks;
    }
    void ExpectPointWritten(const std::string& label) const {
        EXPECT_EQ(points->ItsData[1][0], runner->RefX() + 15) << label;
        EXPECT_EQ(points->ItsData[1][1], 216 + 48) << label;
    }

    PicturePtr offscreen;
    std::shared_ptr<GamePointArrey> points;
    std::unique_ptr<ProbeRunner> runner;
};
}  // namespace

TEST_F(RunnerTest, ANewRunnerEntersFromTheLeftAndStandsAtTheLeftRod) {
    // A new table: no target, the ground at y 300 and every point unset, the runner's too until
    // its first tick.
    EXPECT_EQ(points->ItsSize, 0);
    EXPECT_EQ(points->ItsGround, 300);
    for (const auto& row : points->ItsData) {
        EXPECT_EQ(row, (std::array<std::int32_t, 2>{-1, -1}));
    }
    EXPECT_EQ(runner->RefY(), 216);
    for (int call = 1; call <= 30; ++call) {
        runner->GameStep();
        const std::string label = "call " + std::to_string(call);
        // Calls 1-2 wait; 3, 5, ..., 23 step 2 px to x 2; call 25 stands at x 3.
        const std::int32_t x = call < 3 ? -20 : call < 25 ? -20 + 2 * ((call - 1) / 2) : 3;
        EXPECT_EQ(runner->RefX(), x) << label;
        EXPECT_EQ(runner->Status(),
                  call < 25 ? GameRunner::kStatusEntering : GameRunner::kStatusStanding)
            << label;
        ExpectPointWritten(label);
    }
}

TEST_F(RunnerTest, AKeyWhileStandingWalksTowardTheFartherRod) {
    const Moment cases[] = {{3, GameRunner::kStatusWalkingRight},
                            {250, GameRunner::kStatusWalkingRight},
                            {251, GameRunner::kStatusWalkingLeft},
                            {467, GameRunner::kStatusWalkingLeft}};
    for (const Moment& c : cases) {
        SetUp();
        StepUntilStanding();
        runner->PlaceAt(c.x);
        runner->RunnerStart();
        EXPECT_EQ(runner->Status(), c.status) << c.x;
    }
}

TEST_F(RunnerTest, AWalkGoesRodToRodFourPixelsEverySecondTick) {
    StepUntilStanding();
    runner->RunnerStart();
    // 116 steps of 4 px from 3 to 467, a step call that stops there, and a tick between each.
    EXPECT_EQ(StepUntilStanding(), 2 * 117);
    EXPECT_EQ(runner->RefX(), GameRunner::kRightEnd);
    runner->RunnerStart();
    EXPECT_EQ(StepUntilStanding(), 2 * 117);
    EXPECT_EQ(runner->RefX(), GameRunner::kLeftEnd);
}

TEST_F(RunnerTest, AKeyWhileWalkingTurnsTheRunnerTwoTicksLater) {
    StepUntilStanding();
    runner->RunnerStart();
    for (int i = 0; i < 21; ++i) {
        runner->GameStep();  // ten steps right and half-way to the next one
    }
    ASSERT_EQ(runner->RefX(), 43);
    // Back to the left, then to the right again: each time the tick after the key stands still.
    for (const Moment turn : {Moment{39, GameRunner::kStatusWalkingLeft},
                              Moment{43, GameRunner::kStatusWalkingRight}}) {
        const std::int32_t x = runner->RefX();
        runner->RunnerStart();
        EXPECT_EQ(runner->Status(), turn.status);
        runner->GameStep();
        EXPECT_EQ(runner->RefX(), x);
        runner->GameStep();
        EXPECT_EQ(runner->RefX(), turn.x);
    }
}

TEST_F(RunnerTest, AStruckRunnerFallsVanishesAndEntersAgainOnTheFiftyFirstTick) {
    StepUntilStanding();
    runner->RunnerStart();
    for (int i = 0; i < 40; ++i) {
        runner->GameStep();
    }
    const std::int32_t struckAt = runner->RefX();
    runner->GameReset();  // after the step of the strike's tick
    for (int tick = 1; tick <= 60; ++tick) {
        runner->GameStep();
        // A key now and then is ignored while struck or entering.
        if (tick % 5 == 0 && tick < 51) {
            runner->RunnerStart();
        }
        const std::string label = "tick " + std::to_string(tick);
        Moment expected{};
        if (tick < 2) {
            expected = {struckAt, GameRunner::kStatusStruck};
        } else if (tick < 8) {
            expected = {struckAt, GameRunner::kStatusStruck2};
        } else if (tick < 29) {
            expected = {-20, GameRunner::kStatusEntering};
        } else if (tick < 51) {
            expected = {-20 + 2 * ((tick - 27) / 2), GameRunner::kStatusEntering};
        } else {
            expected = {3, GameRunner::kStatusStanding};
        }
        EXPECT_EQ(runner->RefX(), expected.x) << label;
        EXPECT_EQ(runner->Status(), expected.status) << label;
        ExpectPointWritten(label);
    }
}

TEST_F(RunnerTest, AStrikeWhileEnteringStartsTheFallAgainWhereTheRunnerIs) {
    for (int i = 0; i < 12; ++i) {
        runner->GameStep();
    }
    ASSERT_EQ(runner->RefX(), -10);
    runner->GameReset();
    runner->GameStep();
    EXPECT_EQ(runner->Status(), GameRunner::kStatusStruck);
    runner->GameStep();
    EXPECT_EQ(runner->Status(), GameRunner::kStatusStruck2);
    EXPECT_EQ(runner->RefX(), -10);
    EXPECT_EQ(StepUntilStanding(), 49);
}

TEST_F(RunnerTest, EachStateShowsItsFramesOfTheStrip) {
    UseSpriteStrips();
    // The frame drawn now, told by its colour; -1 for none.
    auto drawnFrame = [&] {
        Graphics& g = offscreen->Graphics();
        g.ForeColor = kSky;
        g.FillRect(0, 0, kFieldWidth, kFieldHeight);
        runner->DrawPicture();
        const std::uint32_t colour = offscreen->PixelAt(runner->RefX() + 20, 240);
        for (std::int32_t f = 0; f < 8; ++f) {
            if (FrameColour(f) == colour) {
                return f;
            }
        }
        return -1;
    };
    std::map<std::int32_t, std::set<std::int32_t>> seen;
    for (int tick = 0; tick < 400; ++tick) {
        if (tick == 40 || tick == 80 || tick == 300) {
            runner->RunnerStart();
        }
        if (tick == 150) {
            runner->GameReset();
        }
        runner->GameStep();
        seen[runner->Status()].insert(drawnFrame());
    }
    const std::map<std::int32_t, std::set<std::int32_t>> expected = {
        {GameRunner::kStatusStanding, {1}},       {GameRunner::kStatusWalkingRight, {2, 3}},
        {GameRunner::kStatusWalkingLeft, {4, 5}}, {GameRunner::kStatusStruck, {6}},
        {GameRunner::kStatusStruck2, {7}},        {GameRunner::kStatusEntering, {2, 3}}};
    EXPECT_EQ(seen, expected);
}

TEST_F(RunnerTest, TheSpriteIsOneFrameWithWhiteSeeThroughAndNothingWithoutThePicture) {
    UseSpriteStrips();
    StepUntilStanding();
    runner->DrawPicture();
    EXPECT_EQ(offscreen->PixelAt(3, 216), kSky);  // the frame's white corner
    EXPECT_EQ(offscreen->PixelAt(4, 216), FrameColour(1));
    EXPECT_EQ(offscreen->PixelAt(34, 279), FrameColour(1));
    EXPECT_EQ(offscreen->PixelAt(35, 279), kSky);
    EXPECT_EQ(offscreen->PixelAt(4, 280), kSky);
    EXPECT_EQ(offscreen->PixelAt(4, 215), kSky);
    // A state with no frame draws nothing, and nor does any state without the picture.
    for (const bool picture : {true, false}) {
        offscreen = FilledPicture(kFieldWidth, kFieldHeight, kSky);
        runner = std::make_unique<ProbeRunner>(offscreen->Graphics(), points, 1);
        if (picture) {
            runner->SetStatus(6);
        } else {
            UseEmptyResources();
            StepUntilStanding();
        }
        runner->DrawPicture();
        EXPECT_EQ(CountPixels(*offscreen, kSky), kFieldWidth * kFieldHeight) << picture;
    }
}
