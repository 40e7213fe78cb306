#include "AboutWindow.h"

#include "PictureItems.h"
#include "WindowLook.h"

namespace shell {

namespace {
constexpr std::int32_t kWidth = 200;
constexpr std::int32_t kHeight = 80;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::int32_t kLabelTextSize = 12;

std::unique_ptr<AboutWindow>& TheInstance() {
    static std::unique_ptr<AboutWindow> instance;
    return instance;
}

void SetUpLabel(Label& label, std::int32_t left, std::int32_t top, std::int32_t width,
                const char* text) {
    label.SetTextSize(kLabelTextSize);
    label.SetBounds(left, top, width, 16);
    label.SetText(text);
    label.SetTextColor(kBlack);
    label.SetTextAlign(Label::kAlignLeft);
}
}  // namespace

AboutWindow::AboutWindow() {
    Layout();
    CreateControls();
}

AboutWindow::~AboutWindow() = default;

void AboutWindow::Layout() {
    SetSize(kWidth, kHeight);
    SetTitle(kTitle);
    SetFrame(kModalFrame);
    SetPlacement(kParentWindowPlacement);
    SetCloseBox(false);
    WindowLook::SetBackColor(*this, kWhite);
}

void AboutWindow::CreateControls() {
    CreateControls0();
}

// The icon sits in the top-left corner with a 16-pixel margin, the name to its right, the
// rights line below both, and the badge in the top-right corner.
void AboutWindow::CreateControls0() {
    appName_ = std::make_unique<Label>(this);
    SetUpLabel(*appName_, 64, 24, 100, kAppName);

    appCopy_ = std::make_unique<Label>(this);
    SetUpLabel(*appCopy_, 16, 56, 168, kAppCopy);

    appIcon_ = std::make_unique<Canvas>(this);
    appIcon_->SetBackdrop(IconPict());
    appIcon_->SetBounds(16, 16, 32, 32);
    WindowLook::EraseBackground(*appIcon_);
    appIcon_->MouseExit = [this](Canvas& sender) { AppIcon_MouseExit(sender); };
    appIcon_->MouseEnter = [this](Canvas& sender) { AppIcon_MouseEnter(sender); };

    badge_ = std::make_unique<::TargetSystemDisplay>(this);
    badge_->SetBounds(180, 3, 16, 8);
    WindowLook::EraseBackground(*badge_);
}

void AboutWindow::AppIcon_MouseExit(Canvas& sender) {
    sender.SetBackdrop(IconPict());
}

void AboutWindow::AppIcon_MouseEnter(Canvas& sender) {
    sender.SetBackdrop(QuillmoorPict());
}

// Every key the window is given closes it, whichever it is.
bool AboutWindow::Event_KeyDown(const std::string& /*key*/) {
    Close();
    return false;
}

bool AboutWindow::Event_MouseDown(std::int32_t /*x*/, std::int32_t /*y*/) {
    Close();
    return false;
}

void ReleaseAboutWindow() {
    TheInstance().reset();
}

}  // namespace shell

shell::AboutWindow& AboutWindow() {
    auto& instance = shell::TheInstance();
    if (!instance || instance->IsClosed()) {
        instance = std::make_unique<shell::AboutWindow>();
    }
    return *instance;
}
