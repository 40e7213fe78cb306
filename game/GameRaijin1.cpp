#include "GameRaijin1.h"

#include <utility>

GameRaijin1::GameRaijin1(Graphics& g, std::shared_ptr<GamePointArrey> points)
    : GameRaijin(g, std::move(points)) {
    GameRaijin1::InitialPosition();
}

void GameRaijin1::InitialPosition() {
    PosX = 84;
    PosY = -35;
}

// PosX stays even, so the patrol turns at 462 and at 6, with one still tick at each turn.
void GameRaijin1::StepMove() {
    switch (ItsStatus) {
        case kStatusComingDown:
            if (PosY < 20) {
                PosY += 1;
            } else {
                PosY = 20;
                ItsStatus = kStatusMovingRight;
            }
            break;
        case kStatusMovingRight:
            if (PosX > 460) {
                ItsStatus = kStatusMovingLeft;
            } else {
                PosX += 2;
            }
            break;
        case kStatusMovingLeft:
            if (PosX < 8) {
                ItsStatus = kStatusMovingRight;
            } else {
                PosX -= 2;
            }
            break;
        default:
            break;
    }
}
