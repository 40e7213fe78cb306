#include "Rnd.h"

#include <random>
#include <utility>

namespace {
struct RndState {
    std::mt19937_64 engine{std::random_device{}()};
    std::uniform_real_distribution<double> uniform{0.0, 1.0};
    std::function<double()> script;
};

RndState& State() {
    static RndState state;
    return state;
}
}  // namespace

double Rnd() {
    RndState& s = State();
    if (s.script) {
        return s.script();
    }
    return s.uniform(s.engine);
}

void SeedRnd(std::uint64_t seed) {
    State().engine.seed(seed);
    State().uniform.reset();
}

void SetRndSource(std::function<double()> source) {
    State().script = std::move(source);
}
