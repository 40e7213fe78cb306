#include "ByteString.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {
std::int32_t Clamp(std::int64_t value, std::int64_t low, std::int64_t high) {
    return static_cast<std::int32_t>(std::clamp(value, low, high));
}

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}
}  // namespace

std::int32_t LenB(const std::string& s) {
    return static_cast<std::int32_t>(s.size());
}

std::string LeftB(const std::string& s, std::int32_t count) {
    return s.substr(0, Clamp(count, 0, LenB(s)));
}

std::string MidB(const std::string& s, std::int32_t start) {
    return MidB(s, start, LenB(s));
}

std::string MidB(const std::string& s, std::int32_t start, std::int32_t count) {
    const std::int32_t from = Clamp(static_cast<std::int64_t>(start) - 1, 0, LenB(s));
    return s.substr(from, Clamp(count, 0, LenB(s) - from));
}

std::string RightB(const std::string& s, std::int32_t count) {
    const std::int32_t n = Clamp(count, 0, LenB(s));
    return s.substr(s.size() - n);
}

std::int32_t Len(const std::string& s) {
    return static_cast<std::int32_t>(
        std::count_if(s.begin(), s.end(), [](char c) { return !IsContinuationByte(c); }));
}

std::string Left(const std::string& s, std::int32_t count) {
    std::int32_t seen = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (!IsContinuationByte(s[i]) && seen++ == count) {
            return s.substr(0, i);
        }
    }
    return count > 0 ? s : std::string();
}

std::string Format(double value, const std::string& pattern) {
    const auto digits = std::count(pattern.begin(), pattern.end(), '0');
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%0*.0f", static_cast<int>(digits + (value < 0 ? 1 : 0)),
                  std::round(value));
    return buffer;
}

double Val(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) {
        ++i;
    }
    if (s.size() - i > 2 && s[i] == '&' && (s[i + 1] == 'h' || s[i + 1] == 'H')) {
        return static_cast<double>(std::strtoll(s.c_str() + i + 2, nullptr, 16));
    }
    return std::strtod(s.c_str() + i, nullptr);
}

std::string Str(double value) {
    char buffer[64];
    if (std::floor(value) == value && std::fabs(value) < 1e15) {
        std::snprintf(buffer, sizeof buffer, "%.0f", value);
    } else {
        std::snprintf(buffer, sizeof buffer, "%.7g", value);
    }
    return buffer;
}

std::string Hex(std::int64_t value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(value));
    return buffer;
}

std::int32_t StrComp(const std::string& a, const std::string& b, std::int32_t /*mode*/) {
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}
