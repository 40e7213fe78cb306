#include <gtest/gtest.h>

#include <QTimer>
#include <array>
#include <cerrno>
#include <csignal>
#include <memory>
#include <tuple>

#include "Application.h"
#include "LoggingWindow.h"
#include "TerminationSignals.h"
#include "Window.h"

namespace {
class LoggingApp : public Application {
public:
    explicit LoggingApp(Log& log) : log(log) {}
    Log& log;
    std::function<void()> onOpen = [] {};
    void Event_Open() override { log.push_back("app open"), onOpen(); }
    void Event_Close() override { log.push_back("app close"); }
};

}  // namespace

// The windows made before the run open once the application has opened, in creation order.
TEST(ApplicationTest, AutoQuitEndsTheRunWhenTheLastWindowCloses) {
    Log log;
    LoggingApp app(log);
    LoggingWindow main(log, "main");
    LoggingWindow help(log, "help");
    app.onOpen = [&] {
        app.AutoQuit = true;
        QTimer::singleShot(10, [&] { help.Close(); });
        QTimer::singleShot(30, [&] { main.Close(); });
    };
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(log, (Log{"app open", "main open", "help open", "cancel?", "help close", "cancel?",
                        "main close", "app close"}));
    EXPECT_EQ(app.WindowCount(), 0);
}

TEST(ApplicationTest, QuitClosesEveryWindowUnlessOneRefuses) {
    Log log;
    LoggingApp app(log);
    LoggingWindow main(log, "main");
    LoggingWindow about(log, "about");
    app.onOpen = [&] {
        main.Show();
        about.Show();
        about.refuseClose = true;
        QTimer::singleShot(10, [&] {
            app.Quit();  // refused: the run goes on
            log.push_back(app.WindowCount() == 2 ? "still 2" : "lost some");
            about.refuseClose = false;
            QTimer::singleShot(10, [&] { app.Quit(); });
        });
    };
    app.Run();
    // Newest first, and a refusal stops the quit before the older windows are asked.
    EXPECT_EQ(log, (Log{"app open", "main open", "about open", "cancel? quitting", "still 2",
                        "cancel? quitting", "about close", "cancel? quitting", "main close",
                        "app close"}));
}

// Open windows are listed in creation order until they close or go. A quit during the open
// closes the rest and skips the event loop.
TEST(ApplicationTest, TheWindowListIsTheOpenWindowsAndAQuitDuringTheOpenSkipsTheEventLoop) {
    Log log;
    {
        LoggingApp app(log);
        auto first = std::make_unique<LoggingWindow>(log, "first");
        LoggingWindow second(log, "second");
        LoggingWindow third(log, "third");
        EXPECT_EQ((std::array{app.Window(-1), app.Window(0), app.Window(1), app.Window(2),
                              app.Window(3)}),
                  (std::array<Window*, 5>{nullptr, first.get(), &second, &third, nullptr}));
        second.Close();  // not AutoQuit: nothing more happens
        first.reset();
        EXPECT_EQ(std::tuple(app.WindowCount(), app.Window(0), app.IsQuitting()),
                  std::tuple(1, &third, false));
        app.onOpen = [&] { app.Quit(); };
        EXPECT_EQ(app.Run(), 0);
        EXPECT_EQ(Application::Current(), &app);
    }
    EXPECT_EQ(log, (Log{"cancel?", "second close", "app open", "cancel? quitting", "third close",
                        "app close"}));
    EXPECT_EQ(Application::Current(), nullptr);
}

// Signals that come before the event loop wait for it and quit once; the handler leaves errno as
// it was even when its write fails; once the run is over the signals are ignored.
TEST(ApplicationTest, TerminationSignalsQuitOnceTheLoopRunsAndAreIgnoredAfterIt) {
    Log log;
    LoggingApp app(log);
    CatchTerminationSignals();
    for (int i = 0; i < 70000; ++i) {  // more than the pipe's 64 KiB
        std::raise(SIGTERM);
    }
    errno = ERANGE;
    std::raise(SIGINT);  // the pipe is full: the handler's write fails with EAGAIN
    EXPECT_EQ(errno, ERANGE);
    QuitOnTerminationSignals([&] {
        log.push_back("quit");
        app.Quit();
    });
    EXPECT_EQ(app.Run(), 0);
    IgnoreTerminationSignals();
    std::raise(SIGHUP);  // would end the test program
    EXPECT_EQ(log, (Log{"app open", "quit", "app close"}));
}

// A signal that comes in ignored (under nohup, or as a script's background job) stays ignored
// through every catch, and the other two are caught; once the quit is under way all three are
// ignored. Each in a fresh process, where nothing has caught a signal yet.
TEST(ApplicationTest, ASignalThatComesInIgnoredStaysIgnored) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Which ones the game catches, as bits INT 4, TERM 2, HUP 1; after a quit, then a catch again.
    const auto caught = [] {
        int bits = 0;
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
            struct sigaction now {};
            ::sigaction(signal, nullptr, &now);
            bits = bits * 2 + (now.sa_handler != SIG_IGN && now.sa_handler != SIG_DFL);
        }
        return bits;
    };
    const std::pair<int, int> cases[] = {{SIGINT, 3}, {SIGTERM, 5}, {SIGHUP, 6}};
    for (const auto& [inherited, bits] : cases) {
        EXPECT_EXIT(
            {
                for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
                    std::signal(signal, signal == inherited ? SIG_IGN : SIG_DFL);
                }
                CatchTerminationSignals();
                const int first = caught();
                IgnoreTerminationSignals();
                const int quitting = caught();
                CatchTerminationSignals();
                std::_Exit(first == caught() && quitting == 0 ? first : 64 + quitting);
            },
            testing::ExitedWithCode(bits), "")
            << inherited;
    }
}
