#include "FolderItem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>

#include "FileEvents.h"

namespace {
// Type and creator codes are four bytes; anything much longer is not one of ours.
constexpr std::size_t kLongestCode = 64;

bool& AttributesRefused() {
    static bool refused = false;
    return refused;
}

std::string ReadAttribute(const std::string& path, const char* name) {
    if (AttributesRefused()) {
        return {};
    }
    char buffer[kLongestCode];
    const ssize_t size = ::getxattr(path.c_str(), name, buffer, sizeof buffer);
    return size > 0 ? std::string(buffer, static_cast<std::size_t>(size)) : std::string();
}

bool WriteAttribute(const std::string& path, const char* name, const std::string& value) {
    if (AttributesRefused()) {
        return false;
    }
    return ::setxattr(path.c_str(), name, value.data(), value.size(), 0) == 0;
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

bool FolderItem::Exists() const {
    struct stat info {};
    return ::lstat(path_.c_str(), &info) == 0;
}

bool FolderItem::Directory() const {
    struct stat info {};
    return ::stat(path_.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string FolderItem::MacType() const {
    return ReadAttribute(path_, kTypeAttribute);
}

std::string FolderItem::MacCreator() const {
    return ReadAttribute(path_, kCreatorAttribute);
}

bool FolderItem::SetMacType(const std::string& code) const {
    return WriteAttribute(path_, kTypeAttribute, code);
}

bool FolderItem::SetMacCreator(const std::string& code) const {
    return WriteAttribute(path_, kCreatorAttribute, code);
}

bool FolderItem::MacAttributesSupported() const {
    if (AttributesRefused()) {
        return false;
    }
    return ::getxattr(path_.c_str(), kTypeAttribute, nullptr, 0) >= 0 || errno != ENOTSUP;
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

void FolderItem::SimulateAttributesRefused(bool refused) {
    AttributesRefused() = refused;
}
