#pragma once

#include <string>

// A file type the application declares: a name and, for the Mac, a four-character type and
// creator. No extension means files of this type carry none.
struct FileType {
    std::string Name;
    std::string Extensions;
    std::string MacType;
    std::string MacCreator;
};
