#pragma once

#include <cstdint>
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
    // Makes the file only when its name is free (not even a dangling link there), readable and
    // writable by its owner alone whatever the umask. Nothing when the name is taken (errno
    // EEXIST) or the folder won't take the file.
    static std::unique_ptr<TextOutputStream> CreateNew(const FolderItem& file);

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

    // Another stream on the same open file: one can be closed while the other goes on to flush it
    // or tell it. Nothing when this one is closed or no descriptor is left.
    std::unique_ptr<TextOutputStream> Duplicate() const;
    // Flushes the file's bytes and attributes to the disk through this stream's own descriptor,
    // whatever its name holds by now.
    bool Sync() const;
    // Whether the name `file` itself (not a link's target) still stands for the file this stream
    // writes.
    bool IsFileAt(const FolderItem& file) const;
    // The file's size in bytes now, whoever wrote them; -1 once closed.
    std::int64_t Length() const;

    // For tests: every Sync fails, as when the disk reports an error while flushing (EIO).
    static void SimulateSyncError(bool failing);

private:
    int fd_ = -1;
    std::string path_;
    bool failed_ = false;
};
