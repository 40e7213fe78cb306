#include "SpecialFolder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return home;
    }
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] == '/') {
        return found->pw_dir;
    }
    return {};
}

std::string ConfigFolderPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    // A relative value is invalid and must be ignored.
    if (config != nullptr && config[0] == '/') {
        return config;
    }
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : home + "/.config";
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Makes every missing folder along `path`, each private to the user.
bool MakeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (!part.empty() && ::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
        if (slash == std::string::npos) {
            return IsFolder(path);
        }
    }
}
}  // namespace

FolderItemPtr SpecialFolder::Preferences() {
    const std::string path = ConfigFolderPath();
    if (path.empty() || !(IsFolder(path) || MakeFolders(path))) {
        return nullptr;
    }
    return std::make_shared<FolderItem>(path);
}
