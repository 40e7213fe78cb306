#include "GameLightning.h"

#include <cmath>
#include <limits>
#include <utility>

#include "MainWindowShared.h"
#include "Rnd.h"
#include "SoundItems.h"

namespace {
constexpr double kCaptureDistance = 3.0;  // pixels

// Drawn pixels only: cut toward zero, and held within Int32 so that a walk far off the picture
// cannot overflow the conversion.
std::int32_t ToPixel(double v) {
    constexpr double kLow = std::numeric_limits<std::int32_t>::min();
    constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
    if (!(v >= kLow)) {
        return v < kLow ? std::numeric_limits<std::int32_t>::min() : 0;  // NaN draws at 0
    }
    return v < kHigh ? static_cast<std::int32_t>(v) : std::numeric_limits<std::int32_t>::max();
}

struct Point {
    double x;
    double y;
};

Point Row(const GamePointArrey& points, std::int32_t k) {
    return {static_cast<double>(points.ItsData[k][0]), static_cast<double>(points.ItsData[k][1])};
}
}  // namespace

GameLightning::GameLightning(Graphics& g, std::shared_ptr<GamePointArrey> points)
    : ItsGraphics(&g), ItsPointArrey(std::move(points)) {
    ItsLightningSnd = LightningSnd();
    LightningHold = kFirstHold;
    // Whatever the picture held before is unknown, and no copy of it is up to date.
    BoltArea = {0, 0, g.Width(), g.Height()};
    TakenBoltArea = BoltArea;
    ClearScreen();
}

void GameLightning::ClearScreen() {
    NoteDrawing();
    ItsGraphics->ForeColor = kSkyColor;
    if (BoltArea.Empty()) {
        return;
    }
    ItsGraphics->FillRect(BoltArea.left, BoltArea.top, BoltArea.Width(), BoltArea.Height());
    ItsGraphics->ForgetDrawnAreas();  // the fill is sky, not bolt
    BoltArea = {};
}

// Outside the bolt's area the picture is sky, now as at the last call: only a pixel inside the
// area then or the area now can differ. A bolt drawn and cleared in between (a miss) changed
// nothing.
PixelArea GameLightning::TakeChangedArea() {
    NoteDrawing();
    PixelArea changed = TakenBoltArea;
    changed.Include(BoltArea);
    TakenBoltArea = BoltArea;
    return changed;
}

void GameLightning::NoteDrawing() {
    for (const PixelArea& area : ItsGraphics->DrawnAreas()) {
        BoltArea.Include(area);
    }
    ItsGraphics->ForgetDrawnAreas();
}

StrikeResult GameLightning::GameStep(std::int32_t charge) {
    if (LightningHold > 0) {
        --LightningHold;
        if (LightningHold == 1) {
            ClearScreen();
        }
        return kNoStrike;
    }
    ClearScreen();
    if (ItsPointArrey->ItsSize <= 0) {
        return kNoStrike;
    }
    const StrikeResult target = Grow(charge);
    if (target >= 0) {
        if (SoundPlayer* player = MainWindow().ItsSoundPlayer.get()) {
            player->PushQueue(ItsLightningSnd, kStrikePriority);
        }
        LightningHold = kStrikeHold;
    } else {
        ClearScreen();
    }
    return target;
}

// The walk: up to `charge` segments from the source, each aimed along the pull of the targets
// (1/d², only from 3 px on) and of the tip's mirror image below the ground, turned by a random
// angle. The whole bolt grows within this call; it does not yield and keeps no history.
StrikeResult GameLightning::Grow(std::int32_t charge) {
    const GamePointArrey& points = *ItsPointArrey;
    Graphics& g = *ItsGraphics;
    g.ForeColor = kBoltColor;
    g.PenWidth = 1;
    g.PenHeight = 1;
    Point at = Row(points, 0);
    StrikeResult target = kNoStrike;
    for (std::int32_t i = 1; i <= charge && target == kNoStrike; ++i) {
        const std::int32_t ground = points.ItsGround;
        double fx = 0.0;
        double fy = std::pow((static_cast<double>(ground + 10) - at.y) * 2.0, -2.0);
        double dmin = static_cast<double>((g.Width() + g.Height()) * 2);
        std::int32_t nearest = 0;
        for (std::int32_t j = 1; j <= points.ItsSize; ++j) {
            const Point p = Row(points, j);
            const double dx = p.x - at.x;
            const double dy = p.y - at.y;
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d >= kCaptureDistance) {
                const double cube = std::pow(d, 3.0);
                fx += dx / cube;
                fy += dy / cube;
            }
            if (d < dmin) {
                nearest = j;
                dmin = d;
            }
        }
        Point next;
        if (dmin < kCaptureDistance) {
            next = Row(points, nearest);
            target = nearest;
        } else {
            const double angle = std::atan2(fx, -1.0 * fy) + std::asin(Rnd() * 1.9 - 0.95);
            const double length = 3.0 + Rnd() * 2.0;
            next = {at.x + length * std::sin(angle), at.y - length * std::cos(angle)};
            if (next.y > static_cast<double>(ground - 1)) {
                next.y = ground;
                target = kGroundStrike;
            }
        }
        g.DrawLine(ToPixel(at.x), ToPixel(at.y), ToPixel(next.x), ToPixel(next.y));
        at = next;
    }
    return target;
}
