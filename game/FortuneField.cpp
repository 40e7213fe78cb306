#include "FortuneField.h"

#include "Graphics.h"
#include "PictureItems.h"

namespace {
constexpr std::int32_t kCharge = 50;      // segments each attempt may grow
constexpr std::int32_t kResultDelay = 3;  // ticks from the strike to the result
constexpr std::int32_t kUndecided = 0;
constexpr std::int32_t kLeftRodRow = 1;
constexpr std::int32_t kRightRodRow = 2;
constexpr std::int32_t kGroundY = 280;
constexpr std::uint32_t kGroundColour = 0x990000;
constexpr std::int32_t kNatural = Graphics::kNaturalSize;
}  // namespace

void FortuneField::GameStep() {
    if (OffscreenGraphics == nullptr) {
        return;  // no offscreen picture (a control of no size), so no god and no bolt
    }
    ItsRaijin->GameStep();
    if (FortuneStatus == kUndecided) {
        const std::int32_t struck = ItsLightning->GameStep(kCharge);
        // Only a rod decides; the ground and a miss leave it to the next tick.
        if (struck > 0) {
            ItsRaijin->StatusNext();  // the god stops and hovers
            FortuneStatus = struck;
            ResultWait = kResultDelay;
        }
    } else {
        // With no charge the bolt only wipes the sky: the struck bolt shows in one frame.
        ItsLightning->GameStep(0);
        if (ResultWait > 0) {
            --ResultWait;
            if (ResultWait == 0) {
                ItsRaijin->StatusNext();  // the god rises out of sight
            }
        }
    }
    PaintOffscreen();
    RefreshPicture(false);
}

void FortuneField::Initialize() {
    ThePointArrey = std::make_shared<GamePointArrey>();
    ThePointArrey->ItsGround = kGroundY;
    FortuneStatus = kUndecided;
}

void FortuneField::OffscreenCreated() {
    LightningPict = Picture::Create(OffscreenGraphics->Width(), OffscreenGraphics->Height(), 32);
    LightningPict->Graphics().UseOldRenderer = true;
    ItsLightning = std::make_unique<GameLightning>(LightningPict->Graphics(), ThePointArrey);
    ItsRaijin = std::make_unique<GameRaijin2>(*OffscreenGraphics, ThePointArrey);
    ThePointArrey->ItsData[kLeftRodRow][0] = 20;
    ThePointArrey->ItsData[kLeftRodRow][1] = 228;
    ThePointArrey->ItsData[kRightRodRow][0] = 180;
    ThePointArrey->ItsData[kRightRodRow][1] = 228;
    ThePointArrey->ItsSize = kRightRodRow;
}

// Back to front; the result lies behind the rods and the god.
void FortuneField::PaintOffscreen() {
    Graphics& g = *OffscreenGraphics;
    g.DrawPicture(LightningPict, 0, 0, kNatural, kNatural, 0, 0, kNatural, kNatural);
    g.PenWidth = 1;
    g.PenHeight = 1;
    g.ForeColor = kGroundColour;
    g.FillRect(0, 280, 200, 20);
    if (FortuneStatus > kUndecided && ResultWait == 0) {
        g.DrawPicture(FortuneResultPict(), 50, 50, 100, 100, (FortuneStatus - 1) * 100, 0, 100,
                      100);
    }
    const PicturePtr targets = FortuneTargetsPict();
    g.DrawPicture(targets, 5, 216, 32, 64, 0, 0, 32, 64);
    g.DrawPicture(targets, 165, 216, 32, 64, 32, 0, 32, 64);
    ItsRaijin->DrawPicture();
}
