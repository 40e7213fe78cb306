#pragma once

#include <cstdint>
#include <string>

// Text helpers over byte strings (std::string holding UTF-8). Byte positions count from 1.

std::int32_t LenB(const std::string& s);
std::string LeftB(const std::string& s, std::int32_t count);
// From byte `start` (1-based) to the end, or `count` bytes of it.
std::string MidB(const std::string& s, std::int32_t start);
std::string MidB(const std::string& s, std::int32_t start, std::int32_t count);
std::string RightB(const std::string& s, std::int32_t count);

// Character-wise, a character being one UTF-8 sequence.
std::int32_t Len(const std::string& s);
std::string Left(const std::string& s, std::int32_t count);

// `pattern` of '0's pads with zeros to that many digits ("000" turns 7 into "007").
std::string Format(double value, const std::string& pattern);
// The number at the start of `s` (leading blanks skipped, "&h" for hex); 0 when there is none.
double Val(const std::string& s);
// Integral values print without a fraction; others with up to 7 significant digits.
std::string Str(double value);
// Upper-case hexadecimal without leading zeros.
std::string Hex(std::int64_t value);
// Byte-wise comparison: -1, 0 or 1. Mode 0 is the only mode the program uses.
std::int32_t StrComp(const std::string& a, const std::string& b, std::int32_t mode = 0);
