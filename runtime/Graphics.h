#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QImage;
class QPainter;
class Picture;

// A rectangle of pixels: left and top included, right and bottom not.
struct PixelArea {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    bool Empty() const { return left >= right || top >= bottom; }
    std::int32_t Width() const { return right - left; }
    std::int32_t Height() const { return bottom - top; }
    // Grows to the bounding box of both.
    void Include(const PixelArea& other);
};

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

    // Where drawing into a picture wrote since the last ForgetDrawnAreas, clipped to the
    // picture, so that a copy of it can be brought up to date piece by piece. A new Graphics
    // counts its whole picture as drawn. Past kMaxDrawnAreas the areas are merged into their
    // bounding box. Drawing on the screen notes nothing.
    static constexpr std::size_t kMaxDrawnAreas = 32;
    const std::vector<PixelArea>& DrawnAreas() const { return drawn_; }
    void ForgetDrawnAreas() { drawn_.clear(); }

private:
    // Edges in 64 bits, so that x + w cannot overflow whatever the Int32 arguments.
    PixelArea Clip(std::int64_t left, std::int64_t top, std::int64_t right,
                   std::int64_t bottom) const;
    void Fill(const PixelArea& area);
    void NoteDrawn(const PixelArea& area);
    // One axis of a line: its start, direction (+1 or -1), length in steps, the pen's extent
    // along it and, for the longer axis, where the picture ends.
    struct LineAxis {
        std::int64_t from;
        std::int64_t step;
        std::int64_t length;
        std::int64_t pen;
        std::int64_t limit = 0;
    };
    // Calls run(start, end, other) for each run of the line's points that share the shorter
    // axis's coordinate: [start, end) along the longer axis, pen included.
    static void WalkLine(const LineAxis& major, const LineAxis& minor,
                         const std::function<void(std::int64_t, std::int64_t, std::int64_t)>& run);
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
    std::vector<PixelArea> drawn_;
};
