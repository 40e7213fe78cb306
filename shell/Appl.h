#pragma once

#include <memory>

#include "ApplPreferences.h"
#include "Application.h"
#include "MenuItem.h"

namespace shell {

// The application object: owns the preferences for the whole run and shows the About and Help
// windows from the help menu.
class Appl : public Application {
public:
    Appl();

    // Nothing until Event_Open; then kept until exit.
    std::unique_ptr<ApplPreferences> ItsPrefs;

    void Event_Close() override;
    void Event_Open() override;
    bool AppleAbout_Action();
    bool HelpApp_Action();
};

// At exit, after the event loop: lets go of everything start-up made, in this order: the five
// sound items, the windows and the menu bar, the file type; then the audio device closes.
void ReleaseAll();

}  // namespace shell

// The application object; throws when there is none or it is not an Appl.
shell::Appl& App();
// The File menu's "閉じる"; throws without an application object or menu bar.
std::shared_ptr<MenuItem> FileClose();

// Runs the program: start-up, the event loop, and the release of what start-up made.
int RunTembrolo(int argc, char** argv);
