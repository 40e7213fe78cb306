#include "HelpWindow.h"

#include <QTimer>

#include "Appl.h"
#include "HelpTexts.h"
#include "Menu.h"
#include "WindowLook.h"

namespace shell {

namespace {
constexpr std::int32_t kWidth = 400;
constexpr std::int32_t kHeight = 370;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::int32_t kPanelTextSize = 9;
constexpr std::int32_t kAreaTextSize = 12;
// The tab captions, left to right, joined by CR.
constexpr const char* kTabDefinition = "目的\r操作\r解説\r履歴\r使用条件\r感謝";

std::unique_ptr<HelpWindow>& TheInstance() {
    static std::unique_ptr<HelpWindow> instance;
    return instance;
}
}  // namespace

HelpWindow::HelpWindow() {
    Layout();
    CreateControls();
    AddMenuHandlers();
}

HelpWindow::~HelpWindow() = default;

// The bar comes first: the window's coordinates start below it.
void HelpWindow::Layout() {
    SetMenuBar(::Menu());
    SetSize(kWidth, kHeight);
    SetTitle(kTitle);
    SetFrame(kDocumentFrame);
    SetPlacement(kParentWindowPlacement);
    WindowLook::SetBackColor(*this, kWhite);
}

void HelpWindow::CreateControls() {
    CreateControls0();
}

// The six areas lie on one another, each on its own page of the panel, 6 pixels in from the
// panel's sides, below the tabs, and 5 pixels above the window's bottom.
void HelpWindow::CreateControls0() {
    tabPanel_ = std::make_unique<TabPanel>(this);
    tabPanel_->SetTextSize(kPanelTextSize);
    tabPanel_->SetBounds(0, 1, 400, 369);
    tabPanel_->SetTabDefinition(kTabDefinition);
    tabPanel_->SetValue(0);

    for (std::int32_t i = 0; i < kAreaCount; ++i) {
        auto& area = areas_[static_cast<std::size_t>(i)];
        area = std::make_unique<TextArea>(this);
        area->SetTextSize(kAreaTextSize);
        area->SetBounds(6, 23, 388, 342);
        area->SetReadOnly(true);
        area->SetText(HelpText(i + 1));
        tabPanel_->AddToPage(*area, i);
    }
}

void HelpWindow::AddMenuHandlers() {
    AddMenuHandler("FileClose", MenuHandler([this] { return FileClose_Action(); }));
}

// "閉じる" has no AutoEnable: it is live only while this window is in front.
void HelpWindow::Event_EnableMenuItems() {
    ::FileClose()->Enable();
}

bool HelpWindow::FileClose_Action() {
    Close();
    return true;
}

// The window goes once the event that closed it is done, so the next opening builds a new one.
void HelpWindow::WindowClosed() {
    QTimer::singleShot(0, [] {
        if (TheInstance() && TheInstance()->IsClosed()) {
            TheInstance().reset();
        }
    });
}

void ReleaseHelpWindow() {
    TheInstance().reset();
}

}  // namespace shell

shell::HelpWindow& HelpWindow() {
    auto& instance = shell::TheInstance();
    if (!instance || instance->IsClosed()) {
        instance = std::make_unique<shell::HelpWindow>();
    }
    return *instance;
}
