#include "app/marshal/number_text.h"

#include <charconv>
#include <cstring>
#include <cmath>
#include <limits>

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Integral doubles below 2^53 are written and read as integers: the same
// text, without the cost of the floating-point conversions.
constexpr double kExactIntegerLimit = 9007199254740992.0;  // 2^53
constexpr size_t kExactIntegerDigits = 15;

// For a decimal number text that from_chars matched whole but could not
// represent: the position of its first significant digit relative to the
// point, plus the exponent. Positive for magnitudes too large, otherwise
// too small.
int64_t decimal_magnitude(std::string_view s) {
  size_t i = 0;
  int64_t position = 0;  // of the first significant digit
  bool significant = false;
  bool point = false;
  for (; i < s.size() && (is_digit(s[i]) || s[i] == '.'); ++i) {
    if (s[i] == '.') {
      point = true;
    } else if (!significant) {
      if (s[i] != '0') significant = true;
      else if (point) --position;
      if (significant && !point) position = 1;
    } else if (!point) {
      ++position;
    }
  }
  int64_t exponent = 0;
  if (i < s.size()) {  // 'e' or 'E'
    ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    for (; i < s.size(); ++i)
      if (exponent < 1'000'000'000) exponent = exponent * 10 + (s[i] - '0');
    if (negative) exponent = -exponent;
  }
  return position + exponent;
}

}  // namespace

namespace {

size_t write_word(char* out, std::string_view word) {
  std::memcpy(out, word.data(), word.size());
  return word.size();
}

}  // namespace

void append_int(std::string& out, int64_t value) {
  char buffer[kMaxIntText];
  out.append(buffer, write_int(buffer, value));
}

size_t write_double(char* out, double value) {
  if (std::isnan(value)) return write_word(out, "NaN");
  if (std::isinf(value)) return write_word(out, value < 0 ? "-inf" : "inf");
  if (value == 0) return write_word(out, "0");  // negative zero too
  if (std::fabs(value) < kExactIntegerLimit && static_cast<double>(static_cast<int64_t>(value)) == value)
    return write_int(out, static_cast<int64_t>(value));
  // Fixed notation without a precision is the shortest round trip.
  const auto result = std::to_chars(out, out + kMaxNumberText, value, std::chars_format::fixed);
  return static_cast<size_t>(result.ptr - out);
}

void append_double(std::string& out, double value) {
  char buffer[kMaxNumberText];
  out.append(buffer, write_double(buffer, value));
}

std::optional<double> parse_double(std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  bool negative = false;
  if (p != end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  if (p == end) return std::nullopt;

  // Up to 15 digits and nothing else: exact as an integer, in one pass.
  const size_t length = static_cast<size_t>(end - p);
  if (length <= kExactIntegerDigits) {
    uint64_t integer = 0;
    size_t i = 0;
    for (; i < length; ++i) {
      const unsigned digit = static_cast<unsigned char>(p[i]) - unsigned{'0'};
      if (digit > 9) break;
      integer = integer * 10 + digit;
    }
    if (i == length) {
      const double value = static_cast<double>(static_cast<int64_t>(integer));  // below 10^15
      return negative ? -value : value;
    }
  }

  return parse_unsigned_double(std::string_view(p, length), negative);
}

const char* read_unsigned_number(const char* p, const char* end, bool negative, double* number) {
  if (p == end) return nullptr;
  if (!is_digit(*p) && *p != '.') {
    const std::string_view rest(p, static_cast<size_t>(end - p));
    if (rest.starts_with("inf")) {
      *number = negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
      return p + 3;
    }
    if (rest.starts_with("NaN")) {
      *number = std::numeric_limits<double>::quiet_NaN();
      return p + 3;
    }
    return nullptr;
  }
  // From a digit or a point on, from_chars reads exactly the syntax above
  // (its inf and nan forms need a letter first).
  double value = 0;
  const auto result = std::from_chars(p, end, value);
  if (result.ec == std::errc::result_out_of_range) {
    const int64_t magnitude = decimal_magnitude(std::string_view(p, static_cast<size_t>(result.ptr - p)));
    value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (result.ec != std::errc()) {
    return nullptr;
  }
  *number = negative ? -value : value;
  return result.ptr;
}

std::optional<double> parse_unsigned_double(std::string_view text, bool negative) {
  if (text.empty()) return std::nullopt;
  double number = 0;
  const char* const end = text.data() + text.size();
  if (read_unsigned_number(text.data(), end, negative, &number) != end) return std::nullopt;
  return number;
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
