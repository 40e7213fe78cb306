#pragma once

#include <memory>
#include <string>

#include "FolderItem.h"

// Writes bytes to a file as they are, without any conversion or line end. A failed write is
// remembered, so that a file cut short by a full disk is never taken for a whole one.
class TextOutputStream {
public:
    // Makes the file, or empties it when it exists. Nothing when that fails or when the item is
    // not a plain file.
    static std::unique_ptr<TextOutputStream> Create(const FolderItem& file);

    // Takes over an open descriptor of `path`; `Create` is the way to get one.
    TextOutputStream(int fd, std::string path);
    ~TextOutputStream();
    TextOutputStream(const TextOutputStream&) = delete;
    TextOutputStream& operator=(const TextOutputStream&) = delete;

    // False when any byte, of this or an earlier write, did not reach the file; after a failure
    // nothing more is written.
    bool Write(const std::string& bytes);
    // True only when every write and the close itself succeeded.
    bool Close();
    bool WriteError() const { return failed_; }

private:
    int fd_ = -1;
    std::string path_;
    bool failed_ = false;
};
