#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FortuneField.h"
#include "GameTestSupport.h"
#include "MainWindowShared.h"
#include "PictureItems.h"
#include "ResourcesFolder.h"
#include "Rnd.h"
#include "SoundPlayer.h"
#include "Window.h"

namespace {
using namespace gametest;

class ProbeFortune : public FortuneField {
public:
    explicit ProbeFortune(::Window* window) : FortuneField(window) {}

    using FortuneField::ClearRefreshMark;
    using FortuneField::FortuneStatus;

    ScriptedLightning& ScriptTheBolt() {
        auto bolt = std::make_unique<ScriptedLightning>(LightningPict->Graphics(), ThePointArrey);
        ScriptedLightning& script = *bolt;
        SetLightning(std::move(bolt));
        return script;
    }
    const Picture& Frame() const { return *OffscreenPicture; }
    const Picture& Sky() const { return *LightningPict; }
    std::int32_t GodX() const { return ItsRaijin->RefX(); }
    std::int32_t GodY() const { return ItsRaijin->RefY(); }
    std::int32_t SourceX() const { return ThePointArrey->ItsData[0][0]; }
};

class FortuneFieldTest : public testing::Test {
protected:
    void SetUp() override {
        SetResourcesFolder(std::string(TEMBROLO_SOURCE_DIR) + "/resources");
        MainWindow().ItsSoundPlayer = std::make_unique<SoundPlayer>();
        SeedRnd(20121122);  // before the god takes its start height
        field.SetBounds(0, 0, 200, 300);
        field.Created = [](OffscreenCanvas& sender) { sender.CreateOffscreen(32, true); };
        field.Event_Open();
    }

    void TearDown() override { ResetMainWindowStandIn(); }

    // Every tick draws a frame and asks for it to be shown, leaving the painting to the window.
    void Tick() {
        field.ClearRefreshMark();
        field.GameStep();
        EXPECT_TRUE(field.IsRefreshPending());
        MainWindow().ItsSoundPlayer->PlayQueue();
    }

    void Ticks(std::int32_t n) {
        for (std::int32_t i = 0; i < n; ++i) {
            Tick();
        }
    }

    // Whether frame `frame` of the result picture shows in its square. The god may hover over
    // the square's middle, so only the strips left and right of its column are compared.
    bool ResultShown(std::int32_t frame) const {
        const Picture& result = *FortuneResultPict();
        const std::int32_t sx = frame * 100;
        return SpriteDrawnAt(field.Frame(), result, sx, 0, 30, 100, 50, 50) &&
               SpriteDrawnAt(field.Frame(), result, sx + 70, 0, 30, 100, 120, 50);
    }

    // What every frame shows in the same place: the lightning picture between the result's
    // square and the rods, the ground from y 280 down, and the two rods.
    void ExpectTheFixedParts() const {
        const Picture& frame = field.Frame();
        for (std::int32_t y = 150; y < 216; ++y) {
            for (std::int32_t x = 0; x < 200; ++x) {
                ASSERT_EQ(frame.PixelAt(x, y), field.Sky().PixelAt(x, y)) << x << ", " << y;
            }
        }
        EXPECT_EQ(CountPixelsInRows(frame, kGroundColour, 280, 300), 200 * 20);
        const Picture& rods = *FortuneTargetsPict();
        EXPECT_TRUE(SpriteDrawnAt(frame, rods, 0, 0, 32, 64, 5, 216));
        EXPECT_TRUE(SpriteDrawnAt(frame, rods, 32, 0, 32, 64, 165, 216));
    }

    bool GodDrawn() const {
        const Picture& god = *RaijinPict();
        return SpriteDrawnAt(field.Frame(), god, 0, 0, 32, 16, field.GodX(), field.GodY()) ||
               SpriteDrawnAt(field.Frame(), god, 32, 0, 32, 16, field.GodX(), field.GodY());
    }

    Window window;
    ProbeFortune field{&window};
};

TEST_F(FortuneFieldTest, GroundStrikesDecideNothing) {
    ScriptedLightning& bolt = field.ScriptTheBolt();
    const std::int32_t top = field.GodY();
    bolt.StrikeNext(0);
    Tick();
    // The bolt shows, ending on the ground line at y 280 below the god.
    const std::int32_t x = field.SourceX();
    EXPECT_EQ(field.Sky().PixelAt(x, 280), kBolt);
    EXPECT_EQ(field.Sky().PixelAt(x, 281), kSky);
    ExpectTheFixedParts();
    bolt.StrikeNext(-1);
    bolt.StrikeNext(0);
    Ticks(4);
    EXPECT_EQ(field.FortuneStatus, 0);
    EXPECT_EQ(field.GodY(), top + 5);  // still coming down, 1 px a tick
    EXPECT_EQ(bolt.Charges, (std::vector<std::int32_t>{50, 50, 50, 50, 50}));
    // Only a rod decides; after that no bolt is given a charge.
    bolt.StrikeNext(2);
    Ticks(5);
    EXPECT_EQ(field.FortuneStatus, 2);
    EXPECT_EQ(bolt.Charges, (std::vector<std::int32_t>{50, 50, 50, 50, 50, 50, 0, 0, 0, 0}));
}

// A strike on the left rod shows frame 0 of the result, one on the right rod frame 1.
struct RodCase {
    std::int32_t rod;
    std::int32_t frame;
    std::int32_t tipX;
};

class FortuneRodTest : public FortuneFieldTest, public testing::WithParamInterface<RodCase> {};

TEST_P(FortuneRodTest, TheStruckRodsResultShowsThreeTicksLaterBehindTheGod) {
    const RodCase c = GetParam();
    ScriptedLightning& bolt = field.ScriptTheBolt();
    // Let the god come down into the result's square first.
    while (field.GodY() < 70) {
        Tick();
    }
    bolt.StrikeNext(c.rod);
    Tick();
    EXPECT_EQ(field.FortuneStatus, c.rod);
    EXPECT_EQ(field.Sky().PixelAt(c.tipX, 228), kBolt);  // the bolt ends on the rod's tip
    ExpectTheFixedParts();
    Ticks(2);
    EXPECT_FALSE(ResultShown(c.frame));
    Tick();
    EXPECT_TRUE(ResultShown(c.frame));
    EXPECT_FALSE(ResultShown(1 - c.frame));
    EXPECT_TRUE(GodDrawn());
    // The god, hovering at y 71, rises out of sight 2 px a tick while above y -40; the result
    // stays.
    EXPECT_EQ(field.GodY(), 71);
    Ticks(100);
    EXPECT_EQ(field.GodY(), -41);
    EXPECT_TRUE(ResultShown(c.frame));
}

INSTANTIATE_TEST_SUITE_P(LeftAndRight, FortuneRodTest,
                         testing::Values(RodCase{1, 0, 20}, RodCase{2, 1, 180}),
                         [](const auto& info) {
                             return std::string(info.param.rod == 1 ? "LeftRod" : "RightRod");
                         });

TEST_F(FortuneFieldTest, ARealBoltDecidesOnARodAndNoBoltIsDrawnAfterwards) {
    // Seeded (the god's start height and every bolt): the 114th tick strikes the left rod. The
    // struck bolt, ending on the rod's tip, shows in the frame of the strike only.
    Ticks(113);
    EXPECT_EQ(field.FortuneStatus, 0);
    Tick();
    ASSERT_EQ(field.FortuneStatus, 1);
    EXPECT_EQ(field.Sky().PixelAt(20, 228), kBolt);
    ExpectTheFixedParts();
    for (std::int32_t i = 0; i < 60; ++i) {
        Tick();
        ASSERT_EQ(CountPixels(field.Sky(), kSky), 200 * 300) << "tick " << i;
    }
    EXPECT_TRUE(ResultShown(field.FortuneStatus - 1));
}

}  // namespace
