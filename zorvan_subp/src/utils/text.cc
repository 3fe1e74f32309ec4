#include "utils/text.h"

#include <cstring>
#include <optional>

namespace utils {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool is_continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes one sequence of standard UTF-8 at `pos`; returns the code point and
// advances `pos`, or returns nothing for an invalid sequence.
std::optional<char32_t> decode_strict(std::string_view s, size_t& pos) {
  const auto b0 = static_cast<unsigned char>(s[pos]);
  if (b0 < 0x80) {
    ++pos;
    return b0;
  }
  size_t len;
  char32_t cp;
  char32_t min;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    return std::nullopt;
  }
  if (pos + len > s.size()) return std::nullopt;
  for (size_t i = 1; i < len; ++i) {
    const auto b = static_cast<unsigned char>(s[pos + i]);
    if (!is_continuation(b)) return std::nullopt;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  pos += len;
  return cp;
}

void append_utf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

void append_utf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

bool is_valid_utf8(std::string_view bytes) {
  size_t pos = 0;
  while (pos < bytes.size()) {
    // ASCII runs are by far the most common input.
    if (static_cast<unsigned char>(bytes[pos]) < 0x80) {
      ++pos;
      continue;
    }
    if (!decode_strict(bytes, pos)) return false;
  }
  return true;
}

std::u16string decode_utf16(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  size_t pos = 0;
  while (pos < s.size()) {
    if (auto cp = decode_strict(s, pos)) {
      append_utf16(out, *cp);
      continue;
    }
    const auto b0 = static_cast<unsigned char>(s[pos]);
    // Modified UTF-8: U+0000 as C0 80.
    if (b0 == 0xC0 && pos + 1 < s.size() && static_cast<unsigned char>(s[pos + 1]) == 0x80) {
      out.push_back(0);
      pos += 2;
      continue;
    }
    // A surrogate in its 3-byte form: ED A0..BF 80..BF.
    if (b0 == 0xED && pos + 2 < s.size()) {
      const auto b1 = static_cast<unsigned char>(s[pos + 1]);
      const auto b2 = static_cast<unsigned char>(s[pos + 2]);
      if (b1 >= 0xA0 && b1 <= 0xBF && is_continuation(b2)) {
        out.push_back(static_cast<char16_t>(0xD000 | ((b1 & 0x3F) << 6) | (b2 & 0x3F)));
        pos += 3;
        continue;
      }
    }
    out.push_back(kReplacement);
    ++pos;
  }
  return out;
}

std::string encode_utf8(std::u16string_view units) {
  std::string out;
  out.reserve(units.size());
  for (size_t i = 0; i < units.size(); ++i) {
    const char16_t u = units[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      append_utf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (units[i + 1] - 0xDC00));
      ++i;
    } else {
      append_utf8(out, u);  // a lone surrogate keeps its 3-byte form
    }
  }
  return out;
}

Text Text::borrow(std::string_view bytes) {
  Text t;
  t.borrowed_ = bytes;
  return t;
}

Text Text::own(std::string bytes) {
  Text t;
  t.owned_ = std::move(bytes);
  t.owned_active_ = true;
  return t;
}

Text::Text(Text&& other) noexcept
    : owned_(std::move(other.owned_)),
      borrowed_(other.borrowed_),
      owned_active_(other.owned_active_) {}

Text& Text::operator=(Text&& other) noexcept {
  owned_ = std::move(other.owned_);
  borrowed_ = other.borrowed_;
  owned_active_ = other.owned_active_;
  return *this;
}

Text str_from_c(const char* c_string) {
  if (!c_string) return Text();
  const std::string_view bytes(c_string, std::strlen(c_string));
  if (is_valid_utf8(bytes)) return Text::borrow(bytes);
  return Text::own(encode_utf8(decode_utf16(bytes)));
}

}  // namespace utils
