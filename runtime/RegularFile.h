#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// The bytes of a regular file, read through the one descriptor that was checked, else nothing:
// a missing path, a folder, a FIFO or device (even one swapped in after the first check: it is
// judged again on the open descriptor, opened without waiting for a writer, so it can't block
// the reader), an unreadable file, or one of more than maxBytes.
std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t maxBytes);

// What tells one version of a file from the next without reading it: which file the path leads
// to, its size, and its modification and status-change times. The last moves with any change
// to the file, its permissions included, and can't be set back.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::int64_t changedSeconds = 0;
    std::int64_t changedNanoseconds = 0;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of whatever the path leads to (a FIFO or folder too); nothing when there is no item.
std::optional<FileStamp> StampOf(const std::string& path);
