#pragma once

#include <cstdint>
#include <memory>

#include "GamePointArrey.h"

class Graphics;

// The person the player moves: enters from the left, stands at a rod, walks to the other rod or
// turns back on a key, and when struck shows two struck frames and enters again. Every tick it
// writes where it can be struck into its row of the point table.
class GameRunner {
public:
    // Values of ItsStatus.
    static constexpr std::int32_t kStatusStanding = 0;
    static constexpr std::int32_t kStatusWalkingRight = 1;
    static constexpr std::int32_t kStatusWalkingLeft = 2;
    static constexpr std::int32_t kStatusStruck = 3;
    static constexpr std::int32_t kStatusStruck2 = 4;
    static constexpr std::int32_t kStatusEntering = 5;

    static constexpr std::int32_t kFrameWidth = 32;
    static constexpr std::int32_t kFrameHeight = 64;
    // The two ends of the walk: the sprite's x at the left and the right rod.
    static constexpr std::int32_t kLeftEnd = 3;
    static constexpr std::int32_t kRightEnd = 467;

    // `g` is the Graphics the sprite is drawn on; its picture must outlive the runner. `index`
    // is the runner's row of the point table (0 to 9).
    GameRunner(Graphics& g, std::shared_ptr<GamePointArrey> points, std::int32_t index);
    virtual ~GameRunner() = default;
    GameRunner(const GameRunner&) = delete;
    GameRunner& operator=(const GameRunner&) = delete;

    virtual void DrawPicture();
    virtual void GameStep();
    virtual std::int32_t RefX() const { return PosX; }
    virtual std::int32_t RefY() const { return PosY; }
    // The player's key.
    virtual void RunnerStart();
    // The runner was struck.
    virtual void GameReset();

protected:
    Graphics* ItsGraphics;
    std::int32_t ItsPhase = 0;
    std::int32_t PhaseWait = 2;
    std::int32_t PosX = -20;
    std::int32_t PosY = 216;
    std::shared_ptr<GamePointArrey> ItsPointArrey;
    std::int32_t ItsArreyIndex;
    std::int32_t ItsStatus = kStatusEntering;
    std::int32_t ItsSpeed = 4;

private:
    void StepByStatus();
};
