#include "TextOutputStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "FileEvents.h"

namespace {
// A file made new is the user's alone until whoever made it gives it the mode it is meant to have.
constexpr mode_t kOwnerOnly = 0600;

bool& SyncFails() {
    static bool fails = false;
    return fails;
}
}  // namespace

std::unique_ptr<TextOutputStream> TextOutputStream::Create(const FolderItem& file) {
    // Not blocking, so that opening a pipe under the name fails at once instead of waiting for a
    // reader.
    const int fd = ::open(file.ShellPath().c_str(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
    if (fd < 0) {
        return nullptr;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<TextOutputStream>(fd, file.ShellPath());
}

std::unique_ptr<TextOutputStream> TextOutputStream::CreateNew(const FolderItem& file) {
    const int fd = ::open(file.ShellPath().c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, kOwnerOnly);
    if (fd < 0) {
        return nullptr;
    }
    // A umask may have taken the owner's own bits; where the file system keeps no modes this
    // fails, and the file is written all the same.
    ::fchmod(fd, kOwnerOnly);
    RaiseFileEvent(FileEvent::Created, file.ShellPath());
    return std::make_unique<TextOutputStream>(fd, file.ShellPath());
}

TextOutputStream::TextOutputStream(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}

TextOutputStream::~TextOutputStream() {
    Close();
}

bool TextOutputStream::Write(const std::string& bytes) {
    std::size_t done = 0;
    while (fd_ >= 0 && !failed_ && done < bytes.size()) {
        RaiseFileEvent(FileEvent::Writing, path_);
        const ssize_t wrote = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            failed_ = true;
        } else {
            done += static_cast<std::size_t>(wrote);
        }
    }
    return fd_ >= 0 && !failed_;
}

bool TextOutputStream::Close() {
    if (fd_ < 0) {
        return !failed_;
    }
    // Some file systems (network ones among them) report a failed write only here.
    if (::close(fd_) != 0) {
        failed_ = true;
    }
    fd_ = -1;
    RaiseFileEvent(FileEvent::OutputClosed, path_);
    return !failed_;
}

std::unique_ptr<TextOutputStream> TextOutputStream::Duplicate() const {
    const int fd = fd_ < 0 ? -1 : ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
    return fd < 0 ? nullptr : std::make_unique<TextOutputStream>(fd, path_);
}

bool TextOutputStream::Sync() const {
    return fd_ >= 0 && !SyncFails() && ::fsync(fd_) == 0;
}

bool TextOutputStream::IsFileAt(const FolderItem& file) const {
    struct stat mine {};
    struct stat there {};
    return fd_ >= 0 && ::fstat(fd_, &mine) == 0 && ::lstat(file.ShellPath().c_str(), &there) == 0 &&
           mine.st_dev == there.st_dev && mine.st_ino == there.st_ino;
}

std::int64_t TextOutputStream::Length() const {
    struct stat info {};
    return fd_ >= 0 && ::fstat(fd_, &info) == 0 ? static_cast<std::int64_t>(info.st_size) : -1;
}

void TextOutputStream::SimulateSyncError(bool failing) {
    SyncFails() = failing;
}
