#pragma once

#include "FileType.h"

// The file types the application declares: only its preferences file.
namespace FileTypes {
// Builds the declarations; called once at start-up.
void Initialize();
// The preferences file's type: "PrefsData", no extension, type "PREF", creator "QVLK".
// Only valid after `Initialize`.
const FileType& PrefsData();
// At exit.
void Release();
}  // namespace FileTypes
