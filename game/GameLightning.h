#pragma once

#include <cstdint>
#include <memory>

#include "GamePointArrey.h"
#include "Graphics.h"
#include "Sound.h"

// What one tick of the bolt struck: kNoStrike, kGroundStrike, or the row of the point table.
using StrikeResult = std::int32_t;

// One lightning bolt per tick, grown afresh as a random walk of short segments from the source
// point (row 0) toward the targets and the ground, drawn on the field's lightning picture.
// Every operation is virtual so that a field's bolt can be replaced by a scripted one.
class GameLightning {
public:
    static constexpr StrikeResult kNoStrike = -1;
    static constexpr StrikeResult kGroundStrike = 0;

    static constexpr std::uint32_t kSkyColor = 0x000066;
    static constexpr std::uint32_t kBoltColor = 0xFFFFFF;
    static constexpr std::int32_t kStrikePriority = 8;
    // Ticks between a new bolt object and its first attempt, and between a strike and the next.
    static constexpr std::int32_t kFirstHold = 3;
    static constexpr std::int32_t kStrikeHold = 2;

    // `g` is the lightning picture's Graphics; the picture must outlive the bolt.
    GameLightning(Graphics& g, std::shared_ptr<GamePointArrey> points);
    virtual ~GameLightning() = default;
    GameLightning(const GameLightning&) = delete;
    GameLightning& operator=(const GameLightning&) = delete;

    // One tick with a budget of `charge` segments.
    virtual StrikeResult GameStep(std::int32_t charge);
    // The whole picture becomes night sky.
    virtual void ClearScreen();

    // The part of the picture that changed since the previous call (empty when none): all that
    // a field keeping a copy of the picture has to copy again.
    PixelArea TakeChangedArea();

protected:
    Graphics* ItsGraphics;
    std::shared_ptr<GamePointArrey> ItsPointArrey;
    std::int32_t LightningHold = kFirstHold;
    SoundPtr ItsLightningSnd;

private:
    StrikeResult Grow(std::int32_t charge);
    // Takes in what was drawn on the picture, by this bolt or by anyone through its Graphics.
    void NoteDrawing();

    // Only here can the picture differ from the sky, so only this much needs clearing: a miss
    // costs a bolt-sized fill rather than two of the whole picture.
    PixelArea BoltArea;
    PixelArea TakenBoltArea;  // BoltArea at the last TakeChangedArea
};
