#pragma once

#include <functional>

// Monotonic clock in microseconds. Callers only compare and subtract readings.
double Microseconds();

// Tests drive time by installing their own source; an empty function restores the real clock.
void SetMicrosecondsSource(std::function<double()> source);
