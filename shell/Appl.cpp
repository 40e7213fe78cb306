#include "Appl.h"

#include <QApplication>

#include "Application.h"
#include "DemoField.h"
#include "PeriodicTimer.h"
#include "Window.h"

namespace {
constexpr std::int32_t kFieldWidth = 500;
constexpr std::int32_t kFieldHeight = 300;
constexpr std::int32_t kTimerPeriod = 20;    // ms between firings
constexpr std::int32_t kTickInterval = 100;  // ms per tick
}  // namespace

int RunTembrolo(int argc, char** argv) {
    QApplication qt(argc, argv);
    Application app;
    app.AutoQuit = true;

    Window window;
    window.SetTitle("Tembrolo");
    window.SetSize(kFieldWidth, kFieldHeight);
    DemoField field(&window);
    field.SetBounds(0, 0, kFieldWidth, kFieldHeight);
    field.Created = [](OffscreenCanvas& sender) { sender.CreateOffscreen(32, true); };

    PeriodicTimer heltz;
    heltz.PeriodicAction = [&](PeriodicTimer&, std::int32_t) {
        field.GameStep();
        window.UpdateNow();
    };
    window.Show();
    heltz.Setup(kTimerPeriod, kTickInterval);
    heltz.TimerStart(0);
    return app.Run();
}
