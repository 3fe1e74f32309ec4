// Texts of numbers on the return channel.
//
// Written: the shortest decimal digits that read back to the same double, in
// plain positional notation (never an exponent); "NaN", "inf", "-inf"; and
// "0" for both zeros. Read: an optional sign, then digits with an optional
// fraction and exponent, or exactly "inf" or "NaN"; no spaces. Integers for
// kind Bool and element kinds: an optional sign and decimal digits within
// the 32-bit signed range.
#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

void append_double(std::string& out, double value);
void append_int(std::string& out, int64_t value);

// The longest text of a 64-bit integer: its minimum, a sign and 19 digits.
inline constexpr size_t kMaxIntText = 20;
// Writes the decimal text of `value` to `out` (room for kMaxIntText) and
// returns its length. Inline: it is the inner step of integer arrays.
inline size_t write_int(char* out, int64_t value) {
  // The sign without a branch: script integers are as often negative as
  // not, so a branch on it would be mispredicted half of the time.
  const bool negative = value < 0;
  *out = '-';
  char* const digits = out + negative;
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  char* const last = out + kMaxIntText;
  // 32-bit conversions are much cheaper, and most integers fit.
  const auto result = magnitude <= UINT32_MAX ? std::to_chars(digits, last, static_cast<uint32_t>(magnitude))
                                              : std::to_chars(digits, last, magnitude);
  return static_cast<size_t>(result.ptr - out);
}

// The longest text append_double writes: the smallest subnormal, 2 + 323 + 2.
inline constexpr size_t kMaxNumberText = 328;
// Writes the text of `value` to `out` (room for kMaxNumberText) and returns
// its length.
size_t write_double(char* out, double value);

std::optional<double> parse_double(std::string_view text);
// parse_double of what follows a text's sign ("-" when `negative`, none or
// "+" otherwise), for callers that have taken the sign off and found the
// text not to be a plain integer. A second sign does not read, as with
// parse_double.
std::optional<double> parse_unsigned_double(std::string_view text, bool negative);
// The same for the number at the start of [p, end): sets `number` and
// returns the end of the number's text, the longest that reads; null when
// no number starts at p.
const char* read_unsigned_number(const char* p, const char* end, bool negative, double* number);
std::optional<int32_t> parse_i32(std::string_view text);
