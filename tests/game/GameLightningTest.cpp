#include "GameLightning.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "GameTestSupport.h"
#include "Graphics.h"
#include "MainWindowShared.h"
#include "ResourcesFolder.h"
#include "Rnd.h"
#include "SoundItems.h"

using namespace gametest;

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
        points->ItsGround = kGroundY;
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
    sky->Graphics().ForgetDrawnAreas();  // all white, and none of it noted as drawn
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

// A bolt struck at the very ends of Int32, far off the picture, leaves no mark on it.
TEST_F(LightningTest, AStrikeFarOffThePictureDrawsNothingOnIt) {
    for (const std::int32_t x :
         {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()}) {
        Fresh();
        OneTarget(x, 100, x, 101);
        EXPECT_EQ(ReadyBolt()->GameStep(1), 1) << x;
        EXPECT_EQ(CountPixels(*sky, kSky), kFieldWidth * kFieldHeight) << x;
    }
}

// Walks with a scripted Rnd: 0.5 for the first draw of a step turns it by 0, the second sets
// its length, 3 + 2 * Rnd px. A target pulls with 1/d² from 3 px on, the ground straight down
// with 1/d² from the tip's mirror image in the line y 290 (ground + 10).
TEST_F(LightningTest, ScriptedWalksEndWhereTheRulesPutThem) {
    struct Case {
        const char* name;
        double lengthRnd;
        std::vector<std::pair<int, int>> points;  // the source, then rows 1..
        std::int32_t charge;
        StrikeResult expected;  // the ground is struck straight below the source
        std::int32_t size = 0;  // 0: every row given is a target
    };
    const Case cases[] = {
        {"4 px down to 120, 1 px short", 0.5, {{100, 100}, {100, 121}}, 5, -1},
        {"then captured", 0.5, {{100, 100}, {100, 121}}, 6, 1},
        {"3 px down to 109, 3 px short: not captured", 0.0, {{100, 100}, {100, 112}}, 4, -1},
        {"on it at 112, then captured", 0.0, {{100, 100}, {100, 112}}, 5, 1},
        {"down and aside onto the target", 0.5, {{100, 100}, {160, 180}}, 40, 1},
        // Below a target at y 22 the pulls balance where y - 22 = 2 * (290 - y): at y 200.67.
        {"just above the balance, up to the target", 0.5, {{250, 200}, {250, 22}}, 60, 1},
        {"just below it, down to the ground", 0.5, {{250, 201}, {250, 22}}, 60, 0},
        {"a target exactly 3 px aside pulls", 0.5, {{100, 100}, {103, 100}}, 2, 1},
        {"same distance, row 1 right", 0.5, {{100, 100}, {102, 100}, {98, 100}}, 1, 1},
        {"same distance, row 1 left", 0.5, {{100, 100}, {98, 100}, {102, 100}}, 1, 1},
        {"the nearer wins whatever its row", 0.5, {{100, 100}, {102, 101}, {99, 100}}, 1, 2},
        {"rows above the size are ignored", 0.5, {{100, 100}, {102, 101}, {100, 100}}, 1, 1, 1},
        {"same distance, three targets", 0.5, {{100, 100}, {500, 0}, {100, 102}, {100, 98}}, 1, 2},
        {"down to 275.75", 0.375, {{250, 272}, {250, 0}}, 1, -1},
        {"279.5 is below 279: onto the ground", 0.375, {{250, 272}, {250, 0}}, 2, 0},
        {"279 exactly is still above it", 0.0, {{250, 273}, {250, 0}}, 2, -1},
        {"then the ground", 0.0, {{250, 273}, {250, 0}}, 3, 0},
    };
    for (const Case& c : cases) {
        Fresh();
        ScriptRnd({0.5, c.lengthRnd});
        for (std::size_t k = 0; k < c.points.size(); ++k) {
            SetPoint(int(k), c.points[k].first, c.points[k].second);
        }
        points->ItsSize = c.size > 0 ? c.size : std::int32_t(c.points.size()) - 1;
        auto bolt = ReadyBolt();
        EXPECT_EQ(bolt->GameStep(c.charge), c.expected) << c.name;
        if (c.expected < 0) {
            EXPECT_EQ(CountPixels(*sky, kWhite), 0) << c.name;
            continue;
        }
        const auto [x, y] = c.expected == 0 ? std::pair{c.points[0].first, kGroundY}
                                            : c.points[std::size_t(c.expected)];
        EXPECT_EQ(sky->PixelAt(x, y), kWhite) << c.name;
        EXPECT_EQ(CountPixelsInRows(*sky, kWhite, kGroundY + 1, kFieldHeight), 0) << c.name;
        if (x == c.points[0].first && c.charge > 1) {
            // One straight stroke from the source to the end.
            EXPECT_EQ(CountPixels(*sky, kWhite), std::abs(y - c.points[0].second) + 1) << c.name;
        }
    }
}

// Seeded walks from the main field's positions, with charges that sometimes run out: a landed
// bolt ends on what it struck and sounds once, with priority 8; any other is neither shown nor
// heard, and nothing is ever drawn below the ground.
TEST_F(LightningTest, EveryBoltLandsWhereItSaysAndSoundsOrIsNeitherShownNorHeard) {
    SeedRnd(20261207);
    points = MainFieldPoints(100, 35, 250, 264);
    auto bolt = MakeBolt();
    int strikes = 0;
    int misses = 0;
    for (int call = 0; call < 500; ++call) {
        MainWindow().ItsSoundPlayer = std::make_unique<SoundPlayer>();
        const StrikeResult result = bolt->GameStep(20 + call % 80);
        EXPECT_EQ(CountPixelsInRows(*sky, kWhite, kGroundY + 1, kFieldHeight), 0) << call;
        if (result == GameLightning::kNoStrike) {
            ++misses;
            EXPECT_EQ(CountPixels(*sky, kWhite), 0) << call;
            EXPECT_EQ(Queued(), 0) << call;
            continue;
        }
        ++strikes;
        ASSERT_EQ(Queued(), 1) << call;
        EXPECT_EQ(MainWindow().ItsSoundPlayer->RefQueued(0), strikeSound);
        EXPECT_EQ(MainWindow().ItsSoundPlayer->RefQueuedPriority(0), 8);
        if (result == GameLightning::kGroundStrike) {
            EXPECT_GT(CountPixelsInRows(*sky, kWhite, kGroundY, kGroundY + 1), 0) << call;
        } else {
            ASSERT_LE(result, 3);
            const auto [x, y] = points->ItsData[std::size_t(result)];
            EXPECT_EQ(sky->PixelAt(x, y), kWhite) << call;
        }
    }
    EXPECT_GT(strikes, 50);
    EXPECT_GT(misses, 2 * strikes);
}

TEST_F(LightningTest, TheStrikeSoundIsTheItemTakenWhenMadeAndAStrikeLandsWithoutAPlayer) {
    SetResourcesFolder(std::string(TEMBROLO_SOURCE_DIR) + "/resources");
    OneTarget(100, 100, 101, 101);
    ProbeLightning bolt(sky->Graphics(), points);
    ASSERT_NE(LightningSnd(), nullptr);
    EXPECT_EQ(bolt.RefSound(), LightningSnd());
    MainWindow().ItsSoundPlayer.reset();
    for (int i = 0; i < 3; ++i) {
        bolt.GameStep(10);
    }
    EXPECT_EQ(bolt.GameStep(10), 1);
    EXPECT_EQ(sky->PixelAt(101, 101), kWhite);
}

// Shares of many seeded bolts, each held within 5 standard deviations of the share that the
// rules of the walk give (worked out apart from the game's code, from a million walks or more).
void ExpectShare(int count, int of, double share, const std::string& what) {
    const double sd = std::sqrt(of * share * (1 - share));
    EXPECT_NEAR(count, of * share, 5 * sd + 1) << what;
}

constexpr std::uint64_t kSharesSeed = 20261207;
constexpr std::int32_t kFarAbove = -1000000;  // a target out of reach and of no pull

// One pixel above the ground, with only the ground's pull, every bolt is a single segment of 3
// to 5 px turned by asin(u), u even in -0.95..0.95: it lands L * u aside, never beyond 4.75 px.
TEST_F(LightningTest, ASegmentLandsAtMost475PixelsAsideEvenlySpreadInTheMiddle) {
    constexpr int kBolts = 10000;
    const double shares[] = {0.01647, 0.08126, 0.13341, 0.13443, 0.13443,
                             0.13443, 0.13443, 0.13341, 0.08126, 0.01647};
    SeedRnd(kSharesSeed);
    sky = Picture::Create(16, kGroundY + 1, 32);
    OneTarget(8, kGroundY - 1, 8, kFarAbove);
    auto bolt = ReadyBolt();
    std::array<int, 10> landed{};  // at x - 5 to x + 4 of the source
    for (int i = 0; i < kBolts; ++i) {
        ASSERT_EQ(bolt->GameStep(1), GameLightning::kGroundStrike) << i;
        int farthest = 0;
        for (int x = 0; x < 16; ++x) {
            if (sky->PixelAt(x, kGroundY) == kWhite && std::abs(x - 8) >= std::abs(farthest)) {
                farthest = x - 8;
            }
        }
        ASSERT_GE(farthest, -5) << i;
        ASSERT_LE(farthest, 4) << i;
        ++landed[std::size_t(farthest + 5)];
        bolt->GameStep(0);
        bolt->GameStep(0);
    }
    for (std::size_t k = 0; k < landed.size(); ++k) {
        ExpectShare(landed[k], kBolts, shares[k], "at x " + std::to_string(int(k) - 5));
    }
}

// From the god's height (y 35), with only the ground's pull, a bolt needs the 245 px to the
// ground at 3.26 px a segment on average (4 px times the mean of cos(asin(u))): about 75
// segments, seldom fewer than 71.
TEST_F(LightningTest, FromTheGodsHeightABoltNeedsAbout75Segments) {
    constexpr int kBolts = 1000;
    struct Reach {
        std::int32_t charge;
        double share;  // of bolts that land within it
    };
    SeedRnd(kSharesSeed);
    sky = Picture::Create(4, kGroundY + 1, 32);
    OneTarget(2, 35, 2, kFarAbove);
    auto bolt = ReadyBolt();
    for (const Reach r : {Reach{70, 0.0161}, Reach{74, 0.3702}, Reach{78, 0.9108}}) {
        int landed = 0;
        for (int i = 0; i < kBolts; ++i) {
            if (bolt->GameStep(r.charge) == GameLightning::kGroundStrike) {
                ++landed;
                bolt->GameStep(0);
                bolt->GameStep(0);
            }
        }
        ExpectShare(landed, kBolts, r.share, "charge " + std::to_string(r.charge));
    }
}

// Full-charge bolts from the god's patrol (x 6 to 462 by 2 px, at y 20; the left part of the
// sweep once more than the right) over a runner standing midfield: every one lands, on the
// runner more often than on either rod, and seldom on the ground.
TEST_F(LightningTest, BoltsFromThePatrolHitGroundRodsAndRunnerInFairShares) {
    constexpr int kBolts = 2000;
    SeedRnd(kSharesSeed);
    points = MainFieldPoints(0, 20 + 15, 235 + 15, 216 + 48);
    auto bolt = ReadyBolt();
    std::array<int, 4> struck{};  // the ground, the runner, the left and the right rod
    for (int i = 0; i < kBolts; ++i) {
        points->ItsData[0][0] = 6 + 2 * (i % 229) + 15;
        const StrikeResult result = bolt->GameStep(1000);
        ASSERT_GE(result, 0) << i;
        ++struck.at(std::size_t(result));
        bolt->GameStep(0);
        bolt->GameStep(0);
    }
    const char* names[] = {"ground", "runner", "left rod", "right rod"};
    const double shares[] = {0.0657, 0.4421, 0.2623, 0.2299};
    for (std::size_t k = 0; k < 4; ++k) {
        ExpectShare(struck[k], kBolts, shares[k], names[k]);
    }
}
