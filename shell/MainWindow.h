#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "GameField.h"
#include "MainWindowShared.h"
#include "MenuItem.h"
#include "PeriodicTimer.h"
#include "Window.h"

namespace shell {

// The game's window: the 500 x 300 field under the menu bar, driven by its own timer. It keeps
// the records and the volume in the preferences string, takes every key for the runner and
// carries the Game menu's commands.
class MainWindow : public ::Window, public MainWindowShared {
public:
    // The preferences string's template: records "000" at bytes 1-3 and 5-7, volume "1" at 4.
    static constexpr const char* kDefaultData = "0001000";
    static constexpr std::int32_t kNormalRecordPos = 1;
    static constexpr std::int32_t kVolumePos = 4;
    static constexpr std::int32_t kHiddenRecordPos = 5;
    static constexpr std::int32_t kRecordWidth = 3;

    // Makes the window's field; tests put a field of their own in.
    using FieldMaker = std::function<std::unique_ptr<GameField>(::Window* owner)>;

    explicit MainWindow(FieldMaker makeField = nullptr);
    ~MainWindow() override;

    GameField& TheGameField() { return *field_; }
    PeriodicTimer& TheGameHeltz() { return *heltz_; }

    void TheGameField_RecordUpdated(GameField& sender);
    void TheGameField_Created(GameField& sender);
    void TheGameHeltz_PeriodicAction(PeriodicTimer& sender, std::int32_t load);

    std::shared_ptr<MenuItem> GameMenuSoundVol(std::int32_t index) const;
    std::shared_ptr<MenuItem> GameMenuFortune() const;
    std::shared_ptr<MenuItem> GameMenuHold() const;
    std::shared_ptr<MenuItem> GameMenuHide() const;
    std::shared_ptr<MenuItem> GameMenuStart() const;

    bool Event_KeyDown(const std::string& key) override;
    void Event_EnableMenuItems() override;
    void Event_Open() override;
    bool Event_CancelClose(bool quitting) override;

    bool GameMenuStart_Action();
    bool GameMenuHold_Action();
    bool GameMenuFortune_Action();
    bool GameMenuSoundVol_Action(std::int32_t index);
    bool GameMenuHide_Action();

private:
    void Layout();
    void CreateControls(const FieldMaker& makeField);
    void CreateControls0(const FieldMaker& makeField);
    void AddMenuHandlers();
    std::shared_ptr<MenuItem> Item(const char* name) const;
    std::int32_t RecordPos() const;
    void CloseOtherWindows();

    std::unique_ptr<GameField> field_;
    std::unique_ptr<PeriodicTimer> heltz_;
};

// Makes `MainWindow()` build this window class when there is none.
void InstallMainWindowMaker();
// At exit: lets the main window go; `MainWindow()` then makes none.
void ReleaseMainWindow();

}  // namespace shell
