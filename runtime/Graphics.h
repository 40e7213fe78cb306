#pragma once

#include <cstdint>
#include <memory>

class QImage;
class QPainter;
class Picture;

// Drawing into a picture (pixel-exact, aliased, written straight into its 32-bit pixels) or, in
// a paint event, onto the screen through a QPainter.
class Graphics {
public:
    // Width or height -10000 in DrawPicture means the picture's own size.
    static constexpr std::int32_t kNaturalSize = -10000;

    explicit Graphics(QImage* target);
    Graphics(QPainter* painter, std::int32_t width, std::int32_t height);

    std::uint32_t ForeColor = 0x000000;  // 24-bit RGB
    std::int32_t PenWidth = 1;
    std::int32_t PenHeight = 1;
    bool UseOldRenderer = false;

    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }

    void FillRect(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h);
    // Both end points included; the pen is a PenWidth x PenHeight block hanging right and down.
    void DrawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
    // The source rectangle (sx, sy, sw, sh) of `pic` into (x, y, w, h), scaled to fit.
    // A null picture draws nothing.
    void DrawPicture(const Picture* pic, std::int32_t x, std::int32_t y,
                     std::int32_t w = kNaturalSize, std::int32_t h = kNaturalSize,
                     std::int32_t sx = 0, std::int32_t sy = 0, std::int32_t sw = kNaturalSize,
                     std::int32_t sh = kNaturalSize);
    void DrawPicture(const std::shared_ptr<Picture>& pic, std::int32_t x, std::int32_t y,
                     std::int32_t w = kNaturalSize, std::int32_t h = kNaturalSize,
                     std::int32_t sx = 0, std::int32_t sy = 0, std::int32_t sw = kNaturalSize,
                     std::int32_t sh = kNaturalSize) {
        DrawPicture(pic.get(), x, y, w, h, sx, sy, sw, sh);
    }

private:
    void FillClipped(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h);
    void CopyPixels(const Picture& pic, std::int32_t x, std::int32_t y, std::int32_t w,
                    std::int32_t h, std::int32_t sx, std::int32_t sy, std::int32_t sw,
                    std::int32_t sh);
    void PaintPicture(const Picture& pic, std::int32_t x, std::int32_t y, std::int32_t w,
                      std::int32_t h, std::int32_t sx, std::int32_t sy, std::int32_t sw,
                      std::int32_t sh);

    QImage* image_ = nullptr;
    QPainter* painter_ = nullptr;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
};
