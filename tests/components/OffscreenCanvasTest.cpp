#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "EventLoop.h"
#include "Graphics.h"
#include "OffscreenCanvas.h"
#include "Window.h"

namespace {
constexpr std::uint32_t kSky = 0x000066;
constexpr std::uint32_t kGround = 0x990000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

// A field that records its hooks and draws sky over ground, split at half its height.
class RecordingField : public OffscreenCanvas {
public:
    using OffscreenCanvas::OffscreenCanvas;
    using OffscreenCanvas::RefreshPicture;

    std::vector<std::string> log;
    bool oldRendererSeen = false;

    // The offscreen's depth, width and height.
    std::tuple<std::int32_t, std::int32_t, std::int32_t> Sizes() const {
        return {ItsDepth, ItsWidth, ItsHeight};
    }
    void FixSize(std::int32_t w, std::int32_t h) {
        ItsFixedWidth = w;
        ItsFixedHeight = h;
    }

protected:
    void Initialize() override { log.push_back(IsOffscreenAveil ? "init+" : "init"); }
    void OffscreenCreated() override {
        log.push_back(OffscreenGraphics != nullptr ? "created+" : "created");
        oldRendererSeen = OffscreenGraphics->UseOldRenderer;
    }
    void PaintOffscreen() override {
        log.push_back(IsRefreshPending() ? "paint, marked" : "paint");
        OffscreenGraphics->ForeColor = kSky;
        OffscreenGraphics->FillRect(0, 0, ItsWidth, ItsHeight / 2);
        OffscreenGraphics->ForeColor = kGround;
        OffscreenGraphics->FillRect(0, ItsHeight / 2, ItsWidth, ItsHeight);
    }
    void OffscreenDisposed() override { log.push_back("disposed"); }
};

// What a paint event puts on the screen.
QImage Screen(OffscreenCanvas& canvas) {
    return canvas.Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

std::uint32_t At(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFFu;
}

bool AllWhite(const QImage& image) {
    QImage white(image.size(), QImage::Format_RGB32);
    white.fill(Qt::white);
    return image == white;
}
}  // namespace

TEST(OffscreenCanvasTest, OpeningRunsTheSetUpInOrder) {
    RecordingField field(nullptr);
    field.SetBounds(0, 0, 500, 300);
    field.Created = [&](OffscreenCanvas& sender) {
        field.log.push_back("Created");
        sender.CreateOffscreen(32, true);
    };
    field.Event_Open();

    EXPECT_EQ(field.log, (std::vector<std::string>{"init", "Created", "created+", "paint"}));
    EXPECT_TRUE(field.IsRefreshPending());  // the repaint request comes after the first frame
    EXPECT_TRUE(field.RefOffscreenAvail());
    EXPECT_TRUE(field.oldRendererSeen);
    EXPECT_EQ(field.Sizes(), (std::tuple{32, 500, 300}));
}

// Each case asks for a depth on a 120 x 80 control that may fix the offscreen's size.
TEST(OffscreenCanvasTest, KnownDepthsAreKeptAndAFixedSizeAppliesOnlyWhenBothPartsAreSet) {
    const struct {
        std::int32_t depth, fixedW, fixedH, wantDepth, wantW, wantH;
    } cases[] = {
        {12, 64, 32, 32, 64, 32}, {0, 1, 1, 32, 1, 1},     {-8, 64, 0, 32, 120, 80},
        {16, 0, 32, 16, 120, 80}, {1, -1, 32, 1, 120, 80}, {8, 1, 0, 8, 120, 80},
        {24, 0, 1, 24, 120, 80},  {32, 0, 0, 32, 120, 80}, {64, 0, 0, 32, 120, 80},
    };
    for (const auto& c : cases) {
        RecordingField field(nullptr);
        field.SetBounds(0, 0, 120, 80);
        field.FixSize(c.fixedW, c.fixedH);
        field.CreateOffscreen(c.depth, false);
        EXPECT_EQ(field.Sizes(), (std::tuple{c.wantDepth, c.wantW, c.wantH}))
            << c.depth << ", " << c.fixedW << "x" << c.fixedH;
        EXPECT_FALSE(field.oldRendererSeen);
    }
}

// Without a Created handler, after DisposeOffscreen, or when no picture of the control's size can
// be made, there is no offscreen: no hook runs and a paint is white.
TEST(OffscreenCanvasTest, WithoutAnOffscreenNoHookRunsAndThePaintIsWhite) {
    RecordingField field(nullptr);
    field.SetBounds(0, 0, 40, 30);
    field.Event_Open();
    EXPECT_EQ(field.log, (std::vector<std::string>{"init"}));
    EXPECT_FALSE(field.RefOffscreenAvail());
    EXPECT_TRUE(AllWhite(Screen(field)));

    field.CreateOffscreen(32, true);
    EXPECT_EQ(At(Screen(field), 0, 0), kSky);
    field.DisposeOffscreen();
    EXPECT_EQ(field.log.back(), "disposed");
    EXPECT_FALSE(field.RefOffscreenAvail());
    EXPECT_EQ(field.Sizes(), (std::tuple{0, 0, 0}));
    EXPECT_TRUE(AllWhite(Screen(field)));

    field.CreateOffscreen(32, true);
    Screen(field);  // shown: nothing waits to be painted
    field.log.clear();
    field.SetBounds(0, 0, 0, 30);  // no picture of zero width
    field.CreateOffscreen(16, true);
    EXPECT_TRUE(field.log.empty());
    EXPECT_FALSE(field.RefOffscreenAvail());
    EXPECT_EQ(field.Sizes(), (std::tuple{0, 0, 0}));
    EXPECT_FALSE(field.IsRefreshPending());
    field.SetBounds(0, 0, 40, 30);
    EXPECT_TRUE(AllWhite(Screen(field)));
}

// A control resized after its offscreen was made shows the old frame stretched, across or down,
// until the next CreateOffscreen.
TEST(OffscreenCanvasTest, TheFrameIsCopiedOneToOneAndStretchedAfterAResize) {
    RecordingField field(nullptr);
    field.SetBounds(0, 0, 500, 300);
    field.CreateOffscreen(32, true);  // sky in rows 0-149, ground in rows 150-299
    QImage screen = Screen(field);
    ASSERT_EQ(screen.size(), QSize(500, 300));
    EXPECT_EQ(At(screen, 499, 149), kSky);
    EXPECT_EQ(At(screen, 0, 150), kGround);

    field.SetBounds(0, 0, 1000, 300);
    screen = Screen(field);
    ASSERT_EQ(screen.size(), QSize(1000, 300));
    EXPECT_EQ(At(screen, 999, 149), kSky);
    EXPECT_EQ(At(screen, 999, 150), kGround);
    field.SetBounds(0, 0, 500, 600);
    screen = Screen(field);
    EXPECT_EQ(At(screen, 499, 299), kSky);
    EXPECT_EQ(At(screen, 0, 599), kGround);
    EXPECT_EQ(field.Sizes(), (std::tuple{32, 500, 300}));
}

TEST(OffscreenCanvasTest, PointsInsideAndScaledPositions) {
    RecordingField field(nullptr);
    field.SetBounds(0, 0, 500, 300);
    EXPECT_EQ(field.ScaledPosX(250), 0);  // no offscreen yet
    EXPECT_EQ(field.ScaledPosY(150), 0);
    field.CreateOffscreen(32, true);

    const struct {
        std::int32_t x, y;
        bool in;
    } points[] = {{0, 0, true},    {499, 299, true}, {500, 0, false},
                  {0, 300, false}, {-1, 0, false},   {0, -1, false}};
    for (const auto& p : points) {
        EXPECT_EQ(field.IsPointIn(p.x, p.y), p.in) << p.x << "," << p.y;
    }
    for (std::int32_t v : {0, 1, 250, 499, -3, kMax, kMin}) {
        EXPECT_EQ(field.ScaledPosX(v), v);
        EXPECT_EQ(field.ScaledPosY(v), v);
    }

    field.SetBounds(0, 0, 1000, 900);  // shown stretched: 2x across, 3x down
    EXPECT_EQ(field.ScaledPosX(999), 499);
    EXPECT_EQ(field.ScaledPosY(899), 299);
    EXPECT_EQ(field.ScaledPosX(-3), -1);  // truncated toward zero
    EXPECT_EQ(field.ScaledPosX(kMax), kMax / 2);
    EXPECT_EQ(field.ScaledPosY(kMin), kMin / 3);
    field.SetBounds(0, 0, 250, 100);  // shown shrunk: a far position is held at the Int32 ends
    EXPECT_EQ(field.ScaledPosX(kMax), kMax);
    EXPECT_EQ(field.ScaledPosY(kMin), kMin);

    field.SetBounds(0, 0, 1, 0);
    EXPECT_EQ(field.ScaledPosX(1), 500);
    EXPECT_EQ(field.ScaledPosY(10), 0);  // no division by a zero size
}

TEST(OffscreenCanvasTest, RefreshPictureNowRepaintsThroughTheWindow) {
    Window window;
    window.SetSize(100, 60);
    RecordingField field(&window);
    field.SetBounds(0, 0, 100, 60);
    field.Created = [](OffscreenCanvas& sender) { sender.CreateOffscreen(32, true); };
    window.Show();
    WaitUntilShown(window);

    field.CreateOffscreen(32, true);  // a new frame only marks the control
    EXPECT_TRUE(field.IsRefreshPending());
    field.RefreshPicture(true);  // the window paints it at once: nothing waits
    EXPECT_FALSE(field.IsRefreshPending());
    window.Close();
}
