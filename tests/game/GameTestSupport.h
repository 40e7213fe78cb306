#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "GameLightning.h"
#include "GamePointArrey.h"
#include "Graphics.h"
#include "Picture.h"

namespace gametest {

constexpr std::uint32_t kSky = 0x000066;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBolt = kWhite;
constexpr std::uint32_t kGroundColour = 0x990000;
constexpr std::int32_t kFieldWidth = 500;
constexpr std::int32_t kFieldHeight = 300;
constexpr std::int32_t kGroundY = 280;

// The main field's table: rods at (20, 228) and (480, 228), the runner in row 1, ground 280.
std::shared_ptr<GamePointArrey> MainFieldPoints(std::int32_t sourceX, std::int32_t sourceY,
                                                std::int32_t runnerX, std::int32_t runnerY);

// A bolt that strikes on cue. Each call takes the next scripted result (no strike once the script
// runs out) and records the charge it was given. A strike is drawn as a straight white line from
// the source to the struck point, and stays on the lightning picture for that one frame, as a
// real strike does.
class ScriptedLightning : public GameLightning {
public:
    ScriptedLightning(Graphics& g, std::shared_ptr<GamePointArrey> points);

    std::int32_t GameStep(std::int32_t charge) override;

    void StrikeNext(std::int32_t result) { Script.push_back(result); }

    std::vector<std::int32_t> Charges;

private:
    std::deque<std::int32_t> Script;
    Graphics& Sky;
    std::shared_ptr<GamePointArrey> Points;
};

PicturePtr FilledPicture(std::int32_t w, std::int32_t h, std::uint32_t colour);
// Pixels of `colour` in rows `top` to `bottom` - 1, or in the whole picture.
std::int32_t CountPixelsInRows(const Picture& pic, std::uint32_t colour, std::int32_t top,
                               std::int32_t bottom);
std::int32_t CountPixels(const Picture& pic, std::uint32_t colour);

// Every pixel of a picture from row `top` down, row by row, to compare frames.
std::vector<std::uint32_t> Snapshot(const Picture& pic, std::int32_t top = 0);

// Whether the source rectangle (sx, sy, w, h) of `sprite` lies in `frame` at (x, y): every pixel
// that drawing it would have set (white is skipped for a transparent sprite) has its colour.
bool SpriteDrawnAt(const Picture& frame, const Picture& sprite, std::int32_t sx, std::int32_t sy,
                   std::int32_t w, std::int32_t h, std::int32_t x, std::int32_t y);

// Colour of frame f in the sprite strips written by UseSpriteStrips.
std::uint32_t FrameColour(std::int32_t f);
// Points the resources folder at a folder holding RaijinPict.png (2 frames of 32 x 16) and
// TargetsPict.png (8 frames of 32 x 64), each frame filled with FrameColour(f) except for its
// top-left pixel, which is white.
void UseSpriteStrips();
// Points the resources folder at an empty folder. Both let go of the pictures loaded so far.
void UseEmptyResources();

}  // namespace gametest
