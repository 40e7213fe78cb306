#include "GameField.h"

#include <algorithm>

#include "Graphics.h"
#include "MainWindowShared.h"
#include "PictureItems.h"
#include "SoundItems.h"

namespace {
constexpr std::int32_t kGameLength = 1800;      // ticks: 180 s
constexpr std::int32_t kLeftRodReached = 17;    // runner x below this
constexpr std::int32_t kRightRodReached = 453;  // runner x above this
constexpr std::int32_t kZoneLeft = 110;  // scoring zone: strictly between, sprite's left edge
constexpr std::int32_t kZoneRight = 360;
constexpr std::int32_t kCrossingBonus = 50;  // ticks of score
constexpr std::int32_t kFreezeLength = 30;   // ticks
constexpr std::int32_t kEndSoundPriority = 5;

constexpr std::int32_t kLeftSide = 1;
constexpr std::int32_t kRightSide = 2;

constexpr std::int32_t kNoRequest = 0;
constexpr std::int32_t kStartRequest = 1;
constexpr std::int32_t kEndRequest = 2;

constexpr std::int32_t kRunnerRow = 1;
constexpr std::int32_t kLeftRodRow = 2;
constexpr std::int32_t kRightRodRow = 3;
constexpr std::int32_t kGroundY = 280;

constexpr std::uint32_t kGroundColour = 0x990000;
constexpr std::uint32_t kZoneLitColour = 0x00CC00;
constexpr std::uint32_t kZoneDarkColour = 0x009900;
}  // namespace

void GameField::GameStep() {
    if (OffscreenGraphics == nullptr) {
        return;  // no offscreen picture (a control of no size), so no actors to run
    }
    // Before the freeze: a game struck in observation mode still ends at the next tick.
    CarryOutRequest();
    if (GameHold > 0) {
        // Frozen: the frame with the bolt that caused the freeze stays on screen.
        --GameHold;
        return;
    }
    const bool bonus = CheckRunnerPosition();
    if (GameActive) {
        CountGameTime(bonus);
    }
    StepActors();
    CountMessage();
    PaintOffscreen();
    RefreshPicture(false);
}

void GameField::GameStart() {
    ActionStatus = kStartRequest;
}

void GameField::GameRun() {
    if (ItsRunner) {
        ItsRunner->RunnerStart();
    }
}

// Without an offscreen picture there is no record counter: nothing is kept and the record is 0.
void GameField::SetRecord(std::int32_t record) {
    if (ItsRecordCounter) {
        ItsRecordCounter->SetValue(record, false);
    }
}

std::int32_t GameField::RefRecord() const {
    return ItsRecordCounter ? ItsRecordCounter->GetValue() : 0;
}

void GameField::SetHideMode(bool hide) {
    if (GameActive) {
        return;
    }
    ItsHideMode = hide;
    GameRemain = 0;
    GameScore = 0;
}

void GameField::CarryOutRequest() {
    if (ActionStatus == kStartRequest) {
        if (!GameActive) {
            GameRemain = kGameLength;
            GameScore = 0;
            ShowMessage(kStartMessage);
            GameActive = true;
        }
        ActionStatus = kNoRequest;
    } else if (ActionStatus == kEndRequest) {
        if (GameActive) {
            GameActive = false;
            if (ItsRecordCounter->TestHigh(GameScore / 10) && RecordUpdated) {
                RecordUpdated(*this);
            }
        }
        ActionStatus = kNoRequest;
    }
}

// Reads where the previous tick left the runner. Returns whether it has just reached the rod
// opposite to the one it reached last. A struck runner stays out of the zone until it has gone
// off the left edge to enter again.
bool GameField::CheckRunnerPosition() {
    const std::int32_t x = ItsRunner->RefX();
    bool bonus = false;
    if (x < kLeftRodReached) {
        RunnerDown = false;
        bonus = ItsHomeSide == kRightSide;
        ItsHomeSide = kLeftSide;
    } else if (x > kRightRodReached) {
        bonus = ItsHomeSide == kLeftSide;
        ItsHomeSide = kRightSide;
    }
    InScoreZone = !RunnerDown && x > kZoneLeft && x < kZoneRight;
    return bonus;
}

void GameField::CountGameTime(bool bonus) {
    if (GameRemain > 0) {
        --GameRemain;
        if (InScoreZone) {
            ++GameScore;
        }
        if (bonus) {
            GameScore += kCrossingBonus;
        }
        return;
    }
    // Time up: doubled once here; the game ends at the next tick.
    GameScore *= 2;
    ShowMessage(kTimeUpMessage);
    ActionStatus = kEndRequest;
}

// The god moves the bolt's source and the runner its target before the bolt grows, so the bolt
// starts from and aims at this tick's positions.
void GameField::StepActors() {
    ItsRaijin->GameStep();
    ItsRunner->GameStep();
    const std::int32_t struck = ItsLightning->GameStep(ChargeLevel);
    if (struck < 0) {
        ++ChargeLevel;
        return;
    }
    HandleStrike(struck);
}

void GameField::HandleStrike(std::int32_t struck) {
    if (struck == kRunnerRow) {
        ItsRunner->GameReset();
        // The runner comes back in at the left rod, and is out of the zone from this frame on.
        ItsHomeSide = kLeftSide;
        InScoreZone = false;
        RunnerDown = true;
        if (GameActive) {
            ShowMessage(kStruckMessage);
            ActionStatus = kEndRequest;
        }
    }
    ChargeLevel = 0;
    if (HoldMode) {
        GameHold = kFreezeLength;
    }
}

void GameField::CountMessage() {
    if (MessageHold <= 0) {
        return;
    }
    --MessageHold;
    if (MessageWait > 0) {
        --MessageWait;
        if (MessageWait == 0 && MessageIndex > kStartMessage.index) {
            // Like the actors' sounds: without a player the message still shows, silently.
            if (SoundPlayer* player = MainWindow().ItsSoundPlayer.get()) {
                player->PushQueue(ItsEndSnd, kEndSoundPriority);
            }
        }
    }
}

void GameField::ShowMessage(const Message& message) {
    MessageIndex = message.index;
    MessageHold = message.hold;
    MessageWait = message.wait;
}

void GameField::Initialize() {
    ItsEndSnd = EndSnd();
    ThePointArrey = std::make_shared<GamePointArrey>();
    ThePointArrey->ItsGround = kGroundY;
    ItsHomeSide = kLeftSide;
    ChargeLevel = 0;
    GameRemain = 0;
    GameScore = 0;
    GameHold = 0;
    ItsHideMode = false;
    HoldMode = false;
    InScoreZone = false;
    GameActive = false;
    MessageIndex = 0;
    MessageHold = 0;
    ActionStatus = kNoRequest;
}

void GameField::OffscreenCreated() {
    LightningPict = Picture::Create(OffscreenGraphics->Width(), OffscreenGraphics->Height(), 32);
    LightningPict->Graphics().UseOldRenderer = true;
    ItsLightning = std::make_unique<GameLightning>(LightningPict->Graphics(), ThePointArrey);
    ItsRaijin = std::make_unique<GameRaijin1>(*OffscreenGraphics, ThePointArrey);
    ItsRunner = std::make_unique<GameRunner>(*OffscreenGraphics, ThePointArrey, kRunnerRow);
    auto makeCounter = [this](std::int32_t x) {
        auto counter = std::make_unique<CounterPicture>(OffscreenPicture, DigitPict(), x, 5, "L");
        counter->SetRange(0, 999);
        counter->SetValue(0, false);
        counter->SetVisible(true);
        return counter;
    };
    ItsRemainCounter = makeCounter(268);
    ItsScoreCounter = makeCounter(354);
    ItsRecordCounter = makeCounter(434);
    ThePointArrey->ItsData[kLeftRodRow][0] = 20;
    ThePointArrey->ItsData[kLeftRodRow][1] = 228;
    ThePointArrey->ItsData[kRightRodRow][0] = 480;
    ThePointArrey->ItsData[kRightRodRow][1] = 228;
    ThePointArrey->ItsSize = kRightRodRow;
}

// Back to front: every frame is drawn whole, so the sky erases the previous one.
void GameField::PaintOffscreen() {
    Graphics& g = *OffscreenGraphics;
    DrawSky(g);
    g.PenWidth = 1;
    g.PenHeight = 1;
    g.ForeColor = kGroundColour;
    g.FillRect(0, kGroundY, 500, 20);
    g.ForeColor = InScoreZone ? kZoneLitColour : kZoneDarkColour;
    g.FillRect(125, 285, 250, 2);
    const PicturePtr targets = TargetsPict();
    g.DrawPicture(targets, 5, 216, 32, 64, 0, 0, 32, 64);
    g.DrawPicture(targets, 465, 216, 32, 64, 0, 0, 32, 64);
    DrawLabels(g);
    DrawCounters();
    if (MessageHold > 0 && MessageWait == 0) {
        g.DrawPicture(MessagePict(), 168, 130, 164, 22, 0, MessageIndex * 22, 164, 22);
    }
    if (!ItsHideMode) {
        ItsRaijin->DrawPicture();
    }
    ItsRunner->DrawPicture();
}

// The lightning picture, as if copied whole, but copied only where the frame can differ from it:
// where anything was drawn over it since the last copy (the last frame's sprites and numbers, a
// record set between frames) and where the lightning picture itself changed. Everywhere else the
// frame already holds the same sky. Nothing is copied below the ground's top: the ground, drawn
// next, covers those rows from edge to edge.
void GameField::DrawSky(Graphics& g) {
    SkyAreas.assign(g.DrawnAreas().begin(), g.DrawnAreas().end());
    SkyAreas.push_back(ItsLightning->TakeChangedArea());
    for (const PixelArea& a : SkyAreas) {
        const std::int32_t height = std::min(a.bottom, kGroundY) - a.top;
        g.DrawPicture(LightningPict, a.left, a.top, a.Width(), height, a.left, a.top, a.Width(),
                      height);
    }
    g.ForgetDrawnAreas();
}

void GameField::DrawLabels(Graphics& g) const {
    if (GameActive) {
        g.DrawPicture(Label0Pict(), 40, 5);
    }
    g.DrawPicture(Label1Pict(), 210, 5);
    g.DrawPicture(Label2Pict(), 320, 5);
    g.DrawPicture(Label3Pict(), 400, 5);
}

// Every number is drawn in every frame: the counters have no background of their own.
void GameField::DrawCounters() {
    ItsRemainCounter->SetValue((GameRemain + 9) / 10, true);
    ItsScoreCounter->SetValue(GameScore / 10, true);
    ItsRecordCounter->DrawPicture();
}
