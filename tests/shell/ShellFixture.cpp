#include "ShellFixture.h"

#include <QApplication>
#include <QWidget>
#include <cstdlib>

#include "FortuneWindow.h"
#include "HelpWindow.h"
#include "Menu.h"
#include "ResourcesFolder.h"

void ShellFixture::SetUp() {
    ASSERT_TRUE(dir_.isValid());
    setenv("XDG_CONFIG_HOME", dir_.path().toUtf8().constData(), 1);
    SetResourcesFolder(TEMBROLO_SOURCE_DIR "/resources");
    app_ = std::make_unique<shell::Appl>();
    app_->SetMenuBar(::Menu());
    app_->AddMenuHandler("AppleAbout", MenuHandler([this] { return app_->AppleAbout_Action(); }));
    app_->AddMenuHandler("HelpApp", MenuHandler([this] { return app_->HelpApp_Action(); }));
    main_ = std::make_unique<shell::MainWindow>(
        [](::Window* owner) { return std::make_unique<SpyField>(owner); });
}

void ShellFixture::TearDown() {
    shell::ReleaseFortuneWindow();
    shell::ReleaseHelpWindow();
    main_.reset();
    app_.reset();
    ReleaseMenu();
}

void ShellFixture::OpenMain(const std::string& data) {
    app_->Event_Open();
    app_->ItsPrefs->SetData(data);
    main_->Show();
    Activate(*main_);
}

void ShellFixture::Activate(::Window& window) {
    QApplication::setActiveWindow(window.Widget());
    window.Widget()->setFocus();
}

void ShellFixture::Tick() {
    main_->TheGameHeltz_PeriodicAction(main_->TheGameHeltz(), 0);
}

void ShellFixture::StartGame() {
    main_->GameMenuStart_Action();
    for (int i = 0; i < 5 && !Field().RefActive(); ++i) {
        Tick();
    }
    ASSERT_TRUE(Field().RefActive());
}

std::string ShellFixture::PrefsPath() const {
    return (dir_.path() + "/Tembroloの設定").toStdString();
}
