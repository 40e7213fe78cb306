#include <gtest/gtest.h>

#include <QTimer>
#include <array>
#include <cerrno>
#include <csignal>
#include <string>
#include <vector>

#include "Application.h"
#include "TerminationSignals.h"
#include "Window.h"

namespace {
using Log = std::vector<std::string>;

class LoggingApp : public Application {
public:
    explicit LoggingApp(Log& log) : log_(log) {}
    std::function<void()> onOpen;
    void Event_Open() override {
        log_.push_back("app open");
        if (onOpen) {
            onOpen();
        }
    }
    void Event_Close() override { log_.push_back("app close"); }

private:
    Log& log_;
};

class LoggingWindow : public Window {
public:
    LoggingWindow(Log& log, std::string name) : log_(log), name_(std::move(name)) {}
    bool refuseQuit = false;
    void Event_Open() override { log_.push_back(name_ + " open"); }
    void Event_Close() override { log_.push_back(name_ + " close"); }
    bool Event_CancelClose(bool quitting) override { return quitting && refuseQuit; }

private:
    Log& log_;
    std::string name_;
};
}  // namespace

TEST(ApplicationTest, AutoQuitEndsTheRunWhenTheLastWindowCloses) {
    Log log;
    LoggingApp app(log);
    LoggingWindow main(log, "main");
    LoggingWindow help(log, "help");
    app.onOpen = [&] {
        app.AutoQuit = true;
        main.Show();
        help.Show();
        QTimer::singleShot(10, [&] { help.Close(); });
        QTimer::singleShot(30, [&] { main.Close(); });
    };
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(log,
              (Log{"app open", "main open", "help open", "help close", "main close", "app close"}));
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
        about.refuseQuit = true;
        QTimer::singleShot(10, [&] {
            app.Quit();  // refused: the run goes on
            log.push_back(app.WindowCount() == 2 ? "still 2" : "lost some");
            about.refuseQuit = false;
            QTimer::singleShot(10, [&] { app.Quit(); });
        });
    };
    app.Run();
    EXPECT_EQ(log, (Log{"app open", "main open", "about open", "still 2", "about close",
                        "main close", "app close"}));
}

TEST(ApplicationTest, AQuitDuringTheOpenSkipsTheEventLoop) {
    Log log;
    LoggingApp app(log);
    app.onOpen = [&] { app.Quit(); };
    app.Run();
    EXPECT_EQ(log, (Log{"app open", "app close"}));
    EXPECT_EQ(Application::Current(), &app);
}

TEST(ApplicationTest, TheWindowListIsTheOpenWindows) {
    Log log;
    LoggingApp app(log);
    LoggingWindow main(log, "main");
    LoggingWindow fortune(log, "fortune");
    EXPECT_EQ(app.WindowCount(), 2);
    EXPECT_EQ((std::array{app.Window(-1), app.Window(0), app.Window(1), app.Window(2)}),
              (std::array<Window*, 4>{nullptr, &main, &fortune, nullptr}));
    main.Close();  // not AutoQuit: nothing more happens
    EXPECT_EQ(app.WindowCount(), 1);
    EXPECT_FALSE(app.IsQuitting());
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
