#include "ResourcesFolder.h"

#include <filesystem>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace {
struct Override {
    bool active = false;
    std::optional<std::string> folder;
};

Override& TheOverride() {
    static Override value;
    return value;
}

bool IsFolder(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}
}  // namespace

std::optional<std::string> ResourcesFolder() {
    if (TheOverride().active) {
        const auto& folder = TheOverride().folder;
        return folder && IsFolder(*folder) ? folder : std::nullopt;
    }
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        const fs::path beside = executable.parent_path() / "resources";
        if (IsFolder(beside)) {
            return beside.string();
        }
    }
    if (IsFolder(TEMBROLO_DATA_DIR)) {
        return std::string(TEMBROLO_DATA_DIR);
    }
    return std::nullopt;
}

void SetResourcesFolder(std::optional<std::string> folder) {
    TheOverride().active = true;
    TheOverride().folder = std::move(folder);
}
