#include "Microseconds.h"

#include <chrono>
#include <utility>

namespace {
std::function<double()>& Source() {
    static std::function<double()> source;
    return source;
}
}  // namespace

double Microseconds() {
    if (const auto& source = Source()) {
        return source();
    }
    using namespace std::chrono;
    return duration<double, std::micro>(steady_clock::now().time_since_epoch()).count();
}

void SetMicrosecondsSource(std::function<double()> source) {
    Source() = std::move(source);
}
