#include "app/marshal/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Integral doubles below 2^53 are written and read as integers: the same
// text, without the cost of the floating-point conversions.
constexpr double kExactIntegerLimit = 9007199254740992.0;  // 2^53
constexpr size_t kExactIntegerDigits = 15;

// The shape of a decimal number text, found in one pass.
struct DecimalShape {
  bool valid = false;
  bool plain_integer = false;  // digits only, no point or exponent
  // Position of the first significant digit relative to the point, plus the
  // exponent: positive for large magnitudes, negative for tiny ones.
  int64_t magnitude = 0;
};

DecimalShape decimal_shape(std::string_view s) {
  DecimalShape shape;
  size_t i = 0;
  const size_t int_start = i;
  while (i < s.size() && is_digit(s[i])) ++i;
  const size_t int_digits = i - int_start;
  size_t frac_digits = 0;
  bool point = false;
  if (i < s.size() && s[i] == '.') {
    point = true;
    ++i;
    const size_t frac_start = i;
    while (i < s.size() && is_digit(s[i])) ++i;
    frac_digits = i - frac_start;
  }
  if (int_digits + frac_digits == 0) return shape;
  int64_t exponent = 0;
  bool has_exponent = false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    has_exponent = true;
    ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    const size_t exp_start = i;
    for (; i < s.size() && is_digit(s[i]); ++i)
      if (exponent < 1'000'000'000) exponent = exponent * 10 + (s[i] - '0');
    if (i == exp_start) return shape;
    if (negative) exponent = -exponent;
  }
  if (i != s.size()) return shape;

  shape.valid = true;
  shape.plain_integer = !point && !has_exponent;
  // Only the sign of `magnitude` matters (for results out of range).
  size_t lead = 0;
  while (lead < int_digits && s[int_start + lead] == '0') ++lead;
  if (lead < int_digits) {
    shape.magnitude = static_cast<int64_t>(int_digits - lead) + exponent;
  } else {
    size_t zeros = 0;
    const size_t frac_start = int_start + int_digits + 1;
    while (zeros < frac_digits && s[frac_start + zeros] == '0') ++zeros;
    shape.magnitude = exponent - static_cast<int64_t>(zeros);
  }
  return shape;
}

}  // namespace

void append_int(std::string& out, int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

void append_double(std::string& out, double value) {
  if (std::isnan(value)) {
    out += "NaN";
  } else if (std::isinf(value)) {
    out += value < 0 ? "-inf" : "inf";
  } else if (value == 0) {
    out += '0';  // negative zero too
  } else if (std::fabs(value) < kExactIntegerLimit && value == std::trunc(value)) {
    append_int(out, static_cast<int64_t>(value));
  } else {
    // Fixed notation without a precision is the shortest round trip; the
    // longest (the smallest subnormal) has 2 + 323 + 2 characters.
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    out.append(buffer, result.ptr);
  }
}

std::optional<double> parse_double(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text == "inf") return negative ? -std::numeric_limits<double>::infinity()
                                     : std::numeric_limits<double>::infinity();
  if (text == "NaN") return std::numeric_limits<double>::quiet_NaN();

  const DecimalShape shape = decimal_shape(text);
  if (!shape.valid) return std::nullopt;
  double value = 0;
  if (shape.plain_integer && text.size() <= kExactIntegerDigits) {
    int64_t integer = 0;
    for (char c : text) integer = integer * 10 + (c - '0');
    value = static_cast<double>(integer);
  } else {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
      value = shape.magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (result.ec != std::errc() || result.ptr != text.data() + text.size()) {
      return std::nullopt;
    }
  }
  return negative ? -value : value;
}

std::optional<int32_t> parse_i32(std::string_view text) {
  // from_chars takes a minus sign but no plus sign.
  const bool plus = !text.empty() && text[0] == '+';
  if (plus) text.remove_prefix(1);
  const size_t first_digit = !plus && !text.empty() && text[0] == '-' ? 1 : 0;
  if (first_digit >= text.size() || !is_digit(text[first_digit])) return std::nullopt;
  int32_t value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  return value;
}
