#include "GameLightning.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "ActorTestSupport.h"
#include "Graphics.h"
#include "MainWindowShared.h"
#include "ResourcesFolder.h"
#include "Rnd.h"
#include "SoundItems.h"

using namespace actors_test;

namespace {
// The bolt with a strike sound that the tests can recognise in the queue.
class ProbeLightning : public GameLightning {
public:
    using GameLightning::GameLightning;
    SoundPtr UseTestSound() {
        ItsLightningSnd = std::make_shared<Sound>("LightningSnd");
        return ItsLightningSnd;
    }
    SoundPtr RefSound() const { return ItsLightningSnd; }
};

// Rnd gives these values in turn, over and over.
void ScriptRnd(std::vector<double> values) {
    auto next = std::make_shared<std::size_t>(0);
    SetRndSource([values, next] { return values[(*next)++ % values.size()]; });
}

class LightningTest : public testing::Test {
protected:
    void SetUp() override { Fresh(); }
    // A new picture, table and sound player; tables of cases start each case with it.
    void Fresh() {
        MainWindow().ItsSoundPlayer = std::make_unique<SoundPlayer>();
        sky = Picture::Create(kFieldWidth, kFieldHeight, 32);
        points = std::make_shared<GamePointArrey>();
        points->ItsGround = kGround;
    }
    void TearDown() override {
        SetRndSource({});
        ResetMainWindowStandIn();
    }

    std::unique_ptr<ProbeLightning> MakeBolt() {
        auto bolt = std::make_unique<ProbeLightning>(sky->Graphics(), points);
        strikeSound = bolt->UseTestSound();
        return bolt;
    }
    // The three waiting calls of a new bolt.
    std::unique_ptr<ProbeLightning> ReadyBolt() {
        auto bolt = MakeBolt();
        for (int i = 0; i < 3; ++i) {
            bolt->GameStep(100);
        }
        return bolt;
    }
    void SetPoint(int k, int x, int y) { points->ItsData[k] = {x, y}; }
    // The source at (x, y) and a lone target in row 1.
    void OneTarget(int x, int y, int targetX, int targetY) {
        SetPoint(0, x, y);
        SetPoint(1, targetX, targetY);
        points->ItsSize = 1;
    }
    void Scribble() {
        sky->Graphics().ForeColor = kWhite;
        sky->Graphics().FillRect(0, 0, 1, 1);
    }
    bool Scribbled() const { return sky->PixelAt(0, 0) == kWhite; }
    std::int32_t Queued() const { return MainWindow().ItsSoundPlayer->RefQueueBound() + 1; }

    PicturePtr sky;
    std::shared_ptr<GamePointArrey> points;
    SoundPtr strikeSound;
};
}  // namespace

TEST_F(LightningTest, ANewBoltWaitsThreeTicksAndAStrikeTwo) {
    // A target within 3 px of the source is struck by the first segment of every attempt.
    OneTarget(100, 100, 101, 101);
    auto bolt = MakeBolt();
    EXPECT_EQ(CountPixels(*sky, kSky), kFieldWidth * kFieldHeight);

    struct Tick {
        StrikeResult result;
        bool skyCleared;
    };
    // Calls 1-3 wait (the 2nd clears the sky), 4 strikes, then two more waits, then a strike.
    const Tick ticks[] = {{-1, false}, {-1, true},  {-1, false}, {1, true},
                          {-1, true},  {-1, false}, {1, true}};
    for (std::size_t i = 0; i < std::size(ticks); ++i) {
        Scribble();
        EXPECT_EQ(bolt->GameStep(100), ticks[i].result) << "call " << i + 1;
        EXPECT_EQ(Scribbled(), !ticks[i].skyCleared) << "call " << i + 1;
    }
    EXPECT_EQ(sky->PixelAt(100, 100), kWhite);
    EXPECT_EQ(sky->PixelAt(101, 101), kWhite);
}

TEST_F(LightningTest, WithoutChargeOrTargetsTheSkyStaysClear) {
    OneTarget(100, 100, 101, 101);
    auto bolt = ReadyBolt();
    for (const std::int32_t charge : {0, -1, -1000}) {
        Scribble();
        EXPECT_EQ(bolt->GameStep(charge), GameLightning::kNoStrike) << charge;
        EXPECT_EQ(CountPixels(*sky, kSky), kFieldWidth * kFieldHeight) << charge;
    }
    // No targets: even a bolt with a large charge is neither grown nor shown.
    points->ItsSize = 0;
    Scribble();
    EXPECT_EQ(bolt->GameStep(1000), GameLightning::kNoStrike);
    EXPECT_EQ(CountPixels(*sky, kSky), kFieldWidth * kFieldHeight);
    EXPECT_EQ(Queued(), 0);
}

TEST_F(LightningTest, AStepIntoTheCaptureRangeNeedsOneMoreSegmentToStrike) {
    // Source straight above a lone target; the random turn is 0 (Rnd 0.5), so every segment
    // points straight down. The first Rnd of a step turns it, the second sets its length.
    struct Case {
        std::vector<double> rnd;
        std::int32_t targetY;
        std::int32_t charge;
        StrikeResult expected;
    };
    const Case cases[] = {
        // 4 px steps: 104, 108, 112, 116, 120 (1 px short), then the capture.
        {{0.5, 0.5}, 121, 5, -1},
        {{0.5, 0.5}, 121, 6, 1},
        // 3 px steps: 103, 106, 109 (3 px off: not captured yet), 112 on it, then the capture.
        {{0.5, 0.0}, 112, 4, -1},
        {{0.5, 0.0}, 112, 5, 1},
    };
    for (const Case& c : cases) {
        Fresh();
        ScriptRnd(c.rnd);
        OneTarget(100, 100, 100, c.targetY);
        auto bolt = ReadyBolt();
        const std::string label =
            "target y " + std::to_string(c.targetY) + ", charge " + std::to_string(c.charge);
        EXPECT_EQ(bolt->GameStep(c.charge), c.expected) << label;
        if (c.expected == 1) {
            // One straight stroke from the source down to the target's very point.
            EXPECT_EQ(CountPixels(*sky, kWhite), c.targetY - 100 + 1) << label;
            EXPECT_EQ(sky->PixelAt(100, c.targetY), kWhite) << label;
        } else {
            EXPECT_EQ(CountPixels(*sky, kWhite), 0) << label;
        }
    }
}

TEST_F(LightningTest, ATargetAsideDrawsTheWalkTowardIt) {
    // Down and to the right: with no random turn the walk follows the pull onto the target;
    // a pull pointing the wrong way would land it on the ground instead.
    ScriptRnd({0.5, 0.5});
    OneTarget(100, 100, 160, 180);
    auto bolt = ReadyBolt();
    EXPECT_EQ(bolt->GameStep(40), 1);
    EXPECT_EQ(sky->PixelAt(160, 180), kWhite);
}

TEST_F(LightningTest, AmongEqualNearTargetsTheLowestRowIsStruck) {
    struct Case {
        const char* name;
        std::int32_t size;
        std::vector<std::pair<int, int>> rows;  // rows 1.. in order
        StrikeResult expected;
    };
    const Case cases[] = {
        {"same distance, row 1 right", 2, {{102, 100}, {98, 100}}, 1},
        {"same distance, row 1 left", 2, {{98, 100}, {102, 100}}, 1},
        {"the nearer wins whatever its row", 2, {{102, 101}, {99, 100}}, 2},
        {"rows above the size are ignored", 1, {{102, 101}, {100, 100}}, 1},
        {"same distance, three targets", 3, {{500, 0}, {100, 102}, {100, 98}}, 2},
    };
    for (const Case& c : cases) {
        Fresh();
        SetPoint(0, 100, 100);
        for (std::size_t i = 0; i < c.rows.size(); ++i) {
            SetPoint(int(i) + 1, c.rows[i].first, c.rows[i].second);
        }
        points->ItsSize = c.size;
        auto bolt = ReadyBolt();
        EXPECT_EQ(bolt->GameStep(1), c.expected) << c.name;
        const auto [x, y] = c.rows[std::size_t(c.expected) - 1];
        EXPECT_EQ(sky->PixelAt(x, y), kWhite) << c.name;
    }
}

TEST_F(LightningTest, AStepBelowTheLineAboveTheGroundEndsOnTheGround) {
    // Straight down from (250, y): the only target is straight above, weaker than the ground.
    struct Case {
        std::int32_t sourceY;
        double lengthRnd;
        std::int32_t charge;
        StrikeResult expected;
    };
    const Case cases[] = {
        {272, 0.375, 1, -1},  // 275.75
        {272, 0.375, 2, 0},   // 279.5: below 279, so onto the ground at 280
        {273, 0.0, 2, -1},    // 279 exactly is still above it
        {273, 0.0, 3, 0},
    };
    for (const Case& c : cases) {
        Fresh();
        ScriptRnd({0.5, c.lengthRnd});
        OneTarget(250, c.sourceY, 250, 0);
        auto bolt = ReadyBolt();
        const std::string label =
            "from y " + std::to_string(c.sourceY) + ", charge " + std::to_string(c.charge);
        EXPECT_EQ(bolt->GameStep(c.charge), c.expected) << label;
        if (c.expected == GameLightning::kGroundStrike) {
            EXPECT_EQ(sky->PixelAt(250, kGround), kWhite) << label;
            EXPECT_EQ(CountPixelsInRows(*sky, kWhite, kGround + 1, kFieldHeight), 0) << label;
        }
    }
}

TEST_F(LightningTest, EveryBoltLandsWhereItSaysOrIsNotShown) {
    // Seeded walks from the main field's positions, with charges that sometimes run out.
    SeedRnd(20261207);
    points = MainFieldPoints(100, 35, 250, 264);
    auto bolt = ReadyBolt();
    int strikes = 0;
    int misses = 0;
    for (int attempt = 0; attempt < 300; ++attempt) {
        const StrikeResult result = bolt->GameStep(20 + attempt % 80);
        const int white = CountPixels(*sky, kWhite);
        if (result == GameLightning::kNoStrike) {
            EXPECT_EQ(white, 0) << attempt;
            ++misses;
            continue;
        }
        ++strikes;
        if (result == GameLightning::kGroundStrike) {
            EXPECT_GT(CountPixelsInRows(*sky, kWhite, kGround, kGround + 1), 0) << attempt;
        } else {
            ASSERT_GE(result, 1);
            ASSERT_LE(result, 3);
            EXPECT_EQ(sky->PixelAt(points->ItsData[result][0], points->ItsData[result][1]), kWhite)
                << attempt;
        }
        EXPECT_EQ(CountPixelsInRows(*sky, kWhite, kGround + 1, kFieldHeight), 0) << attempt;
        bolt->GameStep(0);
        bolt->GameStep(0);
    }
    EXPECT_GT(strikes, 0);
    EXPECT_GT(misses, 0);
}

TEST_F(LightningTest, EveryStrikeAndNothingElseQueuesTheStrikeSound) {
    SeedRnd(7);
    points = MainFieldPoints(100, 35, 250, 264);
    auto bolt = MakeBolt();
    int strikes = 0;
    for (int call = 0; call < 400; ++call) {
        MainWindow().ItsSoundPlayer = std::make_unique<SoundPlayer>();
        const StrikeResult result = bolt->GameStep(call % 150);
        if (result >= 0) {
            ++strikes;
            ASSERT_EQ(Queued(), 1) << call;
            EXPECT_EQ(MainWindow().ItsSoundPlayer->RefQueued(0), strikeSound);
            EXPECT_EQ(MainWindow().ItsSoundPlayer->RefQueuedPriority(0), 8);
        } else {
            EXPECT_EQ(Queued(), 0) << call;
        }
    }
    EXPECT_GT(strikes, 20);
}

TEST_F(LightningTest, TheStrikeSoundIsTheSoundItemTakenWhenTheBoltIsMade) {
    SetResourcesFolder(std::string(TEMBROLO_SOURCE_DIR) + "/resources");
    ProbeLightning bolt(sky->Graphics(), points);
    ASSERT_NE(LightningSnd(), nullptr);
    EXPECT_EQ(bolt.RefSound(), LightningSnd());
}

TEST_F(LightningTest, AStrikeWithoutASoundPlayerStillLands) {
    MainWindow().ItsSoundPlayer.reset();
    OneTarget(100, 100, 101, 101);
    auto bolt = ReadyBolt();
    EXPECT_EQ(bolt->GameStep(10), 1);
    EXPECT_EQ(sky->PixelAt(101, 101), kWhite);
}
