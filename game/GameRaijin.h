#pragma once

#include <cstdint>
#include <memory>

#include "GamePointArrey.h"
#include "Sound.h"

class Graphics;

// The thunder god: a two-frame sprite in the sky whose position gives the lightning's source
// (row 0 of the point table). How it moves is the subclasses' business; this one stands still.
class GameRaijin {
public:
    // ItsStatus 0 for both subclasses; what the higher values mean is each subclass's.
    static constexpr std::int32_t kStatusComingDown = 0;
    static constexpr std::int32_t kOpenPriority = 5;
    static constexpr std::int32_t kFrameWidth = 32;
    static constexpr std::int32_t kFrameHeight = 16;

    // `g` is the Graphics the sprite is drawn on; its picture must outlive the god.
    GameRaijin(Graphics& g, std::shared_ptr<GamePointArrey> points);
    virtual ~GameRaijin() = default;
    GameRaijin(const GameRaijin&) = delete;
    GameRaijin& operator=(const GameRaijin&) = delete;

    virtual void DrawPicture();
    virtual void GameStep();
    virtual std::int32_t RefX() const { return PosX; }
    virtual std::int32_t RefY() const { return PosY; }

protected:
    virtual void InitialPosition();
    virtual void StepMove() {}

    Graphics* ItsGraphics;
    std::int32_t ItsPhase = 0;
    std::int32_t PhaseWait = 5;
    std::int32_t PosX = 0;
    std::int32_t PosY = 0;
    std::shared_ptr<GamePointArrey> ItsPointArrey;
    std::int32_t ItsStatus = kStatusComingDown;
    std::int32_t EnteringPhase = 10;
    SoundPtr ItsOpenSnd;
};
