#pragma once

#include <cstdint>
#include <memory>

#include "FortuneField.h"
#include "PeriodicTimer.h"
#include "PushButton.h"
#include "Window.h"

namespace shell {

// "吉凶": one fortune on its own field and timer, over a main game that stands still while the
// window is open. It has no close box; "閉じる" and the main window's closing close it.
class FortuneWindow : public ::Window {
public:
    FortuneWindow();
    ~FortuneWindow() override;

    PushButton& CloseButton() { return *closeButton_; }
    FortuneField& TheFortuneField() { return *field_; }
    PeriodicTimer& TheFortuneHeltz() { return *heltz_; }

    void CloseButton_Action(PushButton& sender);
    void TheFortuneField_Created(FortuneField& sender);
    void TheFortuneHeltz_PeriodicAction(PeriodicTimer& sender, std::int32_t load);

    void Event_Close() override;
    void Event_Open() override;

protected:
    void WindowClosed() override;

private:
    void Layout();
    void CreateControls();
    void CreateControls0();

    std::unique_ptr<PushButton> closeButton_;
    std::unique_ptr<FortuneField> field_;
    std::unique_ptr<PeriodicTimer> heltz_;
};

// At exit: lets the fortune window go.
void ReleaseFortuneWindow();

}  // namespace shell

// The open fortune window, or a new one when there is none: every opening is a new fortune.
shell::FortuneWindow& FortuneWindow();
