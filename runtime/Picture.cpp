#include "Picture.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <optional>

#include "Graphics.h"
#include "RegularFile.h"

namespace {
// Decoded as PNG, the one format the pictures come in. Told the format, the reader would still
// ask every image plugin whether it reads PNG before its own decoder, loading them all (and
// libjpeg) at start-up; it is told not to guess.
QImage DecodePng(const std::string& bytes) {
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    QImageReader reader(&buffer, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

// Pictures with an alpha channel are laid on white, so that see-through parts of a PNG behave
// like the white that `Transparent` skips.
QImage ToRgb32(const QImage& loaded) {
    if (!loaded.hasAlphaChannel()) {
        return loaded.convertToFormat(QImage::Format_RGB32);
    }
    QImage flat(loaded.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, loaded);
    return flat;
}
}  // namespace

std::shared_ptr<Picture> Picture::Create(std::int32_t width, std::int32_t height,
                                         std::int32_t depth) {
    constexpr std::int64_t kMaxPixels = 64LL * 1024 * 1024;
    if (width <= 0 || height <= 0 || static_cast<std::int64_t>(width) * height > kMaxPixels) {
        return nullptr;
    }
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        return nullptr;
    }
    image.fill(Qt::white);
    return std::make_shared<Picture>(std::move(image), depth);
}

std::shared_ptr<Picture> Picture::Open(const std::string& path) {
    const std::optional<std::string> bytes =
        ReadRegularFile(path, static_cast<std::size_t>(kMaxFileBytes));
    return bytes ? FromPng(*bytes) : nullptr;
}

std::shared_ptr<Picture> Picture::FromPng(const std::string& bytes) {
    const QImage loaded = DecodePng(bytes);
    if (loaded.isNull()) {
        return nullptr;
    }
    return std::make_shared<Picture>(ToRgb32(loaded), 32);
}

Picture::Picture(QImage image, std::int32_t depth)
    : image_(std::make_unique<QImage>(std::move(image))), depth_(depth) {}

Picture::~Picture() = default;

std::int32_t Picture::Width() const {
    return image_->width();
}
std::int32_t Picture::Height() const {
    return image_->height();
}

Graphics& Picture::Graphics() {
    if (!graphics_) {
        graphics_ = std::make_unique<class Graphics>(image_.get());
    }
    return *graphics_;
}

std::uint32_t Picture::PixelAt(std::int32_t x, std::int32_t y) const {
    return image_->pixel(x, y) & 0xFFFFFFu;
}
