#pragma once

#include <cstdint>
#include <memory>

#include "GameLightning.h"
#include "GamePointArrey.h"
#include "GameRaijin2.h"
#include "OffscreenCanvas.h"
#include "Picture.h"

// The fortune window's field: a god comes down and bolts are tried every tick until one strikes
// one of the two rods; a few ticks later that rod's result picture is shown for good.
class FortuneField : public OffscreenCanvas {
public:
    using OffscreenCanvas::OffscreenCanvas;

    virtual void GameStep();

protected:
    void PaintOffscreen() override;
    void Initialize() override;
    void OffscreenCreated() override;

    // Lets a test put a bolt that strikes on cue in place of the random one; it must draw into
    // `LightningPict` and read `ThePointArrey`.
    void SetLightning(std::unique_ptr<GameLightning> lightning) {
        ItsLightning = std::move(lightning);
    }

    std::shared_ptr<GamePointArrey> ThePointArrey;
    PicturePtr LightningPict;
    std::unique_ptr<GameLightning> ItsLightning;
    std::unique_ptr<GameRaijin2> ItsRaijin;
    std::int32_t FortuneStatus = 0;  // 0 undecided, else the rod struck: 1 left, 2 right
    std::int32_t ResultWait = 0;     // ticks, after the decision, before the result shows
};
