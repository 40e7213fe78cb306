#include "FieldTestSupport.h"

#include <algorithm>
#include <utility>

namespace fieldtest {

ScriptedLightning::ScriptedLightning(Graphics& g, std::shared_ptr<GamePointArrey> points)
    : GameLightning(g, points), Sky(g), Points(std::move(points)) {}

std::int32_t ScriptedLightning::GameStep(std::int32_t charge) {
    Charges.push_back(charge);
    ClearScreen();
    if (Script.empty()) {
        return -1;
    }
    const std::int32_t result = Script.front();
    Script.pop_front();
    if (result >= 0) {
        const auto& data = Points->ItsData;
        const std::int32_t endX = result == 0 ? data[0][0] : data[result][0];
        const std::int32_t endY = result == 0 ? Points->ItsGround : data[result][1];
        Sky.ForeColor = kBolt;
        Sky.DrawLine(data[0][0], data[0][1], endX, endY);
    }
    return result;
}

std::int32_t CountOtherPixels(const Picture& pic, std::int32_t x, std::int32_t y, std::int32_t w,
                              std::int32_t h, std::vector<std::uint32_t> allowed) {
    std::int32_t count = 0;
    for (std::int32_t row = y; row < y + h; ++row) {
        for (std::int32_t col = x; col < x + w; ++col) {
            const std::uint32_t p = pic.PixelAt(col, row);
            count += std::find(allowed.begin(), allowed.end(), p) == allowed.end();
        }
    }
    return count;
}

std::vector<std::uint32_t> Snapshot(const Picture& pic, std::int32_t top) {
    std::vector<std::uint32_t> pixels;
    pixels.reserve(static_cast<std::size_t>(pic.Width()) * pic.Height());
    for (std::int32_t y = top; y < pic.Height(); ++y) {
        for (std::int32_t x = 0; x < pic.Width(); ++x) {
            pixels.push_back(pic.PixelAt(x, y));
        }
    }
    return pixels;
}

bool SpriteDrawnAt(const Picture& frame, const Picture& sprite, std::int32_t sx, std::int32_t sy,
                   std::int32_t w, std::int32_t h, std::int32_t x, std::int32_t y) {
    for (std::int32_t row = 0; row < h; ++row) {
        for (std::int32_t col = 0; col < w; ++col) {
            const std::uint32_t p = sprite.PixelAt(sx + col, sy + row);
            if (sprite.Transparent == 1 && p == kWhite) {
                continue;
            }
            if (frame.PixelAt(x + col, y + row) != p) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace fieldtest
