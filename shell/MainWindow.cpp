#include "MainWindow.h"

#include <algorithm>
#include <vector>

#include "Appl.h"
#include "FortuneWindow.h"
#include "Menu.h"
#include "RuntimeBackgroundTask.h"
#include "SoundItems.h"

namespace shell {

namespace {
constexpr std::int32_t kFieldWidth = 500;
constexpr std::int32_t kFieldHeight = 300;
constexpr std::int32_t kTimerPeriodMs = 20;
constexpr std::int32_t kTickMs = 100;
// The filler sound plays after this many ticks without a sound.
constexpr std::int32_t kSilenceTicks = 10;
constexpr std::int32_t kVolumeItems = 10;
}  // namespace

MainWindow::MainWindow(FieldMaker makeField) {
    Layout();
    CreateControls(makeField);
    AddMenuHandlers();
    RegisterMainWindow(this);
}

MainWindow::~MainWindow() {
    UnregisterMainWindow(this);
    // The timer goes first, so no tick reaches a field that is being taken apart.
    heltz_.reset();
    field_.reset();
}

void MainWindow::Layout() {
    SetMenuBar(::Menu());
    SetSize(kFieldWidth, kFieldHeight);
    SetTitle("Tembrolo");
    SetFrame(kDocumentFrame);
    SetPlacement(kMainScreenPlacement);
}

void MainWindow::CreateControls(const FieldMaker& makeField) {
    CreateControls0(makeField);
}

void MainWindow::CreateControls0(const FieldMaker& makeField) {
    field_ = makeField ? makeField(this) : std::make_unique<GameField>(this);
    field_->SetBounds(0, 0, kFieldWidth, kFieldHeight);
    field_->RecordUpdated = [this](GameField& sender) { TheGameField_RecordUpdated(sender); };
    field_->Created = [this](OffscreenCanvas& sender) {
        TheGameField_Created(static_cast<GameField&>(sender));
    };
    heltz_ = std::make_unique<PeriodicTimer>();
    heltz_->SetMode(Timer::kModeOff);
    heltz_->SetPeriod(kTimerPeriodMs);
    heltz_->PeriodicAction = [this](PeriodicTimer& sender, std::int32_t load) {
        TheGameHeltz_PeriodicAction(sender, load);
    };
}

void MainWindow::TheGameField_RecordUpdated(GameField& /*sender*/) {
    App().ItsPrefs->SetPartInteger(TheGameField().RefRecord(), RecordPos(), kRecordWidth);
}

void MainWindow::TheGameField_Created(GameField& sender) {
    sender.CreateOffscreen(32, true);
}

void MainWindow::TheGameHeltz_PeriodicAction(PeriodicTimer& /*sender*/, std::int32_t /*load*/) {
    if (ActionBlocking) {
        return;
    }
    TheGameField().GameStep();
    UpdateNow();
    ItsSoundPlayer->PlayQueue();
}

std::shared_ptr<MenuItem> MainWindow::Item(const char* name) const {
    return MenuBar()->Find(name);
}

std::shared_ptr<MenuItem> MainWindow::GameMenuSoundVol(std::int32_t index) const {
    return MenuBar()->Find("GameMenuSoundVol", index);
}
std::shared_ptr<MenuItem> MainWindow::GameMenuFortune() const {
    return Item("GameMenuFortune");
}
std::shared_ptr<MenuItem> MainWindow::GameMenuHold() const {
    return Item("GameMenuHold");
}
std::shared_ptr<MenuItem> MainWindow::GameMenuHide() const {
    return Item("GameMenuHide");
}
std::shared_ptr<MenuItem> MainWindow::GameMenuStart() const {
    return Item("GameMenuStart");
}

void MainWindow::AddMenuHandlers() {
    AddMenuHandler("GameMenuStart", MenuHandler([this] { return GameMenuStart_Action(); }));
    AddMenuHandler("GameMenuHold", MenuHandler([this] { return GameMenuHold_Action(); }));
    AddMenuHandler("GameMenuFortune", MenuHandler([this] { return GameMenuFortune_Action(); }));
    AddMenuHandler("GameMenuSoundVol", IndexedMenuHandler([this](std::int32_t index) {
                       return GameMenuSoundVol_Action(index);
                   }));
    AddMenuHandler("GameMenuHide", MenuHandler([this] { return GameMenuHide_Action(); }));
}

// Any key, in any state of the game; no key is told apart from another.
bool MainWindow::Event_KeyDown(const std::string& /*key*/) {
    TheGameField().GameRun();
    return false;
}

void MainWindow::Event_EnableMenuItems() {
    if (!TheGameField().RefActive()) {
        GameMenuStart()->Enable();
        GameMenuHide()->Enable();
    }
    GameMenuHide()->Checked = TheGameField().RefHideMode();
    GameMenuHold()->Enabled = true;
    GameMenuHold()->Checked = TheGameField().RefHold();
    GameMenuFortune()->Enabled = !TheGameField().RefActive();
    // The current step can't be chosen again.
    const std::int32_t volume = ItsSoundPlayer->RefVolume();
    for (std::int32_t i = 0; i < kVolumeItems; ++i) {
        auto item = GameMenuSoundVol(i);
        item->Checked = i == volume;
        if (i != volume) {
            item->Enabled = true;
        }
        RuntimeBackgroundTask();
    }
}

// The field has opened before this, so its record counter exists for SetRecord.
void MainWindow::Event_Open() {
    ApplPreferences& prefs = *App().ItsPrefs;
    (void)prefs.DefaultData(kDefaultData);
    TheGameField().SetRecord(prefs.GetPartInteger(RecordPos(), kRecordWidth));
    ItsSoundPlayer = std::make_unique<SoundPlayer>();
    ItsSoundPlayer->RestoreData(prefs.GetPartData(kVolumePos, 1));
    ItsSoundPlayer->SetSacrifice(SilenceSnd(), kSilenceTicks);
    // The device opens in the background while the window shows, ready for the first sound.
    if (ItsSoundPlayer->RefEnable()) {
        Sound::PrepareAudio();
    }
    ActionBlocking = false;
    TheGameHeltz().Setup(kTimerPeriodMs, kTickMs);
    TheGameHeltz().TimerStart(0);
}

bool MainWindow::Event_CancelClose(bool quitting) {
    if (!quitting) {
        CloseOtherWindows();
    }
    return false;
}

// Closed windows leave the library's list at once, so each pass looks for the first window not
// yet asked; every other window is asked exactly once.
void MainWindow::CloseOtherWindows() {
    std::vector<::Window*> asked;
    for (;;) {
        ::Window* next = nullptr;
        for (std::int32_t i = 0; i < ::Window::OpenCount() && next == nullptr; ++i) {
            ::Window* w = ::Window::OpenAt(i);
            if (w != this && std::find(asked.begin(), asked.end(), w) == asked.end()) {
                next = w;
            }
        }
        if (next == nullptr) {
            return;
        }
        asked.push_back(next);
        next->Close();
        RuntimeBackgroundTask();
    }
}

std::int32_t MainWindow::RecordPos() const {
    return field_->RefHideMode() ? kHiddenRecordPos : kNormalRecordPos;
}

bool MainWindow::GameMenuStart_Action() {
    if (!TheGameField().RefActive()) {
        TheGameField().GameStart();
    }
    return true;
}

bool MainWindow::GameMenuHold_Action() {
    TheGameField().SetHold(!TheGameField().RefHold());
    return true;
}

bool MainWindow::GameMenuFortune_Action() {
    ::FortuneWindow().Show();
    return true;
}

bool MainWindow::GameMenuSoundVol_Action(std::int32_t index) {
    ItsSoundPlayer->SetVolume(index);
    ItsSoundPlayer->Play(SoundVolSnd());
    App().ItsPrefs->SetPartData(ItsSoundPlayer->SaveData(), kVolumePos);
    return true;
}

bool MainWindow::GameMenuHide_Action() {
    if (!TheGameField().RefActive()) {
        TheGameField().SetHideMode(!TheGameField().RefHideMode());
        TheGameField().SetRecord(App().ItsPrefs->GetPartInteger(RecordPos(), kRecordWidth));
    }
    return true;
}

namespace {
std::unique_ptr<MainWindow>& TheInstance() {
    static std::unique_ptr<MainWindow> instance;
    return instance;
}
}  // namespace

void InstallMainWindowMaker() {
    SetMainWindowMaker([]() -> MainWindowShared* {
        TheInstance() = std::make_unique<MainWindow>();
        return TheInstance().get();
    });
}

void ReleaseMainWindow() {
    SetMainWindowMaker(nullptr);
    TheInstance().reset();
}

}  // namespace shell
