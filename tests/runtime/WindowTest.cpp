#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <array>
#include <tuple>

#include "Canvas.h"
#include "EventLoop.h"
#include "Graphics.h"
#include "LoggingWindow.h"
#include "MenuBar.h"
#include "Picture.h"
#include "PushButton.h"
#include "Window.h"

namespace {
class LoggingControl : public Control {
public:
    LoggingControl(::Window* window, std::string name, Log& log)
        : Control(window), name(std::move(name)), log(log) {}
    void Event_Open() override { log.push_back(name); }
    std::string name;
    Log& log;
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
    EXPECT_EQ((std::array{window.ControlAt(-1), window.ControlAt(0), window.ControlAt(1),
                          window.ControlAt(2)}),
              (std::array<Control*, 4>{nullptr, &field, &badge, nullptr}));

    window.Show();
    window.Show();
    EXPECT_EQ(log, (Log{"field", "badge", "window open"}));
    EXPECT_TRUE(window.Widget()->isVisible());
    EXPECT_FALSE(window.Widget()->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
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

// Placed once, before the first showing: the main window in the middle of the screen, a dialog
// over the newest shown window. Where the user moves a window, it stays.
TEST_F(WindowTest, ShowModalPlacesTheDialogOverTheWindowShownLastAndReturnsOnItsClose) {
    Window main;
    main.SetSize(200, 100);
    main.SetPlacement(Window::kMainScreenPlacement);
    main.Show();
    EXPECT_EQ(main.Widget()->pos(),
              QGuiApplication::primaryScreen()->availableGeometry().center() - QPoint(100, 50));
    main.Widget()->move(10, 20);
    main.Show();
    EXPECT_EQ(main.Widget()->pos(), QPoint(10, 20));

    class ClosingAsItOpens : public Window {
        void Event_Open() override { Close(); }
    } hidden;  // newer, but never shown
    window.SetSize(100, 40);
    window.SetPlacement(Window::kParentWindowPlacement);
    QTimer::singleShot(20, [&] {
        log.push_back(QApplication::activeModalWidget() == window.Widget() ? "modal" : "not modal");
        EXPECT_EQ(window.Widget()->pos(), main.Widget()->frameGeometry().center() - QPoint(50, 20));
        window.Close();
    });
    window.ShowModal();
    log.push_back("returned");
    EXPECT_EQ(log, (Log{"window open", "modal", "cancel?", "window close", "returned"}));
    hidden.ShowModal();  // closed before it shows: returns at once
    main.Show();         // to the front again
    EXPECT_TRUE(QTest::qWaitForWindowActive(main.Widget()));
}

// A modal window belongs to the main window, and when it was minimised on its own, activating the
// main window brings it back to the front.
TEST(ModalWindowTest, BelongsToTheMainWindowAndComesBackWhenThatIsActivated) {
    Window early;  // opened first, but never shown
    Window main;
    main.Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.Widget()));
    Window other;  // a second document window, opened later
    other.Show();
    Window fortune;
    fortune.SetFrame(Window::kMovableModalFrame);
    fortune.Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(fortune.Widget()));
    EXPECT_EQ(fortune.Widget()->windowHandle()->transientParent(), main.Widget()->windowHandle());

    fortune.Widget()->showMinimized();
    ASSERT_EQ(QApplication::activeWindow(), main.Widget());
    QEvent activated(QEvent::ActivationChange);  // a click on it, which activates it
    QApplication::sendEvent(main.Widget(), &activated);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !fortune.Widget()->isMinimized(); }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == fortune.Widget(); }));

    fortune.Close();  // once it has closed, the main window stays in front
    QApplication::setActiveWindow(main.Widget());
    RunEventLoopFor(20);
    EXPECT_EQ(QApplication::activeWindow(), main.Widget());
    EXPECT_FALSE(fortune.Widget()->isVisible());
}

// A bar set once the controls exist pushes them down; window coordinates start below it.
// UpdateNow paints only the marked controls, at once.
TEST_F(WindowTest, ABarSetLaterLeavesTheContentBelowIt) {
    window.SetSize(200, 100);
    CountingCanvas left(&window);
    left.SetBounds(0, 0, 100, 100);
    CountingCanvas right(&window);
    right.SetBounds(116, 16, 32, 32);
    auto bar = std::make_shared<MenuBar>();
    bar->Append(std::make_shared<MenuItem>());
    window.SetMenuBar(bar);
    window.SetMenuBar(bar);  // a second bar is refused
    window.Show();
    WaitUntilShown(window);
    const int top = window.ContentTop();
    EXPECT_EQ(window.Widget()->findChild<QMenuBar*>()->geometry(), QRect(0, 0, 200, top));
    EXPECT_EQ(window.Widget()->size(), QSize(200, 100 + top));
    EXPECT_EQ((std::array{right.Top(), right.Widget()->y()}), (std::array{16, 16 + top}));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(4, 5), QPointF(4, 5), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(right.Widget(), &press);
    EXPECT_EQ(window.presses, (std::vector<std::pair<int, int>>{{120, 21}}));

    const std::array before{left.paints, right.paints};
    left.Refresh(false);
    EXPECT_EQ(left.paints, before[0]);
    window.UpdateNow();
    window.UpdateNow();  // nothing marked any more
    EXPECT_EQ((std::array{left.paints, right.paints}), (std::array{before[0] + 1, before[1]}));
}

// A control without a window works on its own. A see-through picture drawn on the screen leaves
// what is under its white.
TEST(CanvasTest, TheBackdropIsDrawnBeforeThePaintEvent) {
    class ProbingCanvas : public Canvas {
    public:
        using Canvas::Canvas;
        PicturePtr mark = Picture::Create(1, 1, 32);  // white, and see-through
        void Event_Paint(Graphics& g) override {
            g.ForeColor = 0x00CC00;
            g.FillRect(0, 0, 1, 1);  // over the backdrop, which must already be there
            g.DrawPicture(mark, 2, 0);
        }
    };
    ProbingCanvas canvas(nullptr);
    canvas.SetBounds(0, 0, 4, 4);
    canvas.mark->Transparent = 1;
    PicturePtr backdrop = Picture::Create(4, 4, 32);
    backdrop->Graphics().ForeColor = 0x990000;
    backdrop->Graphics().FillRect(0, 0, 4, 4);
    canvas.SetBackdrop(backdrop);
    EXPECT_TRUE(canvas.IsRefreshPending());

    const QImage screen = canvas.Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_FALSE(canvas.IsRefreshPending());
    EXPECT_EQ((std::array{screen.pixel(0, 0), screen.pixel(2, 0), screen.pixel(3, 3)}),
              (std::array{0xFF00CC00u, 0xFF990000u, 0xFF990000u}));
    canvas.SetVisible(false);
    canvas.SetEnabled(false);
    canvas.Refresh(false);
    canvas.RepaintIfMarked();
    EXPECT_EQ((std::array{canvas.Visible(), canvas.Enabled(), canvas.IsRefreshPending()}),
              (std::array{false, false, false}));
    EXPECT_EQ(canvas.Window(), nullptr);
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
    PushButton late(window.get());
    late.SetBounds(10, 20, 30, 40);
    late.SetVisible(false);
    EXPECT_EQ(std::tuple(late.Left(), late.Top(), late.Width(), late.Height(), late.Visible(),
                         late.Window()),
              std::tuple(10, 20, 30, 40, false, window.get()));

    early.reset();
    EXPECT_EQ(std::tuple(window->ControlCount(), window->ControlAt(0), window->ControlAt(1)),
              std::tuple(1, &late, nullptr));
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // and its widgets
    EXPECT_EQ(late.Window(), nullptr);
    EXPECT_EQ((std::array{late.Left(), late.Top(), late.Width(), late.Height(), late.MouseX(),
                          late.MouseY()}),
              (std::array{0, 0, 0, 0, 0, 0}));
    late.Refresh(false);  // all harmless without a window
    late.RepaintIfMarked();
    late.Push();
}
