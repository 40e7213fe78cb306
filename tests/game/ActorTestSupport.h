#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "GamePointArrey.h"
#include "Picture.h"

namespace actors_test {

constexpr std::uint32_t kSky = 0x000066;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::int32_t kFieldWidth = 500;
constexpr std::int32_t kFieldHeight = 300;
constexpr std::int32_t kGround = 280;

// The main field's table: rods at (20, 228) and (480, 228), the runner in row 1, ground 280.
std::shared_ptr<GamePointArrey> MainFieldPoints(std::int32_t sourceX, std::int32_t sourceY,
                                                std::int32_t runnerX, std::int32_t runnerY);

PicturePtr FilledPicture(std::int32_t w, std::int32_t h, std::uint32_t colour);
std::int32_t CountPixels(const Picture& pic, std::uint32_t colour);
std::int32_t CountPixelsInRows(const Picture& pic, std::uint32_t colour, std::int32_t top,
                               std::int32_t bottom);

// Colour of frame f in the sprite strips written by UseSpriteStrips.
std::uint32_t FrameColour(std::int32_t f);
// Points the resources folder at a folder holding RaijinPict.png (2 frames of 32 x 16) and
// TargetsPict.png (8 frames of 32 x 64), each frame filled with FrameColour(f) except for its
// top-left pixel, which is white.
void UseSpriteStrips();
// Points the resources folder at an empty folder. Both let go of the pictures loaded so far.
void UseEmptyResources();

}  // namespace actors_test
