#pragma once

#include <cstdint>
#include <functional>

// Uniform Double in [0, 1). The game never seeds it; it starts from the system's entropy.
double Rnd();

// For tests: a reproducible sequence from a seed.
void SeedRnd(std::uint64_t seed);

// For tests: a scripted source (values in [0, 1)); an empty function restores the generator.
void SetRndSource(std::function<double()> source);
