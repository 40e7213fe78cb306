#include "TextOutputStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "FileEvents.h"

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

TextOutputStream::TextOutputStream(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}

TextOutputStream::~TextOutputStream() {
    Close();
}

bool TextOutputStream::Write(const std::string& bytes) {
    std::size_t done = 0;
    while (fd_ >= 0 && !failed_ && done < bytes.size()) {
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
