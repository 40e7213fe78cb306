#include "ExchangeFiles.h"

#include <fcntl.h>

#include <cstdio>

#include "FileEvents.h"

namespace {
bool& ExchangeRefused() {
    static bool refused = false;
    return refused;
}
}  // namespace

bool ExchangeFiles(const FolderItem& a, const FolderItem& b) {
    if (ExchangeRefused()) {
        return false;
    }
    if (::renameat2(AT_FDCWD, a.ShellPath().c_str(), AT_FDCWD, b.ShellPath().c_str(),
                    RENAME_EXCHANGE) != 0) {
        return false;
    }
    RaiseFileEvent(FileEvent::Exchanged, a.ShellPath());
    return true;
}

void SimulateExchangeRefused(bool refused) {
    ExchangeRefused() = refused;
}
