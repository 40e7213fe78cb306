#pragma once

#include <fcntl.h>
#include <grp.h>
#include <linux/fs.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "TerminationSignals.h"

// A private folder for one test's files, removed with everything in it afterwards. Tests never
// touch the real home or configuration folders.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tembrolo-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~ScratchFolder() {
        if (!mounted_.empty()) {
            ::umount2(mounted_.c_str(), MNT_DETACH);
        }
        SetWritable(path_, true);
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

    // Makes a folder refuse new entries: by its mode, or for root (whom modes don't stop) by the
    // immutable flag. False where neither works.
    static bool SetWritable(const std::string& folder, bool writable) {
        if (::geteuid() != 0) {
            return ::chmod(folder.c_str(), writable ? 0700 : 0500) == 0;
        }
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
        if (fd < 0) {
            return false;
        }
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = writable ? (flags & ~FS_IMMUTABLE_FL) : (flags | FS_IMMUTABLE_FL);
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return done;
    }

    // Mounts a fresh file system of `type` on the folder `name` in here till the end, for what no
    // plain folder shows (no extended attributes, a full disk). Only in a mount namespace of the
    // program's own, so that a test killed midway leaves no mount behind. False where refused.
    bool Mount(const std::string& name, const char* type, const char* options) {
        static const bool isolated =
            ::unshare(CLONE_NEWNS) == 0 &&
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        if (isolated && ::mount(type, (*this / name).c_str(), type, 0, options) == 0) {
            mounted_ = *this / name;
        }
        return !mounted_.empty();
    }

private:
    std::string path_;
    std::string mounted_;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::optional<std::string> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void SetKind(const std::string& path, const std::string& creator, const std::string& type) {
    ::setxattr(path.c_str(), "user.org.quillmoor.tembrolo.creator", creator.data(), creator.size(),
               0);
    ::setxattr(path.c_str(), "user.org.quillmoor.tembrolo.type", type.data(), type.size(), 0);
}

inline std::string Attribute(const std::string& path, const std::string& name) {
    char buffer[64];
    const ssize_t size =
        ::getxattr(path.c_str(), ("user.org.quillmoor.tembrolo." + name).c_str(), buffer, 64);
    return size > 0 ? std::string(buffer, static_cast<std::size_t>(size)) : std::string();
}

// Sets the item's modification time `seconds` before now, by the clock the program reads ages
// with: time(), which can lag the precise clock by a tick, so that an age of a minute to the
// second never reads as 59 s.
inline void Age(const std::string& path, int seconds) {
    const timespec times[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - seconds, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

// The names in a folder, sorted.
inline std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Root is refused nothing, so tests of what an ordinary user is refused hand their files to this
// user and run as it, in a child process.
constexpr uid_t kNobody = 65534;

inline bool HandToNobody(const std::vector<std::string>& paths) {
    return std::all_of(paths.begin(), paths.end(), [](const std::string& path) {
        return ::chown(path.c_str(), kNobody, kNobody) == 0;
    });
}

// In the child: from here on the process is that ordinary user. False when it could not become it.
inline bool BecomeNobody() {
    return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
}

// Runs `body` with files limited to `bytes`, as on a full disk: writes past it fail (no signal).
inline void WithFileSizeLimit(rlim_t bytes, const std::function<void()>& body) {
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    IgnoreFileSizeLimitSignal();  // as the program does from its start
    rlimit tiny = saved;
    tiny.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &tiny);
    body();
    ::setrlimit(RLIMIT_FSIZE, &saved);
}
