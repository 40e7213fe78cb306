#include "FileTypes.h"

#include <memory>

namespace FileTypes {

namespace {
std::unique_ptr<FileType>& ThePrefsData() {
    static std::unique_ptr<FileType> prefsData;
    return prefsData;
}
}  // namespace

void Initialize() {
    auto type = std::make_unique<FileType>();
    type->Name = "PrefsData";
    type->Extensions = "";
    type->MacType = "PREF";
    type->MacCreator = "QVLK";
    ThePrefsData() = std::move(type);
}

const FileType& PrefsData() {
    return *ThePrefsData();
}

void Release() {
    ThePrefsData().reset();
}

}  // namespace FileTypes
