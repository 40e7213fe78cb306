#include "FortuneCards.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <cmath>
#include <numbers>

#include "PixelArt.h"

namespace {
constexpr int kCard = 100;

void DrawCard(QPainter& painter, QRgb paper, QRgb frame, QRgb innerFrame) {
    painter.setBrush(QColor::fromRgb(paper));
    painter.setPen(QPen(QColor::fromRgb(frame), 3));
    painter.drawRoundedRect(QRectF(2.5, 2.5, kCard - 5, kCard - 5), 10, 10);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor::fromRgb(innerFrame), 1));
    painter.drawRoundedRect(QRectF(7.5, 7.5, kCard - 15, kCard - 15), 6, 6);
}

void DrawSun(QPainter& painter, QPointF centre) {
    painter.setPen(QPen(QColor::fromRgb(0xFFF0A040), 2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 12; ++i) {
        const double angle = i * std::numbers::pi / 6;
        const QPointF dir(std::cos(angle), std::sin(angle));
        painter.drawLine(centre + dir * 13, centre + dir * 17);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgb(0xFFE8402A));
    painter.drawEllipse(centre, 10, 10);
}

void DrawBlossom(QPainter& painter, QPointF centre) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgb(0xFFFF9CBC));
    for (int i = 0; i < 5; ++i) {
        const double angle = -std::numbers::pi / 2 + i * 2 * std::numbers::pi / 5;
        painter.drawEllipse(centre + QPointF(std::cos(angle), std::sin(angle)) * 4, 3.2, 3.2);
    }
    painter.setBrush(QColor::fromRgb(0xFFFFD84A));
    painter.drawEllipse(centre, 1.6, 1.6);
}

void DrawStormCloud(QPainter& painter, QPointF centre) {
    const QPointF drop(-2, 5);
    painter.setPen(QPen(QColor::fromRgb(0xFF6C8CD8), 1.5, Qt::SolidLine, Qt::RoundCap));
    for (double x : {-13.0, -5.0, 11.0, 17.0}) {
        const QPointF top = centre + QPointF(x, 10 + std::fmod(x + 20, 3.0));
        painter.drawLine(top, top + drop);
    }
    const QPolygonF bolt({centre + QPointF(2, 5), centre + QPointF(-4, 14), centre + QPointF(1, 14),
                          centre + QPointF(-3, 22), centre + QPointF(7, 11),
                          centre + QPointF(2, 11), centre + QPointF(6, 5)});
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgb(0xFFFFE066));
    painter.drawPolygon(bolt);
    painter.setBrush(QColor::fromRgb(0xFF8A8AA4));
    painter.drawEllipse(centre + QPointF(-9, 1), 9, 7);
    painter.drawEllipse(centre + QPointF(9, 1), 10, 7);
    painter.setBrush(QColor::fromRgb(0xFFA8A8C0));
    painter.drawEllipse(centre + QPointF(1, -4), 10, 9);
}

void DrawGreatLuck(QImage& image) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    DrawCard(painter, 0xFFFFF3D6, 0xFFD83A2A, 0xFFECA880);
    DrawSun(painter, QPointF(50, 25));
    DrawBlossom(painter, QPointF(20, 81));
    DrawBlossom(painter, QPointF(80, 81));
    DrawBlossom(painter, QPointF(17, 19));
    painter.end();
    PixelArt::DrawCentredText(image, QRect(0, 44, kCard, 40), "大吉",
                              PixelArt::JapaneseFont(34, true), 0xFFC81E1E);
}

void DrawBadLuck(QImage& image, int left) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.translate(left, 0);
    DrawCard(painter, 0xFF26264A, 0xFF8484BC, 0xFF46467C);
    DrawStormCloud(painter, QPointF(50, 22));
    painter.end();
    PixelArt::DrawCentredText(image, QRect(left, 46, kCard, 40), "凶",
                              PixelArt::JapaneseFont(40, true), 0xFFC8D0FF);
}
}  // namespace

namespace FortuneCards {

QImage Results() {
    QImage image = PixelArt::Opaque(2 * kCard, kCard, PixelArt::kNightSky);
    DrawGreatLuck(image);
    DrawBadLuck(image, kCard);
    return image;
}

}  // namespace FortuneCards
