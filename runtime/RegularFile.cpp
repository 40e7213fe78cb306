#include "RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {
bool IsRegular(const struct stat& info) {
    return S_ISREG(info.st_mode);
}

// To the end of the file, in as few reads as its size allows: the first asks for all of it
// and one more byte, so that a file that grew since fstat is still read whole.
std::optional<std::string> ReadAll(int fd, std::size_t expected, std::size_t maxBytes) {
    std::string bytes(std::min(expected, maxBytes) + 1, '\0');
    std::size_t have = 0;
    for (;;) {
        if (have == bytes.size()) {
            if (bytes.size() > maxBytes) {
                return std::nullopt;
            }
            bytes.resize(std::min(bytes.size() * 2, maxBytes + 1));
        }
        const ssize_t got = ::read(fd, bytes.data() + have, bytes.size() - have);
        if (got == 0) {
            bytes.resize(have);
            return bytes;
        }
        if (got < 0 && errno != EINTR) {
            return std::nullopt;
        }
        have += got > 0 ? static_cast<std::size_t>(got) : 0;
    }
}
}  // namespace

std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t maxBytes) {
    struct stat info {};
    // The path is looked at first, so that a device in a file's place is never even opened.
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !IsRegular(info)) {
        return std::nullopt;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    std::optional<std::string> bytes;
    if (::fstat(fd, &info) == 0 && IsRegular(info)) {
        bytes = ReadAll(fd, static_cast<std::size_t>(info.st_size), maxBytes);
    }
    ::close(fd);
    return bytes;
}

std::optional<FileStamp> StampOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return FileStamp{static_cast<std::uint64_t>(info.st_dev),
                     static_cast<std::uint64_t>(info.st_ino),
                     static_cast<std::int64_t>(info.st_size),
                     static_cast<std::int64_t>(info.st_mtim.tv_sec),
                     static_cast<std::int64_t>(info.st_mtim.tv_nsec),
                     static_cast<std::int64_t>(info.st_ctim.tv_sec),
                     static_cast<std::int64_t>(info.st_ctim.tv_nsec)};
}
