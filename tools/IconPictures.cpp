#include "IconPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include "PixelArt.h"

using PixelArt::Palette;
using PixelArt::Rows;

namespace {
constexpr int kIcon = 32;

// A rounded tile with a one-pixel frame, on the window's white.
void DrawTile(QPainter& painter, QRgb fill, QRgb frame) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(QColor::fromRgb(fill));
    painter.setPen(QPen(QColor::fromRgb(frame), 1));
    painter.drawRoundedRect(QRectF(0.5, 0.5, kIcon - 1, kIcon - 1), 6, 6);
    painter.setRenderHint(QPainter::Antialiasing, false);
}

const Rows kIconBolt = {
    "...........yyyy.",  // y 3
    "..........yyyy..",  //
    ".........yyyy...",  // y 5
    "........yyyy....",  //
    ".......yyyyyyyy.",  //
    "..........yyyy..",  //
    ".........yyyy...",  //
    "........yyy.....",  // y 10
    ".......yyy......",  //
    "......yy........",  //
    ".....yy.........",  //
    "....y...........",  //
};

void DrawIconScene(QImage& image) {
    PixelArt::Stamp(image, 2, 8, kIconBolt, Palette{{'y', 0xFFFFE066}});
    const Palette rod = {{'t', 0xFFFFE680}, {'l', 0xFFD0D8E8}, {'d', 0xFF586078}};
    PixelArt::Stamp(image, 5, 21, {".t.", ".t.", "ld.", "ld.", "ld.", "ld."}, rod);
    // Stars, then the ground.
    PixelArt::Stamp(image, 23, 5, {"s...", "....", "...s"}, Palette{{'s', 0xFFC8D0FF}});
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgb(0xFF990000));
    painter.drawRect(2, 27, kIcon - 4, 3);
    painter.end();
    const Palette runner = {
        {'y', 0xFFFFD23F}, {'s', 0xFFFFD2A8}, {'t', 0xFF8890B0}, {'r', 0xFFD83C3C}};
    PixelArt::Stamp(image, 19, 19, {".y.", "yyy", ".s.", "yyy", "yyy", "t.t", "r.r"}, runner);
}

void DrawMoor(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgb(0xFF7A4E9A));  // heather on the far hill
    painter.drawEllipse(QRectF(-8, 18, 34, 24));
    painter.setBrush(QColor::fromRgb(0xFF3E7A4A));
    painter.drawEllipse(QRectF(8, 21, 34, 22));
    painter.setRenderHint(QPainter::Antialiasing, false);
}

const Rows kQuill = {
    "..........oOO",  // y 3
    ".........oOOO",  //
    "........oOOOo",  // y 5
    ".......oOOOo.",  //
    "......oOOOo..",  //
    ".....oOOOo...",  //
    "....oOOs.....",  //
    "...oOOs......",  // y 10
    "...oOs.......",  //
    "..oOs........",  //
    "..Os.........",  //
    ".ss..........",  //
    ".n...........",  // y 15
    "n............",  //
};

void DrawQuillmoorScene(QImage& image) {
    const Palette quill = {
        {'O', 0xFFF6F0E0}, {'o', 0xFFC8BCA0}, {'s', 0xFF8A6A40}, {'n', 0xFF303040}};
    PixelArt::Stamp(image, 10, 4, kQuill, quill);
    PixelArt::Stamp(image, 5, 6, {".mm.", "m...", "m...", ".mm."}, Palette{{'m', 0xFFF0E8A0}});
}

// 3 x 5 letters for the badge.
const Rows kBadgeText = {
    ".....##.#.#",  // y 33
    "....#...#.#",  //
    "#.#.###.###",  //
    ".#..#.#...#",  //
    "#.#.###...#",  // y 37
};
}  // namespace

namespace IconPictures {

QImage Icon() {
    QImage image = PixelArt::Opaque(kIcon, kIcon, 0xFFFFFFFF);
    QPainter painter(&image);
    DrawTile(painter, 0xFF000066, 0xFF1A1A4A);
    painter.end();
    DrawIconScene(image);
    return image;
}

QImage Quillmoor() {
    QImage image = PixelArt::Opaque(kIcon, kIcon, 0xFFFFFFFF);
    QPainter painter(&image);
    DrawTile(painter, 0xFF23324E, 0xFF141C2C);
    painter.setClipPath([] {
        QPainterPath tile;
        tile.addRoundedRect(QRectF(1, 1, kIcon - 2, kIcon - 2), 5, 5);
        return tile;
    }());
    DrawMoor(painter);
    painter.end();
    DrawQuillmoorScene(image);
    return image;
}

QImage TargetSystem() {
    QImage image = PixelArt::Opaque(16, 40, 0xFFE8E8EC);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgb(0xFF00707A));
    painter.drawRect(1, 32, 14, 8);
    painter.drawRect(0, 33, 16, 6);
    painter.end();
    PixelArt::Stamp(image, 3, 33, kBadgeText, Palette{{'#', 0xFFF4F4F8}});
    return image;
}

}  // namespace IconPictures
