#pragma once

#include "GameRaijin.h"

// The main game's god: comes down from above the window to y 20, then patrols from side to side
// between x 6 and 462 for ever.
class GameRaijin1 : public GameRaijin {
public:
    static constexpr std::int32_t kStatusMovingRight = 1;
    static constexpr std::int32_t kStatusMovingLeft = 2;

    GameRaijin1(Graphics& g, std::shared_ptr<GamePointArrey> points);

protected:
    void InitialPosition() override;
    void StepMove() override;
};
