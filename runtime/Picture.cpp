#include "Picture.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <cerrno>
#include <optional>

#include "Graphics.h"

namespace {
// The shipped pictures are a few KB; anything far bigger is no picture of ours.
constexpr qsizetype kMaxFileBytes = 32 * 1024 * 1024;

std::optional<QByteArray> ReadAll(int fd) {
    QByteArray bytes;
    char chunk[16384];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got == 0) {
            return bytes;
        }
        if (got < 0 && errno != EINTR) {
            return std::nullopt;
        }
        if (got > 0) {
            if (bytes.size() + got > kMaxFileBytes) {
                return std::nullopt;
            }
            bytes.append(chunk, got);
        }
    }
}

// The bytes of a regular file, else nothing. A FIFO or device in a picture's place would block
// the reader; it is judged on the open descriptor (opened without waiting for a writer), so one
// swapped in after a check can't block either.
std::optional<QByteArray> ReadRegularFile(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    std::optional<QByteArray> bytes;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        bytes = ReadAll(fd);
    }
    ::close(fd);
    return bytes;
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
    const std::optional<QByteArray> bytes = ReadRegularFile(path);
    QImage loaded;
    if (!bytes || !loaded.loadFromData(*bytes) || loaded.isNull()) {
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
