#include "ShellFixture.h"

#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QWidget>
#include <cstdlib>

#include "AboutWindow.h"
#include "FortuneWindow.h"
#include "HelpWindow.h"
#include "Menu.h"
#include "Microseconds.h"
#include "ResourcesFolder.h"

namespace {
constexpr const char* kPrefsName = "Tembroloの設定";
}  // namespace

void ExpectGlyphs(const QString& text, const QFont& font) {
    const QFontMetrics metrics(font);
    for (const char32_t c : text.toUcs4()) {
        EXPECT_TRUE(c == U'\r' || metrics.inFontUcs4(c)) << "U+" << std::hex << std::uint32_t{c};
    }
}

void ShellFixture::SetUp() {
    ASSERT_TRUE(dir_.isValid());
    setenv("XDG_CONFIG_HOME", dir_.path().toUtf8().constData(), 1);
    SetResourcesFolder(TEMBROLO_SOURCE_DIR "/resources");
    SetMicrosecondsSource([this] { return now_; });
    app_ = std::make_unique<shell::Appl>();
    app_->SetMenuBar(::Menu());
    app_->AddMenuHandler("AppleAbout", MenuHandler([this] { return app_->AppleAbout_Action(); }));
    app_->AddMenuHandler("HelpApp", MenuHandler([this] { return app_->HelpApp_Action(); }));
    main_ = std::make_unique<shell::MainWindow>(
        [](::Window* owner) { return std::make_unique<SpyField>(owner); });
}

void ShellFixture::TearDown() {
    shell::ReleaseAboutWindow();
    shell::ReleaseFortuneWindow();
    shell::ReleaseHelpWindow();
    main_.reset();
    app_.reset();
    ReleaseMenu();
    SetMicrosecondsSource(nullptr);
}

void ShellFixture::OpenMain(const std::string& data) {
    QFile::remove(QString::fromStdString(PrefsPath()));
    ApplPreferences stored(kPrefsName, "QVLK");
    stored.SetData(data);
    stored.Save();
    app_->Event_Open();
    main_->Show();
    Activate(*main_);
}

void ShellFixture::Activate(::Window& window) {
    QApplication::setActiveWindow(window.Widget());
    window.Widget()->setFocus();
}

void ShellFixture::Tick(PeriodicTimer& timer) {
    now_ += 100'001;
    timer.Event_Action();
}

void ShellFixture::StartGame() {
    ASSERT_TRUE(main_->GameMenuStart_Action());
    for (int i = 0; i < 5 && !Field().RefActive(); ++i) {
        Tick();
    }
    ASSERT_TRUE(Field().RefActive());
}

std::string ShellFixture::PrefsPath() const {
    return (dir_.path() + "/" + kPrefsName).toStdString();
}
