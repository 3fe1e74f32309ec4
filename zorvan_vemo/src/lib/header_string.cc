#include "header_string.h"

namespace vemo {
namespace {

// Length of the Unicode White_Space character that starts (or, backwards,
// ends) the text, or 0.
size_t white_space_prefix(std::string_view s) {
  if (s.empty()) return 0;
  const auto b0 = static_cast<unsigned char>(s[0]);
  if (b0 == ' ' || (b0 >= 0x09 && b0 <= 0x0D)) return 1;
  auto at = [&](size_t i) { return i < s.size() ? static_cast<unsigned char>(s[i]) : 0; };
  if (b0 == 0xC2 && (at(1) == 0x85 || at(1) == 0xA0)) return 2;             // U+0085, U+00A0
  if (b0 == 0xE1 && at(1) == 0x9A && at(2) == 0x80) return 3;               // U+1680
  if (b0 == 0xE2 && at(1) == 0x80 &&
      ((at(2) >= 0x80 && at(2) <= 0x8A) || at(2) == 0xA8 || at(2) == 0xA9 || at(2) == 0xAF))
    return 3;                                                               // U+2000..200A, 2028, 2029, 202F
  if (b0 == 0xE2 && at(1) == 0x81 && at(2) == 0x9F) return 3;               // U+205F
  if (b0 == 0xE3 && at(1) == 0x80 && at(2) == 0x80) return 3;               // U+3000
  return 0;
}

size_t white_space_suffix(std::string_view s) {
  for (size_t len = 1; len <= 3 && len <= s.size(); ++len) {
    const std::string_view tail = s.substr(s.size() - len);
    if (white_space_prefix(tail) == len) return len;
  }
  return 0;
}

std::string_view trim(std::string_view s) {
  while (size_t n = white_space_prefix(s)) s.remove_prefix(n);
  while (size_t n = white_space_suffix(s)) s.remove_suffix(n);
  return s;
}

}  // namespace

std::vector<Header> parse_header_string(std::string_view headers, uint64_t count) {
  std::vector<Header> result;
  std::string_view rest = headers;
  for (uint64_t i = 0; i < count; ++i) {
    std::string_view segment = rest;
    const bool last = i + 1 == count;
    const size_t cut = last ? std::string_view::npos : rest.find("::");
    if (cut != std::string_view::npos) {
      segment = rest.substr(0, cut);
      rest.remove_prefix(cut + 2);
    }
    const size_t colon = segment.find(':');
    if (colon != std::string_view::npos)
      result.emplace_back(std::string(trim(segment.substr(0, colon))),
                          std::string(trim(segment.substr(colon + 1))));
    // No more separators: the string holds no further segments.
    if (cut == std::string_view::npos) break;
  }
  return result;
}

}  // namespace vemo
