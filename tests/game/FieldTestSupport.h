#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "GameLightning.h"
#include "GamePointArrey.h"
#include "Graphics.h"
#include "Picture.h"

namespace fieldtest {

constexpr std::uint32_t kSky = 0x000066;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBolt = kWhite;
constexpr std::uint32_t kGround = 0x990000;

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

// Number of pixels in the rectangle whose colour is neither in `allowed`.
std::int32_t CountOtherPixels(const Picture& pic, std::int32_t x, std::int32_t y, std::int32_t w,
                              std::int32_t h, std::vector<std::uint32_t> allowed);

// Every pixel of a picture from row `top` down, row by row, to compare frames.
std::vector<std::uint32_t> Snapshot(const Picture& pic, std::int32_t top = 0);

// Whether the source rectangle (sx, sy, w, h) of `sprite` lies in `frame` at (x, y): every pixel
// that drawing it would have set (white is skipped for a transparent sprite) has its colour.
bool SpriteDrawnAt(const Picture& frame, const Picture& sprite, std::int32_t sx, std::int32_t sy,
                   std::int32_t w, std::int32_t h, std::int32_t x, std::int32_t y);

}  // namespace fieldtest
