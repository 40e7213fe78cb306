#include "Graphics.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

#include "Picture.h"

namespace {
constexpr QRgb kWhite = 0xFFFFFFu;

QRgb Opaque(std::uint32_t rgb) {
    return 0xFF000000u | (rgb & 0xFFFFFFu);
}

// White turned see-through, for drawing a transparent picture through a QPainter.
QImage WithWhiteMasked(const QImage& source) {
    QImage masked = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < masked.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x) {
            if ((line[x] & 0xFFFFFFu) == kWhite) {
                line[x] = 0;
            }
        }
    }
    return masked;
}
// An unscaled opaque row: one block copy of the part that lies inside the source.
void CopyRow(const QRgb* from, QRgb* to, std::int32_t left, std::int32_t right, std::int32_t offset,
             std::int32_t sourceWidth) {
    const std::int32_t first = std::max(left, -offset);
    const std::int32_t last = std::min(right, sourceWidth - offset);
    if (first < last) {
        std::copy(from + first + offset, from + last + offset, to + first);
    }
}
}  // namespace

Graphics::Graphics(QImage* target)
    : image_(target), width_(target->width()), height_(target->height()) {}

Graphics::Graphics(QPainter* painter, std::int32_t width, std::int32_t height)
    : painter_(painter), width_(width), height_(height) {}

void Graphics::FillRect(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    if (w <= 0 || h <= 0) {
        return;
    }
    if (painter_) {
        painter_->fillRect(x, y, w, h, QColor::fromRgb(Opaque(ForeColor)));
        return;
    }
    FillClipped(x, y, w, h);
}

void Graphics::FillClipped(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    const std::int32_t left = std::max(x, 0);
    const std::int32_t right = std::min(x + w, width_);
    const std::int32_t top = std::max(y, 0);
    const std::int32_t bottom = std::min(y + h, height_);
    const QRgb colour = Opaque(ForeColor);
    for (std::int32_t row = top; row < bottom; ++row) {
        auto* line = reinterpret_cast<QRgb*>(image_->scanLine(row));
        std::fill(line + left, line + std::max(left, right), colour);
    }
}

void Graphics::DrawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    // Bresenham over every point, so picture and screen get the very same pixels.
    const std::int32_t dx = std::abs(x2 - x1);
    const std::int32_t dy = -std::abs(y2 - y1);
    const std::int32_t stepX = x1 < x2 ? 1 : -1;
    const std::int32_t stepY = y1 < y2 ? 1 : -1;
    std::int32_t error = dx + dy;
    for (;;) {
        FillRect(x1, y1, PenWidth, PenHeight);
        if (x1 == x2 && y1 == y2) {
            return;
        }
        const std::int32_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x1 += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y1 += stepY;
        }
    }
}

void Graphics::DrawPicture(const Picture* pic, std::int32_t x, std::int32_t y, std::int32_t w,
                           std::int32_t h, std::int32_t sx, std::int32_t sy, std::int32_t sw,
                           std::int32_t sh) {
    if (pic == nullptr) {
        return;
    }
    w = w == kNaturalSize ? pic->Width() : w;
    h = h == kNaturalSize ? pic->Height() : h;
    sw = sw == kNaturalSize ? pic->Width() : sw;
    sh = sh == kNaturalSize ? pic->Height() : sh;
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) {
        return;
    }
    if (painter_) {
        PaintPicture(*pic, x, y, w, h, sx, sy, sw, sh);
    } else {
        CopyPixels(*pic, x, y, w, h, sx, sy, sw, sh);
    }
}

void Graphics::CopyPixels(const Picture& pic, std::int32_t x, std::int32_t y, std::int32_t w,
                          std::int32_t h, std::int32_t sx, std::int32_t sy, std::int32_t sw,
                          std::int32_t sh) {
    const QImage& source = pic.Image();
    const bool skipWhite = pic.Transparent == 1;
    const std::int32_t sourceWidth = source.width();
    const std::int32_t sourceHeight = source.height();
    const std::int32_t top = std::max(y, 0);
    const std::int32_t bottom = std::min(y + h, height_);
    const std::int32_t left = std::max(x, 0);
    const std::int32_t right = std::min(x + w, width_);
    for (std::int32_t row = top; row < bottom; ++row) {
        // Nearest neighbour; with equal sizes this is a plain copy.
        const std::int64_t srcRow = sy + static_cast<std::int64_t>(row - y) * sh / h;
        if (srcRow < 0 || srcRow >= sourceHeight) {
            continue;
        }
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(int(srcRow)));
        auto* to = reinterpret_cast<QRgb*>(image_->scanLine(row));
        if (w == sw && !skipWhite) {
            CopyRow(from, to, left, right, sx - x, sourceWidth);
            continue;
        }
        for (std::int32_t col = left; col < right; ++col) {
            const std::int64_t srcCol =
                w == sw ? sx + (col - x) : sx + static_cast<std::int64_t>(col - x) * sw / w;
            if (srcCol < 0 || srcCol >= sourceWidth) {
                continue;
            }
            const QRgb pixel = from[srcCol];
            if (!skipWhite || (pixel & 0xFFFFFFu) != kWhite) {
                to[col] = pixel | 0xFF000000u;
            }
        }
    }
}

void Graphics::PaintPicture(const Picture& pic, std::int32_t x, std::int32_t y, std::int32_t w,
                            std::int32_t h, std::int32_t sx, std::int32_t sy, std::int32_t sw,
                            std::int32_t sh) {
    painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRect target(x, y, w, h);
    const QRect source(sx, sy, sw, sh);
    if (pic.Transparent == 1) {
        painter_->drawImage(target, WithWhiteMasked(pic.Image()), source);
    } else {
        painter_->drawImage(target, pic.Image(), source);
    }
}
