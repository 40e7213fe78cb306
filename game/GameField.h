#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "CounterPicture.h"
#include "GameLightning.h"
#include "GamePointArrey.h"
#include "GameRaijin1.h"
#include "GameRunner.h"
#include "OffscreenCanvas.h"
#include "Picture.h"
#include "Sound.h"

// The main game's play field: runs one tick of the whole game per `GameStep`, keeps the time,
// the score and the record, and draws every frame into the offscreen picture.
class GameField : public OffscreenCanvas {
public:
    using OffscreenCanvas::OffscreenCanvas;

    // Raised from inside `GameStep` when a finished game has set a new record.
    std::function<void(GameField& sender)> RecordUpdated;

    virtual void GameStep();
    // A request: the next tick starts the game.
    virtual void GameStart();
    // The player's key: starts or turns the runner.
    virtual void GameRun();
    virtual bool RefActive() const { return GameActive; }
    virtual bool RefHold() const { return HoldMode; }
    virtual void SetHold(bool hold) { HoldMode = hold; }
    virtual void SetRecord(std::int32_t record);
    virtual std::int32_t RefRecord() const;
    // Only between games; clears the time and the score shown.
    virtual void SetHideMode(bool hide);
    virtual bool RefHideMode() const { return ItsHideMode; }

protected:
    void PaintOffscreen() override;
    void Initialize() override;
    void OffscreenCreated() override;

    // Lets a test put a bolt that strikes on cue in place of the random one; it must draw into
    // `LightningPict` and read `ThePointArrey`.
    void SetLightning(std::unique_ptr<GameLightning> lightning) {
        ItsLightning = std::move(lightning);
    }

    std::unique_ptr<GameLightning> ItsLightning;
    std::shared_ptr<GamePointArrey> ThePointArrey;
    std::unique_ptr<GameRaijin1> ItsRaijin;
    PicturePtr LightningPict;
    std::int32_t ChargeLevel = 0;  // the most segments the next bolt may grow
    std::unique_ptr<GameRunner> ItsRunner;
    bool GameActive = false;
    std::int32_t GameRemain = 0;  // ticks
    std::unique_ptr<CounterPicture> ItsRemainCounter;
    std::int32_t GameScore = 0;  // ticks; shown divided by 10
    std::unique_ptr<CounterPicture> ItsScoreCounter;
    std::unique_ptr<CounterPicture> ItsRecordCounter;  // its value is the record itself
    bool InScoreZone = false;
    bool RunnerDown = false;    // struck, and not yet gone off the left edge to enter again
    std::int32_t GameHold = 0;  // ticks left of an observation freeze
    bool HoldMode = false;
    std::int32_t MessageHold = 0;   // ticks left of the message, its wait included
    std::int32_t MessageIndex = 0;  // row of MessagePict: 0 start, 1 time up, 2 struck
    std::int32_t MessageWait = 0;   // ticks before the message shows
    std::int32_t ActionStatus = 0;  // carried out by the next tick: 0 none, 1 start, 2 end
    SoundPtr ItsEndSnd;
    bool ItsHideMode = false;
    std::int32_t ItsHomeSide = 1;  // the rod reached last: 1 left, 2 right

private:
    // A message: its row of MessagePict, the ticks it lasts (its wait included) and the ticks
    // before it shows.
    struct Message {
        std::int32_t index;
        std::int32_t hold;
        std::int32_t wait;
    };
    static constexpr Message kStartMessage{0, 21, 1};
    static constexpr Message kTimeUpMessage{1, 51, 1};
    static constexpr Message kStruckMessage{2, 55, 5};

    void CarryOutRequest();
    bool CheckRunnerPosition();
    void CountGameTime(bool bonus);
    void StepActors();
    void HandleStrike(std::int32_t struck);
    void CountMessage();
    void DrawSky(Graphics& g);
    void DrawLabels(Graphics& g) const;
    void DrawCounters();
    void ShowMessage(const Message& message);

    std::vector<PixelArea> SkyAreas;  // DrawSky's list, kept to spare an allocation per frame
};
