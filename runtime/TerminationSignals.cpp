#include "TerminationSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <array>
#include <csignal>
#include <memory>

namespace {
constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};

struct SignalPipe {
    std::array<int, 2> fds{-1, -1};
    std::unique_ptr<QSocketNotifier> notifier;
    std::function<void()> quit;
};

// Written by the signal handler, so a plain global that it can reach without a call.
volatile int gWriteEnd = -1;

SignalPipe& ThePipe() {
    static SignalPipe pipe;
    return pipe;
}

void OnSignal(int /*signal*/) {
    const char byte = 1;
    if (gWriteEnd >= 0) {
        [[maybe_unused]] const ssize_t written = ::write(gWriteEnd, &byte, 1);
    }
}

void OnReadable() {
    std::array<char, 16> bytes{};
    while (::read(ThePipe().fds[0], bytes.data(), bytes.size()) > 0) {
    }
    if (ThePipe().quit) {
        ThePipe().quit();
    }
}
}  // namespace

void QuitOnTerminationSignals(std::function<void()> quit) {
    SignalPipe& p = ThePipe();
    p.quit = std::move(quit);
    if (p.fds[0] < 0) {
        if (::pipe2(p.fds.data(), O_NONBLOCK | O_CLOEXEC) != 0) {
            return;
        }
        p.notifier = std::make_unique<QSocketNotifier>(p.fds[0], QSocketNotifier::Read);
        QObject::connect(p.notifier.get(), &QSocketNotifier::activated, [] { OnReadable(); });
    }
    gWriteEnd = p.fds[1];
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals) {
        ::sigaction(signal, &action, nullptr);
    }
}

void StopQuittingOnTerminationSignals() {
    for (int signal : kSignals) {
        std::signal(signal, SIG_DFL);
    }
    SignalPipe& p = ThePipe();
    gWriteEnd = -1;
    p.notifier.reset();
    p.quit = nullptr;
    for (int& fd : p.fds) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
}
