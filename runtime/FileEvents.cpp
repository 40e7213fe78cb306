#include "FileEvents.h"

#include <utility>

namespace {
FileEventObserver& TheObserver() {
    static FileEventObserver observer;
    return observer;
}
}  // namespace

void SetFileEventObserver(FileEventObserver observer) {
    TheObserver() = std::move(observer);
}

void RaiseFileEvent(FileEvent event, const std::string& path) {
    if (TheObserver()) {
        TheObserver()(event, path);
    }
}
