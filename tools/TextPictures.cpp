#include "TextPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <array>
#include <cmath>
#include <stdexcept>

#include "PixelArt.h"

using PixelArt::Palette;
using PixelArt::Rows;

namespace {
constexpr int kCellWidth = 10;
constexpr int kCellHeight = 16;
constexpr int kLabelHeight = kCellHeight;
constexpr QRgb kDigitInk = 0xFFFFE066;
constexpr QRgb kDigitShadow = 0xFF24249A;
constexpr QRgb kLabelInk = 0xFFA8C8FF;

// 8 x 12 glyphs with two-pixel strokes, 0-9 and the minus sign.
const std::array<Rows, 11> kGlyphs = {{
    {"..####..", ".##..##.", "##....##", "##....##", "##....##", "##....##", "##....##", "##....##",
     "##....##", "##....##", ".##..##.", "..####.."},
    {"...##...", "..###...", ".####...", "...##...", "...##...", "...##...", "...##...", "...##...",
     "...##...", "...##...", "...##...", ".######."},
    {"..####..", ".##..##.", "##....##", "......##", ".....##.", "....##..", "...##...", "..##....",
     ".##.....", "##......", "##......", "########"},
    {"..####..", ".##..##.", "##....##", "......##", ".....##.", "...###..", ".....##.", "......##",
     "......##", "##....##", ".##..##.", "..####.."},
    {".....##.", "....###.", "...####.", "..##.##.", ".##..##.", "##...##.", "##...##.", "########",
     ".....##.", ".....##.", ".....##.", ".....##."},
    {"#######.", "##......", "##......", "##......", "######..", ".....##.", "......##", "......##",
     "......##", "##....##", ".##..##.", "..####.."},
    {"...###..", "..##....", ".##.....", "##......", "##.###..", "###..##.", "##....##", "##....##",
     "##....##", "##....##", ".##..##.", "..####.."},
    {"########", "......##", "......##", ".....##.", ".....##.", "....##..", "....##..", "...##...",
     "...##...", "..##....", "..##....", "..##...."},
    {"..####..", ".##..##.", "##....##", "##....##", ".##..##.", "..####..", ".##..##.", "##....##",
     "##....##", "##....##", ".##..##.", "..####.."},
    {"..####..", ".##..##.", "##....##", "##....##", "##....##", "##....##", ".##..###", "..###.##",
     "......##", ".....##.", "....##..", "..###..."},
    {"........", "........", "........", "........", "........", ".######.", ".######.", "........",
     "........", "........", "........", "........"},
}};

// Text on the night sky, its ink centred in the picture.
QImage TextOnSky(int width, const QString& text, int pixelSize, QRgb ink) {
    QImage image = PixelArt::Opaque(width, kLabelHeight, PixelArt::kNightSky);
    PixelArt::DrawCentredText(image, QRect(0, 1, width, kLabelHeight - 2), text,
                              PixelArt::JapaneseFont(pixelSize, true), ink);
    return image;
}

// "Playing": a small red tag with a bolt in front of the words.
QImage PlayingLabel() {
    constexpr int kWidth = 70;
    QImage image = PixelArt::Opaque(kWidth, kLabelHeight, PixelArt::kNightSky);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgb(0xFFC8302C));
    painter.drawRect(1, 0, kWidth - 2, kLabelHeight);
    painter.drawRect(0, 1, kWidth, kLabelHeight - 2);
    painter.end();
    const Rows bolt = {"...#", "..##", ".##.", "####", ".##.", "##..", "#...", "#..."};
    PixelArt::Stamp(image, 4, 4, bolt, Palette{{'#', 0xFFFFE066}});
    PixelArt::DrawCentredText(image, QRect(12, 1, kWidth - 14, kLabelHeight - 2), "プレイ中",
                              PixelArt::JapaneseFont(12, true), 0xFFFFF4E0);
    return image;
}

struct MessageStyle {
    QString text;
    QRgb border;
    QRgb ink;
};

// One 164 x 22 plate: dark, with a coloured frame and cut corners, so that its edge stays
// crisp on the sky; the text's soft edges fall on the plate, never on see-through white.
void DrawMessagePlate(QImage& layer, int top, const MessageStyle& style) {
    constexpr int kWidth = 164;
    constexpr int kHeight = 22;
    QPainter painter(&layer);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgb(style.border));
    painter.drawRect(2, top, kWidth - 4, kHeight);
    painter.drawRect(0, top + 2, kWidth, kHeight - 4);
    painter.drawRect(1, top + 1, kWidth - 2, kHeight - 2);
    painter.setBrush(QColor::fromRgb(0xFF0A0A3C));
    painter.drawRect(2, top + 2, kWidth - 4, kHeight - 4);
    painter.end();
    PixelArt::DrawCentredText(layer, QRect(2, top + 2, kWidth - 4, kHeight - 4), style.text,
                              PixelArt::JapaneseFont(14, true), style.ink);
}
}  // namespace

namespace TextPictures {

QImage Digits() {
    QImage image = PixelArt::Opaque(kCellWidth, 11 * kCellHeight, PixelArt::kNightSky);
    for (int d = 0; d < 11; ++d) {
        const int top = d * kCellHeight + 2;
        PixelArt::Stamp(image, 2, top + 1, kGlyphs[d], Palette{{'#', kDigitShadow}});
        PixelArt::Stamp(image, 1, top, kGlyphs[d], Palette{{'#', kDigitInk}});
    }
    return image;
}

QImage Label(int index) {
    switch (index) {
        case 0:
            return PlayingLabel();
        case 1:
            return TextOnSky(56, "残り時間", 13, kLabelInk);
        case 2:
            return TextOnSky(32, "得点", 13, kLabelInk);
        case 3:
            return TextOnSky(32, "記録", 13, kLabelInk);
        default:
            throw std::out_of_range("no such label");
    }
}

QImage Messages() {
    const std::array<MessageStyle, 3> styles = {{
        {"ゲーム開始！", 0xFFFFC830, 0xFFFFE680},
        {"時間切れ！ 得点２倍", 0xFF40D878, 0xFFB8FFC8},
        {"落雷！ ゲームオーバー", 0xFFFF4848, 0xFFFFB0A0},
    }};
    QImage layer = PixelArt::Layer(164, 66);
    for (int row = 0; row < 3; ++row) {
        DrawMessagePlate(layer, row * 22, styles[row]);
    }
    return PixelArt::FlattenOnWhite(layer);
}

}  // namespace TextPictures
