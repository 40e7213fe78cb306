#include "SoundSynthesis.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <numbers>
#include <random>

namespace {
using SoundSynthesis::kSampleRate;
using SoundSynthesis::Samples;

constexpr double kTwoPi = 2 * std::numbers::pi;

Samples Empty(double seconds) {
    return Samples(static_cast<size_t>(seconds * kSampleRate), 0);
}

double Time(size_t i) {
    return static_cast<double>(i) / kSampleRate;
}

// Scales to the given peak and fades the last `fade` seconds out, so no sound ends in a click.
void Finish(Samples& s, double peak, double fade) {
    float loudest = 0;
    for (float v : s) {
        loudest = std::max(loudest, std::abs(v));
    }
    const size_t fadeLength = static_cast<size_t>(fade * kSampleRate);
    for (size_t i = 0; i < s.size(); ++i) {
        const size_t left = s.size() - i;
        const double tail = left < fadeLength ? static_cast<double>(left) / fadeLength : 1.0;
        s[i] = static_cast<float>(s[i] / loudest * peak * tail);
    }
}

// A struck bell note: a few harmonics, each dying away on its own.
void AddBell(Samples& s, double start, double frequency, double gain, double decay) {
    constexpr double kHarmonics[][2] = {{1.0, 1.0}, {2.0, 0.3}, {3.0, 0.08}, {4.2, 0.05}};
    const size_t first = static_cast<size_t>(start * kSampleRate);
    for (size_t i = first; i < s.size(); ++i) {
        const double t = Time(i - first);
        const double attack = std::min(1.0, t / 0.004);
        double v = 0;
        for (const auto& [ratio, amplitude] : kHarmonics) {
            v +=
                amplitude * std::sin(kTwoPi * frequency * ratio * t) * std::exp(-t * ratio / decay);
        }
        s[i] += static_cast<float>(gain * attack * v);
    }
}

// One taiko stroke: a skin whose pitch drops as it settles, and the stick's click.
void AddDrum(Samples& s, double start, double gain, double decay, std::mt19937& random) {
    std::uniform_real_distribution<double> noise(-1, 1);
    const size_t first = static_cast<size_t>(start * kSampleRate);
    double phase = 0;
    for (size_t i = first; i < s.size(); ++i) {
        const double t = Time(i - first);
        phase += kTwoPi * (62 + 95 * std::exp(-t / 0.025)) / kSampleRate;
        const double skin = std::sin(phase) * std::exp(-t / decay);
        const double click = 0.35 * noise(random) * std::exp(-t / 0.004);
        s[i] += static_cast<float>(gain * (skin + click));
    }
}

// Low-passed noise: one-pole filter at `cutoff` Hz, applied twice for a softer slope.
Samples Rumble(size_t length, double cutoff, std::mt19937& random) {
    std::uniform_real_distribution<double> noise(-1, 1);
    const double a = std::exp(-kTwoPi * cutoff / kSampleRate);
    Samples out(length);
    double first = 0;
    double second = 0;
    for (size_t i = 0; i < length; ++i) {
        first = a * first + (1 - a) * noise(random);
        second = a * second + (1 - a) * first;
        out[i] = static_cast<float>(second);
    }
    return out;
}
}  // namespace

namespace SoundSynthesis {

Samples Silence() {
    return Empty(0.1);
}

Samples VolumeChime() {
    Samples s = Empty(0.45);
    AddBell(s, 0.0, 1046.5, 0.6, 0.10);   // C6
    AddBell(s, 0.07, 1568.0, 1.0, 0.14);  // G6
    Finish(s, 0.7, 0.03);
    return s;
}

Samples Thunderclap() {
    std::mt19937 random(20120527);
    std::uniform_real_distribution<double> noise(-1, 1);
    Samples s = Empty(1.9);
    const Samples body = Rumble(s.size(), 120, random);
    double previous = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = Time(i);
        // The crack: bright noise in three quick splits.
        double crack = 0;
        for (double at : {0.0, 0.035, 0.08}) {
            crack += t >= at ? std::exp(-(t - at) / 0.025) * (at == 0 ? 1.0 : 0.6) : 0;
        }
        const double white = noise(random);
        const double bright = white - 0.6 * previous;  // tilt towards the highs
        previous = white;
        // The rumble swells after the crack and rolls away unevenly.
        const double swell = std::min(1.0, t / 0.12) * std::exp(-t / 0.55);
        const double roll = 0.7 + 0.3 * std::sin(kTwoPi * 2.3 * t) * std::sin(kTwoPi * 0.9 * t);
        s[i] = static_cast<float>(0.55 * crack * bright + 18.0 * body[i] * swell * roll);
    }
    Finish(s, 0.9, 0.25);
    return s;
}

Samples DrumRoll() {
    std::mt19937 random(20111122);
    Samples s = Empty(1.7);
    double at = 0;
    double gap = 0.17;
    for (int stroke = 0; at < 1.05; ++stroke) {
        const double loudness = 0.35 + 0.45 * at / 1.05;
        AddDrum(s, at, stroke % 2 == 0 ? loudness : loudness * 0.8, 0.16, random);
        at += gap;
        gap = std::max(0.055, gap * 0.86);
    }
    AddDrum(s, 1.15, 1.2, 0.35, random);  // the last, big stroke
    Finish(s, 0.85, 0.1);
    return s;
}

Samples Gong() {
    constexpr double kBase = 98.0;
    constexpr double kPartials[][3] = {// ratio, level, decay in seconds
                                       {1.00, 1.00, 1.6},  {1.007, 0.5, 1.5}, {1.52, 0.55, 1.2},
                                       {2.01, 0.45, 1.0},  {2.47, 0.35, 0.8}, {2.98, 0.28, 0.6},
                                       {3.56, 0.20, 0.45}, {4.23, 0.14, 0.35}};
    Samples s = Empty(2.6);
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = Time(i);
        double v = 0;
        for (const auto& [ratio, level, decay] : kPartials) {
            v += level * std::sin(kTwoPi * kBase * ratio * t) * std::exp(-t / decay);
        }
        const double mallet = 0.8 * std::sin(kTwoPi * 55 * t) * std::exp(-t / 0.06);
        s[i] = static_cast<float>(std::min(1.0, t / 0.006) * (v + mallet));
    }
    Finish(s, 0.85, 0.4);
    return s;
}

bool WriteWav(const std::string& path, const Samples& samples) {
    std::ofstream out(path, std::ios::binary);
    const auto put32 = [&out](std::uint32_t v) {
        for (int b = 0; b < 4; ++b) {
            out.put(static_cast<char>((v >> (8 * b)) & 0xFF));
        }
    };
    const auto put16 = [&out](std::uint16_t v) {
        out.put(static_cast<char>(v & 0xFF));
        out.put(static_cast<char>(v >> 8));
    };
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    put32(36 + dataBytes);
    out.write("WAVEfmt ", 8);
    put32(16);
    put16(1);  // PCM
    put16(1);  // mono
    put32(kSampleRate);
    put32(kSampleRate * 2);
    put16(2);
    put16(16);
    out.write("data", 4);
    put32(dataBytes);
    for (float v : samples) {
        const double clamped = std::clamp(static_cast<double>(v), -1.0, 1.0);
        put16(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(clamped * 32767))));
    }
    return static_cast<bool>(out);
}

}  // namespace SoundSynthesis
