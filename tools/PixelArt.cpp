#include "PixelArt.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <stdexcept>

namespace PixelArt {

void Stamp(QImage& image, int x, int y, const Rows& rows, const Palette& palette, Mirror mirror) {
    const int width = rows.empty() ? 0 : static_cast<int>(rows.front().size());
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        if (static_cast<int>(rows[row].size()) != width) {
            throw std::runtime_error("ragged sprite row: " + rows[row]);
        }
        for (int col = 0; col < width; ++col) {
            const auto found = palette.find(rows[row][col]);
            if (found == palette.end()) {
                continue;
            }
            const int px = mirror == Mirror::Yes ? x + width - 1 - col : x + col;
            if (image.rect().contains(px, y + row)) {
                image.setPixel(px, y + row, found->second);
            }
        }
    }
}

QImage Layer(int width, int height) {
    QImage layer(width, height, QImage::Format_ARGB32);
    layer.fill(Qt::transparent);
    return layer;
}

QImage FlattenOnWhite(const QImage& layer) {
    QImage flat(layer.size(), QImage::Format_RGB32);
    for (int y = 0; y < layer.height(); ++y) {
        for (int x = 0; x < layer.width(); ++x) {
            const QRgb pixel = layer.pixel(x, y);
            QRgb rgb = 0xFFFFFFFFu;
            if (qAlpha(pixel) >= 128) {
                rgb = (pixel & 0xFFFFFFu) == 0xFFFFFFu ? kOffWhite : (pixel | 0xFF000000u);
            }
            flat.setPixel(x, y, rgb);
        }
    }
    return flat;
}

QImage Opaque(int width, int height, QRgb background) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(background);
    return image;
}

QFont JapaneseFont(int pixelSize, bool bold) {
    QFont font("Noto Sans CJK JP");
    font.setPixelSize(pixelSize);
    font.setWeight(bold ? QFont::Bold : QFont::Medium);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void DrawCentredText(QImage& image, const QRect& box, const QString& text, const QFont& font,
                     QRgb colour) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF ink = path.boundingRect();
    const double x = box.x() + (box.width() - ink.width()) / 2.0 - ink.x();
    const double y = box.y() + (box.height() - ink.height()) / 2.0 - ink.y();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(colour));
    painter.drawText(QPointF(std::round(x), std::round(y)), text);
}

int InkWidth(const QString& text, const QFont& font) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    return static_cast<int>(std::ceil(path.boundingRect().width()));
}

}  // namespace PixelArt
