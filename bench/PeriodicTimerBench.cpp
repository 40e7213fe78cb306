// own-main
// Runs a PeriodicTimer(20, 100) in a real event loop and reports its pace, its lateness after
// each due time, and the CPU time it costs.
// Usage: PeriodicTimerBench [seconds = 10] [thread]
#include <sys/resource.h>

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <vector>

#include "Microseconds.h"
#include "PeriodicTimer.h"

namespace {
constexpr std::int32_t kPeriod = 20;     // ms between firings
constexpr std::int32_t kInterval = 100;  // ms between actions

class BenchTimer : public PeriodicTimer {
public:
    // Inside a handler the anchor still holds the previous due time.
    double DueTime() const { return LastTime + ItsInterval * 1000.0; }
    double Anchor() const { return LastTime; }
};

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Results {
    std::vector<double> lateness;  // µs after the due time
    int overloads = 0;             // actions told of a restart (negative load)
};

void Report(const Results& r, double wallSeconds, double cpuSeconds, double drift, bool thread) {
    std::vector<double> sorted = r.lateness;
    std::sort(sorted.begin(), sorted.end());
    const double mean =
        sorted.empty() ? 0 : std::accumulate(sorted.begin(), sorted.end(), 0.0) / sorted.size();
    const double p99 = sorted.empty() ? 0 : sorted[(sorted.size() - 1) * 99 / 100];
    const double worst = sorted.empty() ? 0 : sorted.back();
    std::printf("mode:              %s\n", thread ? "thread" : "library timer");
    std::printf("actions:           %zu in %.3f s = %.3f per s\n", sorted.size(), wallSeconds,
                sorted.size() / wallSeconds);
    std::printf("lateness (ms):     mean %.3f  p99 %.3f  max %.3f\n", mean / 1000, p99 / 1000,
                worst / 1000);
    std::printf(
        "schedule drift:    %.3f ms (last anchor minus first anchor + actions x interval)\n",
        drift / 1000);
    std::printf("overload restarts: %d\n", r.overloads);
    std::printf("CPU:               %.3f s = %.3f %% of one core\n", cpuSeconds,
                100 * cpuSeconds / wallSeconds);
}
}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::max(std::atof(argv[1]), 1.0) : 10.0;
    const bool thread = argc > 2 && std::strcmp(argv[2], "thread") == 0;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QCoreApplication app(argc, argv);

    BenchTimer timer;
    Results results;
    timer.PeriodicAction = [&](PeriodicTimer&, std::int32_t load) {
        results.lateness.push_back(Microseconds() - timer.DueTime());
        results.overloads += load < 0;
    };
    timer.SetThreadMode(thread);
    timer.Setup(kPeriod, kInterval);

    const double cpuStart = CpuSeconds();
    const double wallStart = Microseconds();
    timer.TimerStart(0);
    const double anchorAtStart = timer.Anchor();
    QTimer::singleShot(static_cast<int>(seconds * 1000), &app, &QCoreApplication::quit);
    app.exec();
    const double wall = (Microseconds() - wallStart) / 1e6;
    const double drift =
        timer.Anchor() -
        (anchorAtStart + static_cast<double>(results.lateness.size()) * kInterval * 1000);
    timer.TimerStop();
    Report(results, wall, CpuSeconds() - cpuStart, drift, thread);
    return 0;
}
