#include "ByteString.h"

#include <algorithm>
#include <cctype>
#include <charconv>
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

// The span of a decimal number at `from`: sign, digits, fraction, exponent. Empty when no
// digit is there, so that "nan", "inf" and "0x1A" read as the 0 (or the "0") they start with.
std::size_t NumberLength(const std::string& s, std::size_t from) {
    auto digitsAt = [&s](std::size_t i) {
        std::size_t n = 0;
        while (i + n < s.size() && std::isdigit(static_cast<unsigned char>(s[i + n]))) {
            ++n;
        }
        return n;
    };
    std::size_t i = from + ((from < s.size() && (s[from] == '-' || s[from] == '+')) ? 1 : 0);
    std::size_t digits = digitsAt(i);
    i += digits;
    if (i < s.size() && s[i] == '.') {
        const std::size_t fraction = digitsAt(i + 1);
        digits += fraction;
        i += 1 + fraction;
    }
    if (digits == 0) {
        return 0;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        const std::size_t sign = (i + 1 < s.size() && (s[i + 1] == '-' || s[i + 1] == '+')) ? 1 : 0;
        if (const std::size_t exponent = digitsAt(i + 1 + sign); exponent > 0) {
            i += 1 + sign + exponent;
        }
    }
    return i - from;
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
    const std::size_t length = NumberLength(s, i);
    if (length == 0) {
        return 0;
    }
    // from_chars takes no '+' and ignores the locale, which Qt sets from the environment.
    const bool negative = s[i] == '-';
    const std::size_t start = i + ((s[i] == '-' || s[i] == '+') ? 1 : 0);
    double value = 0;
    std::from_chars(s.data() + start, s.data() + i + length, value);
    return negative ? -value : value;
}

std::string Str(double value) {
    char buffer[64];
    if (std::floor(value) == value && std::fabs(value) < 1e15) {
        std::snprintf(buffer, sizeof buffer, "%.0f", value);
    } else {
        // Not printf: Qt sets the locale from the environment, which may want a decimal comma.
        const auto end =
            std::to_chars(buffer, buffer + sizeof buffer - 1, value, std::chars_format::general, 7);
        *end.ptr = '\0';
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
