#include "Graphics.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <functional>

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
// An unscaled row: the part that lies inside the source, in one block copy when it is opaque.
void CopyRow(const QRgb* from, QRgb* to, std::int32_t left, std::int32_t right, std::int64_t offset,
             std::int32_t sourceWidth, bool skipWhite) {
    const std::int64_t first = std::max<std::int64_t>(left, -offset);
    const std::int64_t last = std::min<std::int64_t>(right, sourceWidth - offset);
    if (!skipWhite) {
        if (first < last) {
            std::copy(from + first + offset, from + last + offset, to + first);
        }
        return;
    }
    // Every pixel is written, the old one where the source is white: a select the compiler can
    // do several pixels at a time.
    for (std::int64_t col = first; col < last; ++col) {
        const QRgb pixel = from[col + offset];
        to[col] = (pixel & 0xFFFFFFu) == kWhite ? to[col] : pixel | 0xFF000000u;
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
    uchar* bits = image_->bits();  // once per fill: scanLine would check for sharing per row
    const qsizetype stride = image_->bytesPerLine();
    for (std::int32_t row = area.top; row < area.bottom; ++row) {
        auto* line = reinterpret_cast<QRgb*>(bits + row * stride);
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

// Bresenham's points, from (x1, y1) to (x2, y2) both included: along the longer axis (x when the
// two are equal) every point moves by one, and after k steps the other coordinate has moved by
// floor((2 * shorter * k + longer) / (2 * longer)); with the pen hanging right and down. They are
// filled a run of points on one row (or column) at a time, only over the stretch whose pen can
// reach the picture, so a line far outside costs nothing and picture and screen get the same
// pixels.
void Graphics::DrawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    const PixelArea box =
        Clip(std::min(x1, x2), std::min(y1, y2), std::int64_t{std::max(x1, x2)} + PenWidth,
             std::int64_t{std::max(y1, y2)} + PenHeight);
    if (PenWidth <= 0 || PenHeight <= 0 || box.Empty()) {
        return;
    }
    const std::int64_t dx = std::abs(std::int64_t{x2} - x1);
    const std::int64_t dy = std::abs(std::int64_t{y2} - y1);
    const std::int64_t stepX = x1 < x2 ? 1 : -1;
    const std::int64_t stepY = y1 < y2 ? 1 : -1;
    if (dx >= dy) {
        WalkLine({x1, stepX, dx, PenWidth, width_}, {y1, stepY, dy, PenHeight},
                 [this](std::int64_t left, std::int64_t right, std::int64_t y) {
                     Fill(Clip(left, y, right, y + PenHeight));
                 });
    } else {
        WalkLine({y1, stepY, dy, PenHeight, height_}, {x1, stepX, dx, PenWidth},
                 [this](std::int64_t top, std::int64_t bottom, std::int64_t x) {
                     Fill(Clip(x, top, x + PenWidth, bottom));
                 });
    }
    NoteDrawn(box);
}

void Graphics::WalkLine(const LineAxis& major, const LineAxis& minor,
                        const std::function<void(std::int64_t, std::int64_t, std::int64_t)>& run) {
    // The steps k whose major coordinate's pen block overlaps [0, limit).
    const std::int64_t a = major.length;
    std::int64_t first = major.step > 0 ? 1 - major.pen - major.from : major.from - major.limit + 1;
    std::int64_t last = major.step > 0 ? major.limit - 1 - major.from : major.from + major.pen - 1;
    first = std::max<std::int64_t>(first, 0);
    last = std::min(last, a);
    if (first > last) {
        return;
    }
    const std::int64_t twiceA = 2 * std::max<std::int64_t>(a, 1);
    const std::int64_t twiceB = 2 * minor.length;
    // floor((2bk + a) / 2a) at the first step: up to 2^65 before the division.
    __extension__ using Wide = __int128;
    const Wide start = Wide{twiceB} * first + a;
    std::int64_t moved = static_cast<std::int64_t>(start / twiceA);
    std::int64_t remainder = static_cast<std::int64_t>(start % twiceA);
    auto at = [&major](std::int64_t k) { return major.from + major.step * k; };
    auto fill = [&run, &major, &at](std::int64_t k1, std::int64_t k2, std::int64_t m) {
        const std::int64_t p1 = at(k1);
        const std::int64_t p2 = at(k2);
        run(std::min(p1, p2), std::max(p1, p2) + major.pen, m);
    };
    std::int64_t runFrom = first;
    for (std::int64_t k = first + 1; k <= last; ++k) {
        remainder += twiceB;
        if (remainder >= twiceA) {
            remainder -= twiceA;
            fill(runFrom, k - 1, minor.from + minor.step * moved);
            ++moved;
            runFrom = k;
        }
    }
    fill(runFrom, last, minor.from + minor.step * moved);
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
    PixelArea area = Clip(x, y, std::int64_t{x} + w, std::int64_t{y} + h);
    NoteDrawn(area);
    if (h == sh) {  // unscaled down: only the rows whose source row exists
        area.top =
            static_cast<std::int32_t>(std::max<std::int64_t>(area.top, std::int64_t{y} - sy));
        area.bottom = static_cast<std::int32_t>(
            std::min<std::int64_t>(area.bottom, std::int64_t{y} - sy + sourceHeight));
    }
    const uchar* fromBits = source.constBits();
    const qsizetype fromStride = source.bytesPerLine();
    uchar* toBits = area.Empty() ? nullptr : image_->bits();
    const qsizetype toStride = image_->bytesPerLine();
    for (std::int32_t row = area.top; row < area.bottom; ++row) {
        // Nearest neighbour; with equal sizes this is a plain copy.
        const std::int64_t fromY = std::int64_t{row} - y;
        const std::int64_t srcRow = h == sh ? sy + fromY : sy + fromY * sh / h;
        if (srcRow < 0 || srcRow >= sourceHeight) {
            continue;
        }
        const auto* from = reinterpret_cast<const QRgb*>(fromBits + srcRow * fromStride);
        auto* to = reinterpret_cast<QRgb*>(toBits + row * toStride);
        if (w == sw) {
            CopyRow(from, to, area.left, area.right, std::int64_t{sx} - x, sourceWidth, skipWhite);
            continue;
        }
        for (std::int32_t col = area.left; col < area.right; ++col) {
            const std::int64_t srcCol = sx + (std::int64_t{col} - x) * sw / w;
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
