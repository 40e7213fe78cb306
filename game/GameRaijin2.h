#pragma once

#include "GameRaijin.h"

// The fortune window's god: comes down slowly to y 250, hovers once a bolt has decided, then
// rises out of sight; the field moves it on with StatusNext.
class GameRaijin2 : public GameRaijin {
public:
    static constexpr std::int32_t kStatusHovering = 1;
    static constexpr std::int32_t kStatusRising = 2;

    GameRaijin2(Graphics& g, std::shared_ptr<GamePointArrey> points);

    virtual void StatusNext();

protected:
    void InitialPosition() override;
    void StepMove() override;
};
