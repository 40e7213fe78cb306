#pragma once

#include <cstdint>
#include <memory>
#include <string>

class QImage;
class Graphics;

// A picture in memory. Pixels are always kept as 32-bit RGB, whatever depth was asked for, so
// drawing between pictures never converts formats; `Depth` only reports the requested depth.
class Picture {
public:
    // Nothing (nullptr) when the size is not positive or the memory cannot be had.
    static std::shared_ptr<Picture> Create(std::int32_t width, std::int32_t height,
                                           std::int32_t depth);
    // The shipped pictures are a few KB; a file longer than this (bytes) is no picture of ours.
    static constexpr std::int64_t kMaxFileBytes = 32 * 1024 * 1024;

    // Nothing when the file is missing, is no regular file or is no PNG picture.
    static std::shared_ptr<Picture> Open(const std::string& path);
    // Nothing when the bytes are no PNG picture.
    static std::shared_ptr<Picture> FromPng(const std::string& bytes);

    explicit Picture(QImage image, std::int32_t depth = 32);
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    std::int32_t Width() const;
    std::int32_t Height() const;
    std::int32_t Depth() const { return depth_; }

    // 1: pure white pixels are not drawn when this picture is drawn into another.
    std::int32_t Transparent = 0;

    class Graphics& Graphics();

    QImage& Image() { return *image_; }
    const QImage& Image() const { return *image_; }
    // The 24-bit RGB colour at (x, y); for tests and tools.
    std::uint32_t PixelAt(std::int32_t x, std::int32_t y) const;

private:
    std::unique_ptr<QImage> image_;
    std::unique_ptr<class Graphics> graphics_;
    std::int32_t depth_;
};

using PicturePtr = std::shared_ptr<Picture>;
