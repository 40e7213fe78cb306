#include <gtest/gtest.h>

#include <array>

#include "ActorTestSupport.h"
#include "GameLightning.h"
#include "Graphics.h"
#include "MainWindowShared.h"
#include "Rnd.h"

using namespace actors_test;

namespace {
constexpr int kAttempts = 2000;

// What full-charge bolts from the main field strike while the god patrols (x 6 to 462 by 2 px,
// at y 20) over a runner standing midfield: index 0 the ground, 1 the runner, 2 and 3 the rods,
// 4 no strike at all.
std::array<int, 5> StrikeCounts(std::uint64_t seed) {
    SeedRnd(seed);
    MainWindow().ItsSoundPlayer = std::make_unique<SoundPlayer>();
    PicturePtr sky = Picture::Create(kFieldWidth, kFieldHeight, 32);
    auto points = MainFieldPoints(0, 20 + 15, 235 + 15, 216 + 48);
    GameLightning bolt(sky->Graphics(), points);
    for (int wait = 0; wait < 3; ++wait) {
        bolt.GameStep(0);
    }
    std::array<int, 5> counts{};
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        points->ItsData[0][0] = 6 + 2 * (attempt % 229) + 15;
        const StrikeResult result = bolt.GameStep(1000);
        if (result == GameLightning::kNoStrike) {
            ++counts[4];
            continue;
        }
        ++counts.at(std::size_t(result));
        bolt.GameStep(0);  // the two ticks after a strike
        bolt.GameStep(0);
    }
    ResetMainWindowStandIn();
    return counts;
}
}  // namespace

// Measured shares are about 6 % ground, 44 % runner and 25 % for each rod; a pull with a wrong
// sign or a walk aimed the wrong way, which may also fail to land at all, moves them far outside
// these bands.
TEST(LightningSharesTest, BoltsFromThePatrolHitGroundRodsAndRunnerInFairShares) {
    const std::array<int, 5> c = StrikeCounts(20261207);
    const char* names[] = {"ground", "runner", "left rod", "right rod", "nothing"};
    const int low[] = {60, 700, 360, 360, 0};
    const int high[] = {240, 1100, 660, 660, 10};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_GE(c[i], low[i]) << names[i];
        EXPECT_LE(c[i], high[i]) << names[i];
    }
}
