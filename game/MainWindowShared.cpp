#include "MainWindowShared.h"

#include <utility>

namespace {
struct Registry {
    MainWindowShared* current = nullptr;
    std::function<MainWindowShared*()> maker;
    std::unique_ptr<MainWindowShared> standIn;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}
}  // namespace

MainWindowShared& MainWindow() {
    Registry& r = TheRegistry();
    if (r.current == nullptr) {
        if (r.maker) {
            r.current = r.maker();
        } else {
            r.standIn = std::make_unique<MainWindowShared>();
            r.current = r.standIn.get();
        }
    }
    return *r.current;
}

void RegisterMainWindow(MainWindowShared* window) {
    TheRegistry().current = window;
}

void UnregisterMainWindow(MainWindowShared* window) {
    if (TheRegistry().current == window) {
        TheRegistry().current = nullptr;
    }
}

void SetMainWindowMaker(std::function<MainWindowShared*()> maker) {
    TheRegistry().maker = std::move(maker);
}

void ResetMainWindowStandIn() {
    Registry& r = TheRegistry();
    if (r.current == r.standIn.get()) {
        r.current = nullptr;
    }
    r.standIn.reset();
}
