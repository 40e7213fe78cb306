#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <string>
#include <vector>

#include "EventLoop.h"
#include "Graphics.h"
#include "OffscreenCanvas.h"
#include "Window.h"

namespace {
constexpr std::uint32_t kSky = 0x000066;
constexpr std::uint32_t kGround = 0x990000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

// A field that records its hooks and draws sky over ground, split at half its height.
class RecordingField : public OffscreenCanvas {
public:
    using OffscreenCanvas::OffscreenCanvas;
    using OffscreenCanvas::RefreshPicture;

    std::vector<std::string> log;
    bool oldRendererSeen = false;
    int paints = 0;

    std::int32_t Depth() const { return ItsDepth; }
    std::int32_t OffscreenWidth() const { return ItsWidth; }
    std::int32_t OffscreenHeight() const { return ItsHeight; }
    void FixSize(std::int32_t w, std::int32_t h) {
        ItsFixedWidth = w;
        ItsFixedHeight = h;
    }
    void Event_Paint(Graphics& g) override {
        ++paints;
        OffscreenCanvas::Event_Paint(g);
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
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (At(image, x, y) != kWhite) {
                return false;
            }
        }
    }
    return true;
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
    EXPECT_EQ(field.Depth(), 32);
    EXPECT_EQ(field.OffscreenWidth(), 500);
    EXPECT_EQ(field.OffscreenHeight(), 300);
}

TEST(OffscreenCanvasTest, OpeningWithoutAHandlerMakesNoOffscreen) {
    RecordingField field(nullptr);
    field.SetBounds(0, 0, 50, 30);
    field.Event_Open();
    EXPECT_EQ(field.log, (std::vector<std::string>{"init"}));
    EXPECT_FALSE(field.RefOffscreenAvail());
}

TEST(OffscreenCanvasTest, DepthsOtherThanTheKnownOnesBecome32) {
    const std::pair<std::int32_t, std::int32_t> cases[] = {
        {12, 32}, {0, 32}, {-8, 32}, {16, 16}, {1, 1}, {8, 8}, {24, 24}, {32, 32}, {64, 32},
    };
    for (const auto& [asked, want] : cases) {
        RecordingField field(nullptr);
        field.SetBounds(0, 0, 20, 10);
        field.CreateOffscreen(asked, false);
        EXPECT_EQ(field.Depth(), want) << "asked " << asked;
        EXPECT_FALSE(field.oldRendererSeen);
    }
}

TEST(OffscreenCanvasTest, APictureThatCannotBeMadeLeavesNoOffscreenAndRunsNoHook) {
    RecordingField field(nullptr);
    field.SetBounds(0, 0, 0, 300);  // no picture of zero width
    field.CreateOffscreen(16, true);
    EXPECT_TRUE(field.log.empty());
    EXPECT_FALSE(field.RefOffscreenAvail());
    EXPECT_EQ(field.Depth(), 0);
    EXPECT_EQ(field.OffscreenWidth(), 0);
    EXPECT_EQ(field.OffscreenHeight(), 0);
    EXPECT_FALSE(field.IsRefreshPending());
}

TEST(OffscreenCanvasTest, WithoutAnOffscreenThePaintIsWhite) {
    RecordingField field(nullptr);
    field.SetBounds(0, 0, 40, 30);
    EXPECT_TRUE(AllWhite(Screen(field)));

    field.CreateOffscreen(32, true);
    EXPECT_EQ(At(Screen(field), 0, 0), kSky);
    field.DisposeOffscreen();
    EXPECT_EQ(field.log.back(), "disposed");
    EXPECT_FALSE(field.RefOffscreenAvail());
    EXPECT_EQ(field.Depth(), 0);
    EXPECT_TRUE(AllWhite(Screen(field)));
}

TEST(OffscreenCanvasTest, TheFrameIsCopiedOneToOne) {
    RecordingField field(nullptr);
    field.SetBounds(0, 0, 500, 300);
    field.CreateOffscreen(32, true);
    const QImage screen = Screen(field);
    ASSERT_EQ(screen.size(), QSize(500, 300));
    EXPECT_EQ(At(screen, 0, 0), kSky);
    EXPECT_EQ(At(screen, 499, 149), kSky);
    EXPECT_EQ(At(screen, 0, 150), kGround);
    EXPECT_EQ(At(screen, 499, 299), kGround);
}

TEST(OffscreenCanvasTest, AResizedControlShowsTheOldFrameStretched) {
    RecordingField field(nullptr);
    field.SetBounds(0, 0, 100, 50);
    field.CreateOffscreen(32, true);  // sky in rows 0-24, ground in rows 25-49
    field.SetBounds(0, 0, 200, 100);
    const QImage screen = Screen(field);
    ASSERT_EQ(screen.size(), QSize(200, 100));
    EXPECT_EQ(At(screen, 199, 49), kSky);
    EXPECT_EQ(At(screen, 199, 50), kGround);
    EXPECT_EQ(At(screen, 0, 99), kGround);
    EXPECT_EQ(field.OffscreenWidth(), 100);  // until the next CreateOffscreen
}

TEST(OffscreenCanvasTest, FixedSizesApplyOnlyWhenBothAreSet) {
    struct Case {
        std::int32_t fixedW, fixedH, wantW, wantH;
    };
    const Case cases[] = {{64, 32, 64, 32}, {64, 0, 120, 80}, {0, 32, 120, 80}, {-1, 32, 120, 80}};
    for (const Case& c : cases) {
        RecordingField field(nullptr);
        field.SetBounds(0, 0, 120, 80);
        field.FixSize(c.fixedW, c.fixedH);
        field.CreateOffscreen(32, true);
        EXPECT_EQ(field.OffscreenWidth(), c.wantW) << c.fixedW << "x" << c.fixedH;
        EXPECT_EQ(field.OffscreenHeight(), c.wantH) << c.fixedW << "x" << c.fixedH;
    }
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
    for (std::int32_t x : {0, 1, 250, 499, -3}) {
        EXPECT_EQ(field.ScaledPosX(x), x);
    }
    EXPECT_EQ(field.ScaledPosY(299), 299);

    field.SetBounds(0, 0, 1000, 900);  // shown stretched: 2x across, 3x down
    EXPECT_EQ(field.ScaledPosX(999), 499);
    EXPECT_EQ(field.ScaledPosY(899), 299);
    EXPECT_EQ(field.ScaledPosX(-3), -1);  // truncated toward zero

    field.SetBounds(0, 0, 0, 0);
    EXPECT_EQ(field.ScaledPosX(10), 0);  // no division by a zero size
}

TEST(OffscreenCanvasTest, RefreshPictureNowRepaintsThroughTheWindow) {
    Window window;
    window.SetSize(100, 60);
    RecordingField field(&window);
    field.SetBounds(0, 0, 100, 60);
    field.Created = [](OffscreenCanvas& sender) { sender.CreateOffscreen(32, true); };
    window.Show();
    WaitUntilShown(window);
    const int before = field.paints;

    field.RefreshPicture(false);
    EXPECT_EQ(field.paints, before);  // marked only
    field.RefreshPicture(true);
    EXPECT_EQ(field.paints, before + 1);
    EXPECT_FALSE(field.IsRefreshPending());
    window.Close();
}
