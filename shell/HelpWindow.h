#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "TabPanel.h"
#include "TextArea.h"
#include "Window.h"

namespace shell {

// "Tembroloの説明": the six help texts on the tabs of one panel, beside the game. While it is in
// front it is the window that the File menu's "閉じる" closes.
class HelpWindow : public ::Window {
public:
    static constexpr const char* kTitle = "Tembroloの説明";
    static constexpr std::int32_t kAreaCount = 6;

    HelpWindow();
    ~HelpWindow() override;

    TabPanel& TabPanel1() { return *tabPanel_; }
    TextArea& EditField1() { return *areas_[0]; }
    TextArea& EditField2() { return *areas_[1]; }
    TextArea& EditField3() { return *areas_[2]; }
    TextArea& EditField4() { return *areas_[3]; }
    TextArea& EditField5() { return *areas_[4]; }
    TextArea& EditField6() { return *areas_[5]; }

    void Event_EnableMenuItems() override;
    bool FileClose_Action();

protected:
    void WindowClosed() override;

private:
    void Layout();
    void CreateControls();
    void CreateControls0();
    void AddMenuHandlers();

    std::unique_ptr<TabPanel> tabPanel_;
    std::array<std::unique_ptr<TextArea>, kAreaCount> areas_;
};

// At exit: lets the Help window go.
void ReleaseHelpWindow();

}  // namespace shell

// The open Help window, or a new one when there is none: a reopened window starts on its first
// tab with its texts at the top.
shell::HelpWindow& HelpWindow();
