#include "FortuneWindow.h"

#include <QTimer>

#include "MainWindowShared.h"
#include "Menu.h"

namespace shell {

namespace {
constexpr std::int32_t kWidth = 200;
constexpr std::int32_t kHeight = 330;
constexpr std::int32_t kFieldHeight = 300;
constexpr std::int32_t kTimerPeriodMs = 20;
constexpr std::int32_t kTickMs = 100;
constexpr std::int32_t kButtonTextSize = 12;

std::unique_ptr<FortuneWindow>& TheInstance() {
    static std::unique_ptr<FortuneWindow> instance;
    return instance;
}
}  // namespace

FortuneWindow::FortuneWindow() {
    Layout();
    CreateControls();
}

FortuneWindow::~FortuneWindow() {
    heltz_.reset();
    field_.reset();
    closeButton_.reset();
}

void FortuneWindow::Layout() {
    SetSize(kWidth, kHeight);
    SetTitle("吉凶");
    SetFrame(kMovableModalFrame);
    SetPlacement(kParentWindowPlacement);
    SetCloseBox(false);
}

void FortuneWindow::CreateControls() {
    CreateControls0();
}

void FortuneWindow::CreateControls0() {
    closeButton_ = std::make_unique<PushButton>(this);
    closeButton_->SetBounds(65, 305, 70, 20);
    closeButton_->SetCaption("閉じる");
    closeButton_->SetDefault(true);
    closeButton_->SetTextSize(kButtonTextSize);
    closeButton_->Action = [this](PushButton& sender) { CloseButton_Action(sender); };

    field_ = std::make_unique<FortuneField>(this);
    field_->SetBounds(0, 0, kWidth, kFieldHeight);
    field_->Created = [this](OffscreenCanvas& sender) {
        TheFortuneField_Created(static_cast<FortuneField&>(sender));
    };

    heltz_ = std::make_unique<PeriodicTimer>();
    heltz_->SetMode(Timer::kModeOff);
    heltz_->SetPeriod(kTimerPeriodMs);
    heltz_->PeriodicAction = [this](PeriodicTimer& sender, std::int32_t load) {
        TheFortuneHeltz_PeriodicAction(sender, load);
    };
}

void FortuneWindow::CloseButton_Action(PushButton& /*sender*/) {
    Close();
}

void FortuneWindow::TheFortuneField_Created(FortuneField& sender) {
    sender.CreateOffscreen(32, true);
    TheFortuneHeltz().Setup(kTimerPeriodMs, kTickMs);
    TheFortuneHeltz().TimerStart(0);
}

// Runs whatever ActionBlocking says: while this window is open it is the only tick that steps a
// field or plays the shared sound queue.
void FortuneWindow::TheFortuneHeltz_PeriodicAction(PeriodicTimer& /*sender*/,
                                                   std::int32_t /*load*/) {
    TheFortuneField().GameStep();
    UpdateNow();
    if (auto& player = ::MainWindow().ItsSoundPlayer) {
        player->PlayQueue();
    }
}

void FortuneWindow::Event_Open() {
    ::MainWindow().ActionBlocking = true;
}

void FortuneWindow::Event_Close() {
    ::MainWindow().ActionBlocking = false;
}

// A closed window's timer must not fire again; the window itself goes once its events are done,
// so the next opening builds a new one.
void FortuneWindow::WindowClosed() {
    heltz_->SetMode(Timer::kModeOff);
    QTimer::singleShot(0, [] {
        if (TheInstance() && TheInstance()->IsClosed()) {
            TheInstance().reset();
        }
    });
}

void ReleaseFortuneWindow() {
    TheInstance().reset();
}

}  // namespace shell

shell::FortuneWindow& FortuneWindow() {
    auto& instance = shell::TheInstance();
    if (!instance || instance->IsClosed()) {
        instance = std::make_unique<shell::FortuneWindow>();
    }
    return *instance;
}
