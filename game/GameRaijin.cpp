#include "GameRaijin.h"

#include <utility>

#include "Graphics.h"
#include "MainWindowShared.h"
#include "PictureItems.h"
#include "SoundItems.h"

GameRaijin::GameRaijin(Graphics& g, std::shared_ptr<GamePointArrey> points)
    : ItsGraphics(&g), ItsPointArrey(std::move(points)) {
    ItsOpenSnd = OpenSnd();
    ItsPhase = 0;
    ItsStatus = kStatusComingDown;
    PhaseWait = 5;
    EnteringPhase = 10;
    // A subclass's own start position is set by its constructor, once this one has run.
    GameRaijin::InitialPosition();
}

void GameRaijin::InitialPosition() {
    PosX = 20;
    PosY = 20;
}

void GameRaijin::DrawPicture() {
    ItsGraphics->DrawPicture(RaijinPict(), PosX, PosY, kFrameWidth, kFrameHeight,
                             ItsPhase * kFrameWidth, 0, kFrameWidth, kFrameHeight);
}

void GameRaijin::GameStep() {
    if (EnteringPhase > 0) {
        --EnteringPhase;
        if (EnteringPhase == 0) {
            if (SoundPlayer* player = MainWindow().ItsSoundPlayer.get()) {
                player->PushQueue(ItsOpenSnd, kOpenPriority);
            }
        }
    }
    // A new frame every 6th tick (0.6 s).
    if (PhaseWait > 0) {
        --PhaseWait;
    } else {
        ItsPhase = (ItsPhase + 1) % 2;
        PhaseWait = 5;
    }
    StepMove();
    // The source sits on the sprite's bottom row and moves a pixel with the frame.
    ItsPointArrey->ItsData[0][0] = PosX + 15 + ItsPhase;
    ItsPointArrey->ItsData[0][1] = PosY + 15;
}
