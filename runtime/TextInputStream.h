#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "FolderItem.h"

// Reads a file's bytes as they are stored, without any conversion.
class TextInputStream {
public:
    // Nothing when `file` is missing, unreadable or not a plain file (a folder, a pipe).
    static std::unique_ptr<TextInputStream> Open(const FolderItem& file);

    // Takes over an open descriptor; `Open` is the way to get one.
    explicit TextInputStream(int fd);
    ~TextInputStream();
    TextInputStream(const TextInputStream&) = delete;
    TextInputStream& operator=(const TextInputStream&) = delete;

    // Up to `count` bytes; fewer at the end of the file or after a read error.
    std::string Read(std::int64_t count);
    std::string ReadAll();
    // True once a read has failed: what was returned may be cut short.
    bool ReadError() const { return failed_; }
    void Close();

private:
    int fd_ = -1;
    bool failed_ = false;
};
