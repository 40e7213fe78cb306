#pragma once

#include "FolderItem.h"

// Swaps two files in one step, each name then holding the other's contents (and attributes).
// False, with nothing changed, when either is missing, when the file system can't exchange
// (EINVAL), when the kernel lacks the call (ENOSYS) or when the two are on different file systems
// (EXDEV).
bool ExchangeFiles(const FolderItem& a, const FolderItem& b);

// For tests: makes every exchange fail as on a file system that can't exchange.
void SimulateExchangeRefused(bool refused);
