#include <benchmark/benchmark.h>

#include <memory>

#include "GameLightning.h"
#include "GamePointArrey.h"
#include "Graphics.h"
#include "MainWindowShared.h"
#include "Picture.h"
#include "Rnd.h"

namespace {
// Skips the ticks between attempts, so every timed call grows a bolt.
class AttemptEveryTick : public GameLightning {
public:
    using GameLightning::GameLightning;
    void Ready() { LightningHold = 0; }
};

// One growth attempt of the main field's bolt: the god where its patrol starts, the runner
// midfield, the rods at both ends, the ground at 280, on a 500 x 300 lightning picture.
void BM_LightningGameStep(benchmark::State& state) {
    const auto charge = static_cast<std::int32_t>(state.range(0));
    SeedRnd(1);
    MainWindow().ItsSoundPlayer = std::make_unique<SoundPlayer>();
    PicturePtr sky = Picture::Create(500, 300, 32);
    auto points = std::make_shared<GamePointArrey>();
    points->ItsGround = 280;
    points->ItsData[0] = {99, 35};
    points->ItsData[1] = {250, 264};
    points->ItsData[2] = {20, 228};
    points->ItsData[3] = {480, 228};
    points->ItsSize = 3;
    AttemptEveryTick bolt(sky->Graphics(), points);
    std::int64_t strikes = 0;
    for (auto _ : state) {
        bolt.Ready();
        strikes += bolt.GameStep(charge) >= 0;
        // Keep the queue from filling up; a full queue would drop pushes and time less work.
        state.PauseTiming();
        MainWindow().ItsSoundPlayer = std::make_unique<SoundPlayer>();
        state.ResumeTiming();
    }
    state.counters["strike_share"] =
        benchmark::Counter(static_cast<double>(strikes), benchmark::Counter::kAvgIterations);
    ResetMainWindowStandIn();
}
}  // namespace

BENCHMARK(BM_LightningGameStep)->Arg(50)->Arg(200)->Arg(1000)->Unit(benchmark::kMicrosecond);
