#include "GameRunner.h"

#include <utility>

#include "Graphics.h"
#include "PictureItems.h"

GameRunner::GameRunner(Graphics& g, std::shared_ptr<GamePointArrey> points, std::int32_t index)
    : ItsGraphics(&g), ItsPointArrey(std::move(points)), ItsArreyIndex(index) {}

void GameRunner::DrawPicture() {
    std::int32_t frame = 0;
    switch (ItsStatus) {
        case kStatusStanding:
            frame = 1;
            break;
        case kStatusWalkingRight:
        case kStatusEntering:
            frame = 2 + ItsPhase;
            break;
        case kStatusWalkingLeft:
            frame = 4 + ItsPhase;
            break;
        case kStatusStruck:
            frame = 6;
            break;
        case kStatusStruck2:
            frame = 7;
            break;
        default:
            return;
    }
    ItsGraphics->DrawPicture(TargetsPict(), PosX, PosY, kFrameWidth, kFrameHeight,
                             frame * kFrameWidth, 0, kFrameWidth, kFrameHeight);
}

// A step every second tick: 4 px walking, 2 px entering.
void GameRunner::GameStep() {
    if (PhaseWait > 0) {
        --PhaseWait;
    } else {
        ItsPhase = (ItsPhase + 1) % 2;
        PhaseWait = 1;
        StepByStatus();
    }
    // Written every tick, also while waiting or struck, so the bolt aims at where it stands.
    ItsPointArrey->ItsData[ItsArreyIndex][0] = PosX + 15;
    ItsPointArrey->ItsData[ItsArreyIndex][1] = PosY + 48;
}

void GameRunner::StepByStatus() {
    switch (ItsStatus) {
        case kStatusWalkingRight:
            if (PosX > 464) {
                PosX = kRightEnd;
                ItsStatus = kStatusStanding;
            } else {
                PosX += ItsSpeed;
            }
            break;
        case kStatusWalkingLeft:
            if (PosX < 6) {
                PosX = kLeftEnd;
                ItsStatus = kStatusStanding;
            } else {
                PosX -= ItsSpeed;
            }
            break;
        case kStatusStruck:
            ItsStatus = kStatusStruck2;
            PhaseWait = 5;
            break;
        case kStatusStruck2:
            // Back off the left edge, to enter again after 2 s.
            ItsPhase = 0;
            ItsStatus = kStatusEntering;
            PhaseWait = 20;
            PosX = -20;
            PosY = 216;
            ItsSpeed = 4;
            break;
        case kStatusEntering:
            if (PosX > 1) {
                PosX = kLeftEnd;
                ItsStatus = kStatusStanding;
            } else {
                PosX += 2;
            }
            break;
        default:
            break;
    }
}

// The first step in the new direction comes two ticks after the key.
void GameRunner::RunnerStart() {
    switch (ItsStatus) {
        case kStatusStanding:
            PhaseWait = 1;
            ItsStatus = PosX > 250 ? kStatusWalkingLeft : kStatusWalkingRight;
            break;
        case kStatusWalkingRight:
            PhaseWait = 1;
            ItsStatus = kStatusWalkingLeft;
            break;
        case kStatusWalkingLeft:
            PhaseWait = 1;
            ItsStatus = kStatusWalkingRight;
            break;
        default:
            break;
    }
}

void GameRunner::GameReset() {
    ItsPhase = 0;
    ItsStatus = kStatusStruck;
    PhaseWait = 1;
}
