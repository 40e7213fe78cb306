#include "TextInputStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>

namespace {
constexpr std::size_t kChunkBytes = 65536;
}

std::unique_ptr<TextInputStream> TextInputStream::Open(const FolderItem& file) {
    // Not blocking, so that a pipe under the name can't hold the program up; a plain file reads
    // the same either way.
    const int fd = ::open(file.ShellPath().c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return nullptr;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<TextInputStream>(fd);
}

TextInputStream::TextInputStream(int fd) : fd_(fd) {}

TextInputStream::~TextInputStream() {
    Close();
}

std::string TextInputStream::Read(std::int64_t count) {
    std::string bytes;
    char chunk[kChunkBytes];
    while (fd_ >= 0 && !failed_ && static_cast<std::int64_t>(bytes.size()) < count) {
        const auto wanted = static_cast<std::size_t>(
            std::min<std::int64_t>(count - static_cast<std::int64_t>(bytes.size()), kChunkBytes));
        const ssize_t got = ::read(fd_, chunk, wanted);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            failed_ = true;
        } else if (got == 0) {
            break;
        } else {
            bytes.append(chunk, static_cast<std::size_t>(got));
        }
    }
    return bytes;
}

std::string TextInputStream::ReadAll() {
    return Read(std::numeric_limits<std::int64_t>::max());
}

void TextInputStream::Close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}
