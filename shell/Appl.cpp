#include "Appl.h"

#include <QApplication>
#include <stdexcept>

#include "AboutWindow.h"
#include "FileTypes.h"
#include "FortuneWindow.h"
#include "HelpWindow.h"
#include "JapaneseQtTexts.h"
#include "MainWindow.h"
#include "Menu.h"
#include "SoundItems.h"
#include "TerminationSignals.h"

namespace shell {

namespace {
constexpr const char* kPrefsFileName = "Tembroloの設定";
constexpr const char* kPrefsCreator = "QVLK";
}  // namespace

Appl::Appl() = default;

void Appl::Event_Open() {
    ItsPrefs = std::make_unique<ApplPreferences>(kPrefsFileName, kPrefsCreator);
    ItsPrefs->Restore();
    AutoQuit = true;
}

// The program's only write of the preferences file, and only when the settings changed.
void Appl::Event_Close() {
    if (ItsPrefs) {
        ItsPrefs->Save();
    }
}

// Returns once the About window has closed; the game goes on underneath meanwhile.
bool Appl::AppleAbout_Action() {
    ::AboutWindow().ShowModal();
    return true;
}

bool Appl::HelpApp_Action() {
    ::HelpWindow().Show();
    return true;
}

namespace {

std::unique_ptr<Appl> NewAppInstance() {
    auto app = std::make_unique<Appl>();
    app->SetMenuBar(::Menu());
    return app;
}

void ApplicationAddMenuHandlers(Appl& app) {
    app.AddMenuHandler("AppleAbout", MenuHandler([&app] { return app.AppleAbout_Action(); }));
    app.AddMenuHandler("HelpApp", MenuHandler([&app] { return app.HelpApp_Action(); }));
}

// The program's part of the start-up, in this order: the file type, the application object with
// its menu bar, its menu handlers, and the main window (opened once the application has opened).
std::unique_ptr<Appl> Startup() {
    FileTypes::Initialize();
    auto app = NewAppInstance();
    ApplicationAddMenuHandlers(*app);
    InstallMainWindowMaker();
    (void)::MainWindow();
    return app;
}

}  // namespace

// The windows' game objects hold sounds of their own, so the samples are freed with the windows,
// and the audio device closes only after that, once nothing can play.
void ReleaseAll() {
    ReleaseSoundItems();
    ReleaseHelpWindow();
    ReleaseAboutWindow();
    ReleaseFortuneWindow();
    ReleaseMainWindow();
    ReleaseMenu();
    FileTypes::Release();
    Sound::CloseAudio();
}

}  // namespace shell

shell::Appl& App() {
    auto* app = dynamic_cast<shell::Appl*>(Application::Current());
    if (app == nullptr) {
        throw std::logic_error("no application object");
    }
    return *app;
}

std::shared_ptr<MenuItem> FileClose() {
    auto bar = App().MenuBar();
    if (!bar) {
        throw std::logic_error("no menu bar");
    }
    return bar->Find("FileClose");
}

int RunTembrolo(int argc, char** argv) {
    // Before the QApplication, which takes tens of ms: a Ctrl+C or kill from here on quits like
    // the menu does, so the settings are saved.
    CatchTerminationSignals();
    IgnoreFileSizeLimitSignal();
    QApplication qtApp(argc, argv);
    UseJapaneseQtTexts();
    int code = 0;
    {
        auto app = shell::Startup();
        QuitOnTerminationSignals([] {
            if (Application* current = Application::Current()) {
                current->Quit();
            }
        });
        code = app->Run();
        IgnoreTerminationSignals();
        shell::ReleaseAll();
    }
    return code;
}
