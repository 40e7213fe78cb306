// own-main: the field is a control, and controls need a QApplication.
// The cost of one main-game tick against its 100 ms budget, of the bolt alone at three charges,
// and of the one copy of a finished frame that every paint makes (the floor of a tick's drawing).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "GameField.h"
#include "GameLightning.h"
#include "GamePointArrey.h"
#include "Graphics.h"
#include "MainWindowShared.h"
#include "Picture.h"
#include "ResourcesFolder.h"
#include "Rnd.h"
#include "SoundPlayer.h"

namespace {
constexpr std::int32_t kFieldWidth = 500;
constexpr std::int32_t kFieldHeight = 300;

// The pictures are copied into build/resources, one level above the benchmarks.
void UseBuiltResources() {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        SetResourcesFolder((exe.parent_path().parent_path() / "resources").string());
    }
}

// A bolt whose wait after a strike can be skipped, so that every measured call grows a bolt.
class EagerLightning : public GameLightning {
public:
    using GameLightning::GameLightning;
    void Ready() { LightningHold = 0; }
};

class BenchField : public GameField {
public:
    BenchField() : GameField(nullptr) {
        SetBounds(0, 0, kFieldWidth, kFieldHeight);
        Created = [](OffscreenCanvas& sender) { sender.CreateOffscreen(32, true); };
        Event_Open();
        auto bolt = std::make_unique<EagerLightning>(LightningPict->Graphics(), ThePointArrey);
        Bolt = bolt.get();
        SetLightning(std::move(bolt));
    }

    // The next tick's bolt grows at this charge, whatever happened before.
    void Prime(std::int32_t charge) {
        ChargeLevel = charge;
        Bolt->Ready();
    }

    const Picture& Frame() const { return *OffscreenPicture; }

private:
    EagerLightning* Bolt = nullptr;
};

void SetUpGame() {
    UseBuiltResources();
    SeedRnd(1);
    MainWindow().ItsSoundPlayer = std::make_unique<SoundPlayer>();
}

// Sounds are queued but never played here: a full queue drops further pushes, at no cost.
void BM_GameTick(benchmark::State& state) {
    SetUpGame();
    BenchField field;
    field.GameStart();
    for (auto _ : state) {
        field.Prime(static_cast<std::int32_t>(state.range(0)));
        field.GameStep();
    }
}
BENCHMARK(BM_GameTick)
    ->Arg(200)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

// The bolt alone, on the main game's targets: runner at the left rod, god to the left.
void BM_Lightning(benchmark::State& state) {
    SetUpGame();
    PicturePtr sky = Picture::Create(kFieldWidth, kFieldHeight, 32);
    auto points = std::make_shared<GamePointArrey>();
    points->ItsGround = 280;
    points->ItsData[0] = {100, 35};
    points->ItsData[1] = {18, 264};
    points->ItsData[2] = {20, 228};
    points->ItsData[3] = {480, 228};
    points->ItsSize = 3;
    EagerLightning bolt(sky->Graphics(), points);
    for (auto _ : state) {
        bolt.Ready();
        benchmark::DoNotOptimize(bolt.GameStep(static_cast<std::int32_t>(state.range(0))));
    }
}
BENCHMARK(BM_Lightning)
    ->Arg(50)
    ->Arg(200)
    ->Arg(1000)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

// What a paint event does with a finished frame: one unscaled copy onto a widget-sized surface
// of the screen's 32-bit format.
void BM_FrameCopy(benchmark::State& state) {
    SetUpGame();
    BenchField field;
    QImage screen(kFieldWidth, kFieldHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&screen);
        Graphics g(&painter, kFieldWidth, kFieldHeight);
        g.DrawPicture(&field.Frame(), 0, 0);
        benchmark::DoNotOptimize(screen.constBits());
    }
}
BENCHMARK(BM_FrameCopy)->Unit(benchmark::kMicrosecond)->Repetitions(15)->ReportAggregatesOnly(true);
}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
