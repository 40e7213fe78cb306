#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QTimer>
#include <array>
#include <string>
#include <vector>

#include "Canvas.h"
#include "EventLoop.h"
#include "Graphics.h"
#include "Picture.h"
#include "Window.h"

namespace {
using Log = std::vector<std::string>;

class LoggingControl : public Control {
public:
    LoggingControl(::Window* window, std::string name, Log& log)
        : Control(window), name_(std::move(name)), log_(log) {}
    void Event_Open() override { log_.push_back(name_); }

private:
    std::string name_;
    Log& log_;
};

class LoggingWindow : public Window {
public:
    explicit LoggingWindow(Log& log) : log_(log) {}
    bool refuseClose = false;
    std::vector<std::pair<int, int>> presses;

    void Event_Open() override { log_.push_back("window open"); }
    void Event_Close() override { log_.push_back("window close"); }
    bool Event_CancelClose(bool quitting) override {
        log_.push_back(quitting ? "cancel? quitting" : "cancel?");
        return refuseClose;
    }
    bool Event_MouseDown(std::int32_t x, std::int32_t y) override {
        presses.emplace_back(x, y);
        return true;
    }

private:
    Log& log_;
};

class CountingCanvas : public Canvas {
public:
    using Canvas::Canvas;
    int paints = 0;
    void Event_Paint(Graphics& /*g*/) override { ++paints; }
};

// A logging window, not yet shown.
class WindowTest : public testing::Test {
protected:
    Log log;
    LoggingWindow window{log};
};
}  // namespace

TEST_F(WindowTest, ControlsOpenInCreationOrderBeforeTheirWindowAndOnlyOnce) {
    LoggingControl field(&window, "field", log);
    LoggingControl badge(&window, "badge", log);
    ASSERT_EQ(window.ControlCount(), 2);
    EXPECT_EQ(window.ControlAt(0), &field);
    EXPECT_EQ(window.ControlAt(1), &badge);

    window.Show();
    window.Show();
    EXPECT_EQ(log, (Log{"field", "badge", "window open"}));
    EXPECT_TRUE(window.Widget()->isVisible());
}

// Close and the close box both ask the window first; a refusal keeps it open and shown.
TEST(WindowCloseTest, ARefusalKeepsTheWindowOpen) {
    for (const bool byCloseBox : {false, true}) {
        Log log;
        LoggingWindow window(log);
        const auto close = [&] { byCloseBox ? (void)window.Widget()->close() : window.Close(); };
        window.Show();
        log.clear();
        window.refuseClose = true;
        close();
        EXPECT_FALSE(window.IsClosed());
        EXPECT_EQ(Window::OpenCount(), 1);
        EXPECT_TRUE(window.Widget()->isVisible());

        window.refuseClose = false;
        close();
        close();
        EXPECT_EQ(log, (Log{"cancel?", "cancel?", "window close"})) << byCloseBox;
        EXPECT_TRUE(window.IsClosed());
        EXPECT_EQ(Window::OpenCount(), 0);
        EXPECT_FALSE(window.Widget()->isVisible());
    }
}

TEST(WindowListTest, OpenWindowsAreListedInCreationOrderUntilClosed) {
    Log log;
    auto first = std::make_unique<LoggingWindow>(log);
    LoggingWindow second(log);
    LoggingWindow third(log);
    ASSERT_EQ(Window::OpenCount(), 3);
    EXPECT_EQ(Window::OpenAt(0), first.get());
    EXPECT_EQ(Window::OpenAt(2), &third);
    second.Close();
    EXPECT_EQ(Window::OpenAt(1), &third);
    first.reset();
    EXPECT_EQ(Window::OpenCount(), 1);
    EXPECT_EQ(Window::OpenAt(0), &third);
    EXPECT_EQ(Window::OpenAt(1), nullptr);
}

TEST_F(WindowTest, ShowModalReturnsWhenTheWindowCloses) {
    window.SetFrame(Window::kModalFrame);
    QTimer::singleShot(20, [&] {
        log.push_back("key");
        window.Close();
    });
    window.ShowModal();
    log.push_back("returned");
    EXPECT_EQ(log, (Log{"window open", "key", "cancel?", "window close", "returned"}));
}

TEST_F(WindowTest, UpdateNowPaintsOnlyTheMarkedControlsAtOnce) {
    window.SetSize(200, 100);
    CountingCanvas left(&window);
    left.SetBounds(0, 0, 100, 100);
    CountingCanvas right(&window);
    right.SetBounds(100, 0, 100, 100);
    window.Show();
    WaitUntilShown(window);
    const int leftBefore = left.paints;
    const int rightBefore = right.paints;

    left.Refresh(false);
    EXPECT_EQ(left.paints, leftBefore);
    window.UpdateNow();
    EXPECT_EQ(left.paints, leftBefore + 1);
    EXPECT_EQ(right.paints, rightBefore);
    window.UpdateNow();  // nothing marked any more
    EXPECT_EQ(left.paints, leftBefore + 1);
}

TEST_F(WindowTest, APressACanvasLeavesGoesToTheWindowInWindowCoordinates) {
    window.SetSize(100, 100);
    CountingCanvas icon(&window);
    icon.SetBounds(16, 16, 32, 32);
    window.Show();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(4, 5), QPointF(4, 5), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(icon.Widget(), &press);
    EXPECT_EQ(window.presses, (std::vector<std::pair<int, int>>{{20, 21}}));
}

TEST(CanvasTest, TheBackdropIsDrawnBeforeThePaintEvent) {
    class ProbingCanvas : public Canvas {
    public:
        using Canvas::Canvas;
        void Event_Paint(Graphics& g) override {
            g.ForeColor = 0x00CC00;
            g.FillRect(0, 0, 1, 1);  // over the backdrop, which must already be there
        }
    };
    ProbingCanvas canvas(nullptr);
    canvas.SetBounds(0, 0, 4, 4);
    PicturePtr backdrop = Picture::Create(4, 4, 32);
    backdrop->Graphics().ForeColor = 0x990000;
    backdrop->Graphics().FillRect(0, 0, 4, 4);
    canvas.SetBackdrop(backdrop);
    EXPECT_TRUE(canvas.IsRefreshPending());

    const QImage screen = canvas.Widget()->grab().toImage();
    EXPECT_EQ(screen.pixel(0, 0) & 0xFFFFFFu, 0x00CC00u);
    EXPECT_EQ(screen.pixel(3, 3) & 0xFFFFFFu, 0x990000u);
}

TEST(CanvasTest, MouseEnterAndExitSwapTheBackdrop) {
    Canvas icon(nullptr);
    icon.SetBounds(0, 0, 32, 32);
    PicturePtr iconPict = Picture::Create(32, 32, 32);
    PicturePtr logoPict = Picture::Create(32, 32, 32);
    icon.SetBackdrop(iconPict);
    icon.MouseEnter = [&](Canvas& sender) { sender.SetBackdrop(logoPict); };
    icon.MouseExit = [&](Canvas& sender) { sender.SetBackdrop(iconPict); };

    for (int crossing = 0; crossing < 2; ++crossing) {
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QCoreApplication::sendEvent(icon.Widget(), &enter);
        EXPECT_EQ(icon.Backdrop(), logoPict);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(icon.Widget(), &leave);
        EXPECT_EQ(icon.Backdrop(), iconPict);
    }
}

TEST(ControlTest, AControlAndItsWindowMayGoInEitherOrder) {
    Log log;
    auto window = std::make_unique<LoggingWindow>(log);
    auto early = std::make_unique<LoggingControl>(window.get(), "early", log);
    LoggingControl late(window.get(), "late", log);
    late.SetBounds(10, 20, 30, 40);
    EXPECT_EQ((std::array{late.Left(), late.Top(), late.Width(), late.Height()}),
              (std::array{10, 20, 30, 40}));
    EXPECT_EQ(late.Window(), window.get());

    early.reset();
    EXPECT_EQ(window->ControlCount(), 1);
    window.reset();
    EXPECT_EQ(late.Window(), nullptr);
    late.Refresh(false);  // harmless without a window
}

TEST(ControlTest, AControlWithoutAWindowWorksOnItsOwn) {
    Log log;
    LoggingControl control(nullptr, "alone", log);
    control.SetBounds(0, 0, 500, 300);
    control.SetVisible(false);
    control.SetEnabled(false);
    EXPECT_EQ(control.Window(), nullptr);
    EXPECT_EQ(control.Width(), 500);
    EXPECT_FALSE(control.Visible());
    EXPECT_FALSE(control.Enabled());
    control.Refresh(false);
    control.RepaintIfMarked();
    EXPECT_FALSE(control.IsRefreshPending());
}
