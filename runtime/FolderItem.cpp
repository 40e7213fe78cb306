#include "FolderItem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <utility>

#include "FileEvents.h"

namespace {
// Type and creator codes are four bytes; anything much longer is not one of ours.
constexpr std::size_t kLongestCode = 64;
// As many links as the kernel follows before it gives up with ELOOP.
constexpr int kMostLinks = 40;

int& SimulatedError() {
    static int error = 0;
    return error;
}

// Every attribute read and write goes through these two, so that a test can make them fail as
// the kernel would.
ssize_t GetAttribute(const std::string& path, const char* name, char* buffer, std::size_t size) {
    if (SimulatedError() == ENOTSUP) {
        errno = ENOTSUP;
        return -1;
    }
    return ::getxattr(path.c_str(), name, buffer, size);
}

bool SetAttribute(const std::string& path, const char* name, const std::string& value) {
    if (SimulatedError() != 0) {
        errno = SimulatedError();
        return false;
    }
    return ::setxattr(path.c_str(), name, value.data(), value.size(), 0) == 0;
}

std::string ReadAttribute(const std::string& path, const char* name) {
    char buffer[kLongestCode];
    const ssize_t size = GetAttribute(path, name, buffer, sizeof buffer);
    return size > 0 ? std::string(buffer, static_cast<std::size_t>(size)) : std::string();
}
}  // namespace

FolderItem::FolderItem(std::string path) : path_(std::move(path)) {}

std::string FolderItem::Name() const {
    std::string trimmed = path_;
    while (trimmed.size() > 1 && trimmed.back() == '/') {
        trimmed.pop_back();
    }
    const std::size_t slash = trimmed.rfind('/');
    return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

FolderItemPtr FolderItem::Child(const std::string& name) const {
    if (name.empty() || name == "." || name == ".." ||
        name.find_first_of(std::string("/\0", 2)) != std::string::npos) {
        return nullptr;
    }
    const bool hasSlash = !path_.empty() && path_.back() == '/';
    return std::make_shared<FolderItem>(path_ + (hasSlash ? "" : "/") + name);
}

FolderItemPtr FolderItem::Parent() const {
    std::string trimmed = path_;
    while (trimmed.size() > 1 && trimmed.back() == '/') {
        trimmed.pop_back();
    }
    const std::size_t slash = trimmed.rfind('/');
    if (trimmed == "/" || slash == std::string::npos) {
        return nullptr;
    }
    return std::make_shared<FolderItem>(slash == 0 ? "/" : trimmed.substr(0, slash));
}

std::vector<std::string> FolderItem::ChildNames() const {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(path_, error), end; !error && it != end;
         it.increment(error)) {
        names.push_back(it->path().filename().string());
    }
    return names;
}

FolderItemPtr FolderItem::LinkTarget() const {
    std::string path = path_;
    for (int hop = 0; hop < kMostLinks; ++hop) {
        std::error_code error;
        const std::string target = std::filesystem::read_symlink(path, error).string();
        if (error || target.empty()) {
            break;
        }
        // A relative link is read from the folder that holds it.
        const std::size_t slash = path.rfind('/');
        path = target[0] == '/' || slash == std::string::npos ? target
                                                              : path.substr(0, slash + 1) + target;
    }
    return std::make_shared<FolderItem>(path);
}

bool FolderItem::Exists() const {
    struct stat info {};
    return ::lstat(path_.c_str(), &info) == 0;
}

bool FolderItem::Directory() const {
    struct stat info {};
    return ::stat(path_.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool FolderItem::SymbolicLink() const {
    struct stat info {};
    return ::lstat(path_.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

int FolderItem::Permissions() const {
    struct stat info {};
    return ::stat(path_.c_str(), &info) == 0 ? static_cast<int>(info.st_mode & 07777) : -1;
}

bool FolderItem::SetPermissions(int mode) const {
    return ::chmod(path_.c_str(), static_cast<mode_t>(mode)) == 0;
}

std::optional<std::int64_t> FolderItem::SecondsSinceModified() const {
    struct stat info {};
    if (::lstat(path_.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(std::time(nullptr)) - info.st_mtim.tv_sec;
}

std::string FolderItem::MacType() const {
    return ReadAttribute(path_, kTypeAttribute);
}

std::string FolderItem::MacCreator() const {
    return ReadAttribute(path_, kCreatorAttribute);
}

bool FolderItem::SetMacType(const std::string& code) const {
    return SetAttribute(path_, kTypeAttribute, code);
}

bool FolderItem::SetMacCreator(const std::string& code) const {
    return SetAttribute(path_, kCreatorAttribute, code);
}

bool FolderItem::MacAttributesSupported() const {
    return GetAttribute(path_, kTypeAttribute, nullptr, 0) >= 0 || errno != ENOTSUP;
}

bool FolderItem::Delete() const {
    RaiseFileEvent(FileEvent::Deleting, path_);
    return std::remove(path_.c_str()) == 0;
}

bool FolderItem::MoveFileTo(const FolderItem& destination) const {
    if (::rename(path_.c_str(), destination.path_.c_str()) != 0) {
        return false;
    }
    RaiseFileEvent(FileEvent::Moved, destination.path_);
    return true;
}

bool FolderItem::Sync() const {
    const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

void FolderItem::SimulateAttributeError(int error) {
    SimulatedError() = error;
}
