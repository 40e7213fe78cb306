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
void CopyRow(const QRgb* from, QRgb* to, std::int32_t left, std::int32_t right, std::int64_t offset,
             std::int32_t sourceWidth) {
    const std::int64_t first = std::max<std::int64_t>(left, -offset);
    const std::int64_t last = std::min<std::int64_t>(right, sourceWidth - offset);
    if (first < last) {
        std::copy(from + first + offset, from + last + offset, to + first);
    }
}

bool Contains(const PixelArea& outer, const PixelArea& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}
}  // namespace

void PixelArea::Include(const PixelArea& other) {
    if (other.Empty()) {
        return;
    }
    if (Empty()) {
        *this = other;
        return;
    }
    left = std::min(left, other.left);
    top = std::min(top, other.top);
    right = std::max(right, other.right);
    bottom = std::max(bottom, other.bottom);
}

Graphics::Graphics(QImage* target)
    : image_(target),
      width_(target->width()),
      height_(target->height()),
      drawn_{PixelArea{0, 0, width_, height_}} {}

Graphics::Graphics(QPainter* painter, std::int32_t width, std::int32_t height)
    : painter_(painter), width_(width), height_(height) {}

void Graphics::FillRect(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    if (w <= 0 || h <= 0) {
        return;
    }
    const PixelArea area = Clip(x, y, std::int64_t{x} + w, std::int64_t{y} + h);
    Fill(area);
    NoteDrawn(area);
}

PixelArea Graphics::Clip(std::int64_t left, std::int64_t top, std::int64_t right,
                         std::int64_t bottom) const {
    auto across = [this](std::int64_t v) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, 0, width_));
    };
    auto down = [this](std::int64_t v) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, 0, height_));
    };
    return {across(left), down(top), across(right), down(bottom)};
}

void Graphics::Fill(const PixelArea& area) {
    if (area.Empty()) {
        return;
    }
    const QRgb colour = Opaque(ForeColor);
    if (painter_) {
        painter_->fillRect(area.left, area.top, area.Width(), area.Height(),
                           QColor::fromRgb(colour));
        return;
    }
    for (std::int32_t row = area.top; row < area.bottom; ++row) {
        auto* line = reinterpret_cast<QRgb*>(image_->scanLine(row));
        std::fill(line + area.left, line + area.right, colour);
    }
}

void Graphics::NoteDrawn(const PixelArea& area) {
    if (image_ == nullptr || area.Empty()) {
        return;
    }
    if (!drawn_.empty() && Contains(drawn_.back(), area)) {
        return;
    }
    if (drawn_.size() >= kMaxDrawnAreas) {
        PixelArea all;
        for (const PixelArea& a : drawn_) {
            all.Include(a);
        }
        drawn_.assign(1, all);
    }
    drawn_.push_back(area);
}

// Bresenham over every point, so picture and screen get the very same pixels. The points are
// filled a straight run at a time: the pen's blocks along a run make one rectangle.
void Graphics::DrawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    const std::int64_t penW = PenWidth;
    const std::int64_t penH = PenHeight;
    const PixelArea box =
        Clip(std::min(x1, x2), std::min(y1, y2), std::int64_t{std::max(x1, x2)} + penW,
             std::int64_t{std::max(y1, y2)} + penH);
    if (penW <= 0 || penH <= 0 || box.Empty()) {
        return;
    }
    auto fillRun = [this, penW, penH](std::int64_t ax, std::int64_t ay, std::int64_t bx,
                                      std::int64_t by) {
        Fill(Clip(std::min(ax, bx), std::min(ay, by), std::max(ax, bx) + penW,
                  std::max(ay, by) + penH));
    };
    const std::int64_t dx = std::abs(std::int64_t{x2} - x1);
    const std::int64_t dy = -std::abs(std::int64_t{y2} - y1);
    const std::int64_t stepX = x1 < x2 ? 1 : -1;
    const std::int64_t stepY = y1 < y2 ? 1 : -1;
    std::int64_t error = dx + dy;
    std::int64_t x = x1;
    std::int64_t y = y1;
    std::int64_t runX = x;  // where the current run began
    std::int64_t runY = y;
    while (x != x2 || y != y2) {
        const std::int64_t lastX = x;
        const std::int64_t lastY = y;
        const std::int64_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y += stepY;
        }
        const bool alongX = y == lastY && runY == lastY;
        const bool alongY = x == lastX && runX == lastX;
        if (!alongX && !alongY) {
            fillRun(runX, runY, lastX, lastY);
            runX = x;
            runY = y;
        }
    }
    fillRun(runX, runY, x, y);
    NoteDrawn(box);
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
    const PixelArea area = Clip(x, y, std::int64_t{x} + w, std::int64_t{y} + h);
    NoteDrawn(area);
    for (std::int32_t row = area.top; row < area.bottom; ++row) {
        // Nearest neighbour; with equal sizes this is a plain copy.
        const std::int64_t srcRow = sy + (std::int64_t{row} - y) * sh / h;
        if (srcRow < 0 || srcRow >= sourceHeight) {
            continue;
        }
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(int(srcRow)));
        auto* to = reinterpret_cast<QRgb*>(image_->scanLine(row));
        if (w == sw && !skipWhite) {
            CopyRow(from, to, area.left, area.right, std::int64_t{sx} - x, sourceWidth);
            continue;
        }
        for (std::int32_t col = area.left; col < area.right; ++col) {
            const std::int64_t fromX = std::int64_t{col} - x;
            const std::int64_t srcCol = w == sw ? sx + fromX : sx + fromX * sw / w;
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
