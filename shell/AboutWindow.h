#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "Canvas.h"
#include "Label.h"
#include "TargetSystemDisplay.h"
#include "Window.h"

namespace shell {

// "Tembroloについて": the program's name, version and rights line with its icon, shown modally.
// It has no close box: any key or mouse press closes it. Over the icon the mouse shows the
// maker's logo instead.
class AboutWindow : public ::Window {
public:
    static constexpr const char* kTitle = "Tembroloについて";
    static constexpr const char* kAppName = "Tembrolo 11.0.0";
    static constexpr const char* kAppCopy = "© 2012 Quillmoor";

    AboutWindow();
    ~AboutWindow() override;

    Label& AppName() { return *appName_; }
    Label& AppCopy() { return *appCopy_; }
    Canvas& AppIcon() { return *appIcon_; }
    ::TargetSystemDisplay& TheTargetSystemDisplay() { return *badge_; }

    void AppIcon_MouseExit(Canvas& sender);
    void AppIcon_MouseEnter(Canvas& sender);
    bool Event_KeyDown(const std::string& key) override;
    bool Event_MouseDown(std::int32_t x, std::int32_t y) override;

private:
    void Layout();
    void CreateControls();
    void CreateControls0();

    std::unique_ptr<Label> appName_;
    std::unique_ptr<Label> appCopy_;
    std::unique_ptr<Canvas> appIcon_;
    std::unique_ptr<::TargetSystemDisplay> badge_;
};

// At exit: lets the About window go.
void ReleaseAboutWindow();

}  // namespace shell

// The open About window, or a new one when there is none. A closed window is kept until this is
// called again (or until exit): it may still be inside its ShowModal when it closes.
shell::AboutWindow& AboutWindow();
