#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <map>
#include <string>
#include <vector>

// Helpers for drawing the shipped pictures: pixel-art stamps from rows of palette letters, text,
// and the white-is-transparent convention of the sprite pictures.
namespace PixelArt {

// Letter -> colour; '.' and letters missing from the palette are left untouched.
using Palette = std::map<char, QRgb>;
using Rows = std::vector<std::string>;

constexpr QRgb kNightSky = 0xFF000066;
// Pure white is the see-through colour of the transparent pictures; sprites use this instead.
constexpr QRgb kOffWhite = 0xFFF4F4F8;

enum class Mirror { No, Yes };

// Stamps `rows` with its top-left at (x, y); mirrored rows are flipped left to right.
void Stamp(QImage& image, int x, int y, const Rows& rows, const Palette& palette,
           Mirror mirror = Mirror::No);

// An ARGB picture, fully see-through, for drawing a sprite layer.
QImage Layer(int width, int height);
// The sprite layer as the game loads it: see-through becomes pure white, and any pure white
// that was drawn becomes off-white so that it still shows.
QImage FlattenOnWhite(const QImage& layer);
// The picture on an opaque background (labels, digits, cards).
QImage Opaque(int width, int height, QRgb background);

// Noto Sans CJK JP at a pixel size; the generator has loaded it before anything is drawn.
QFont JapaneseFont(int pixelSize, bool bold);
// Draws `text` with its ink centred in `box` (by the ink's bounds, not the font's line box).
void DrawCentredText(QImage& image, const QRect& box, const QString& text, const QFont& font,
                     QRgb colour);
// Width in pixels of the ink of `text` in `font`.
int InkWidth(const QString& text, const QFont& font);

}  // namespace PixelArt
