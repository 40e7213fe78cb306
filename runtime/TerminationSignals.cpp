#include "TerminationSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <array>
#include <cerrno>
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
volatile std::sig_atomic_t gWriteEnd = -1;

SignalPipe& ThePipe() {
    static SignalPipe pipe;
    return pipe;
}

// May interrupt any code on any thread, so it only writes; a full pipe already holds a quit.
void OnSignal(int /*signal*/) {
    const int savedErrno = errno;
    const char byte = 1;
    if (gWriteEnd >= 0) {
        [[maybe_unused]] const ssize_t written = ::write(gWriteEnd, &byte, 1);
    }
    errno = savedErrno;
}

void OnReadable() {
    std::array<char, 256> bytes{};
    while (::read(ThePipe().fds[0], bytes.data(), bytes.size()) > 0) {
    }
    if (ThePipe().quit) {
        ThePipe().quit();
    }
}

// Under nohup, or from a daemon, a signal comes in ignored on purpose: it stays ignored for the
// run. Decided once, at the first catch, so that a catch after IgnoreTerminationSignals still
// knows which ones were ours.
const sigset_t& InheritedIgnored() {
    static const sigset_t ignored = [] {
        sigset_t set{};
        sigemptyset(&set);
        for (int signal : kSignals) {
            struct sigaction current {};
            if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) {
                sigaddset(&set, signal);
            }
        }
        return set;
    }();
    return ignored;
}

void SetDisposition(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals) {
        if (sigismember(&InheritedIgnored(), signal) == 0) {
            ::sigaction(signal, &action, nullptr);
        }
    }
}
}  // namespace

void CatchTerminationSignals() {
    SignalPipe& p = ThePipe();
    if (p.fds[0] < 0 && ::pipe2(p.fds.data(), O_NONBLOCK | O_CLOEXEC) != 0) {
        return;
    }
    gWriteEnd = p.fds[1];
    SetDisposition(OnSignal);
}

void QuitOnTerminationSignals(std::function<void()> quit) {
    CatchTerminationSignals();
    SignalPipe& p = ThePipe();
    p.quit = std::move(quit);
    if (p.fds[0] >= 0 && !p.notifier) {
        p.notifier = std::make_unique<QSocketNotifier>(p.fds[0], QSocketNotifier::Read);
        QObject::connect(p.notifier.get(), &QSocketNotifier::activated, [] { OnReadable(); });
    }
}

// The pipe stays open to the end: a handler already running on another thread may still write.
void IgnoreTerminationSignals() {
    SetDisposition(SIG_IGN);
    SignalPipe& p = ThePipe();
    p.notifier.reset();
    p.quit = nullptr;
}

void IgnoreFileSizeLimitSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}
