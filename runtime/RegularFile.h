#pragma once

#include <cstddef>
#include <optional>
#include <string>

// The bytes of a regular file, read through the one descriptor that was checked, else nothing:
// a missing path, a folder, a FIFO or device (even one swapped in after the first check: it is
// judged again on the open descriptor, opened without waiting for a writer, so it can't block
// the reader), an unreadable file, or one of more than maxBytes.
std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t maxBytes);
