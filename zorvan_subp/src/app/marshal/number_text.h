// Texts of numbers on the return channel.
//
// Written: the shortest decimal digits that read back to the same double, in
// plain positional notation (never an exponent); "NaN", "inf", "-inf"; and
// "0" for both zeros. Read: an optional sign, then digits with an optional
// fraction and exponent, or exactly "inf" or "NaN"; no spaces. Integers for
// kind Bool and element kinds: an optional sign and decimal digits within
// the 32-bit signed range.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

void append_double(std::string& out, double value);
void append_int(std::string& out, int64_t value);

// The longest text append_double writes: the smallest subnormal, 2 + 323 + 2.
inline constexpr size_t kMaxNumberText = 328;
// Writes the text of `value` to `out` (room for kMaxNumberText) and returns
// its length.
size_t write_double(char* out, double value);

std::optional<double> parse_double(std::string_view text);
std::optional<int32_t> parse_i32(std::string_view text);
