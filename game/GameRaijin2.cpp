#include "GameRaijin2.h"

#include <cmath>
#include <utility>

#include "Rnd.h"

GameRaijin2::GameRaijin2(Graphics& g, std::shared_ptr<GamePointArrey> points)
    : GameRaijin(g, std::move(points)) {
    GameRaijin2::InitialPosition();
}

// Starts 35 to 44 px above the window; the last digit of a four-digit draw picks the height.
void GameRaijin2::InitialPosition() {
    PosX = 84;
    PosY = static_cast<std::int32_t>(std::floor(Rnd() * 10000.0)) % 10 - 44;
}

void GameRaijin2::StatusNext() {
    ItsStatus += 1;
}

void GameRaijin2::StepMove() {
    switch (ItsStatus) {
        case kStatusComingDown:
            if (PosY < 250) {
                PosY += 1;
            }
            break;
        case kStatusRising:
            if (PosY > -40) {
                PosY -= 2;
            }
            break;
        default:
            break;
    }
}
