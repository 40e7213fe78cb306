#include "GameTestSupport.h"

#include <QImage>
#include <filesystem>
#include <utility>

#include "PictureItems.h"
#include "ResourcesFolder.h"
#include "ScratchFolder.h"

namespace fs = std::filesystem;

namespace gametest {

std::shared_ptr<GamePointArrey> MainFieldPoints(std::int32_t sourceX, std::int32_t sourceY,
                                                std::int32_t runnerX, std::int32_t runnerY) {
    auto points = std::make_shared<GamePointArrey>();
    points->ItsGround = kGroundY;
    points->ItsData[0] = {sourceX, sourceY};
    points->ItsData[1] = {runnerX, runnerY};
    points->ItsData[2] = {20, 228};
    points->ItsData[3] = {480, 228};
    points->ItsSize = 3;
    return points;
}

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

PicturePtr FilledPicture(std::int32_t w, std::int32_t h, std::uint32_t colour) {
    PicturePtr pic = Picture::Create(w, h, 32);
    pic->Graphics().ForeColor = colour;
    pic->Graphics().FillRect(0, 0, w, h);
    return pic;
}

std::int32_t CountPixelsInRows(const Picture& pic, std::uint32_t colour, std::int32_t top,
                               std::int32_t bottom) {
    std::int32_t count = 0;
    for (std::int32_t y = top; y < bottom; ++y) {
        for (std::int32_t x = 0; x < pic.Width(); ++x) {
            count += pic.PixelAt(x, y) == colour;
        }
    }
    return count;
}

std::int32_t CountPixels(const Picture& pic, std::uint32_t colour) {
    return CountPixelsInRows(pic, colour, 0, pic.Height());
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

std::uint32_t FrameColour(std::int32_t f) {
    return 0x102030u + 0x101010u * std::uint32_t(f);
}

namespace {
// A folder in this process's scratch folder, which is removed when the process ends.
fs::path TestFolder(const char* name) {
    static const ScratchFolder scratch;
    const fs::path folder = scratch / name;
    fs::create_directories(folder);
    return folder;
}

void WriteStrip(const fs::path& file, std::int32_t frames, std::int32_t w, std::int32_t h) {
    PicturePtr strip = Picture::Create(frames * w, h, 32);
    Graphics& g = strip->Graphics();
    for (std::int32_t f = 0; f < frames; ++f) {
        g.ForeColor = FrameColour(f);
        g.FillRect(f * w, 0, w, h);
        g.ForeColor = kWhite;
        g.FillRect(f * w, 0, 1, 1);
    }
    strip->Image().save(QString::fromStdString(file.string()), "PNG");
}
}  // namespace

void UseSpriteStrips() {
    const fs::path folder = TestFolder("sprites");
    WriteStrip(folder / "RaijinPict.png", 2, 32, 16);
    WriteStrip(folder / "TargetsPict.png", 8, 32, 64);
    SetResourcesFolder(folder.string());
    ReleasePictureItems();
}

void UseEmptyResources() {
    SetResourcesFolder(TestFolder("empty").string());
    ReleasePictureItems();
}

}  // namespace gametest
