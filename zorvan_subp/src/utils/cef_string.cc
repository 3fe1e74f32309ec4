#include "utils/cef_string.h"

#include <utility>

#include "utils/text.h"

namespace utils {

CefString::~CefString() { cef_string_utf16_clear(&value_); }

CefString::CefString(CefString&& other) noexcept : value_(other.value_) { other.value_ = {}; }

CefString& CefString::operator=(CefString&& other) noexcept {
  if (this != &other) {
    cef_string_utf16_clear(&value_);
    value_ = std::exchange(other.value_, cef_string_t{});
  }
  return *this;
}

CefString cef_string(std::string_view text) {
  CefString s;
  if (is_valid_utf8(text)) {
    cef_string_utf8_to_utf16(text.data(), text.size(), s.out());
  } else {
    // Keeps lone surrogates and U+0000 that CEF's own UTF-8 decoder would
    // replace.
    const std::u16string units = decode_utf16(text);
    cef_string_utf16_set(units.data(), units.size(), s.out(), 1);
  }
  return s;
}

CefString cef_string_from_c(const char* c_string) {
  return cef_string(str_from_c(c_string).view());
}

CefString cef_string_empty() {
  CefString s;
  cef_string_utf8_to_utf16(nullptr, 0, s.out());
  return s;
}

std::string to_utf8(const cef_string_t* string) {
  if (!string || !string->str || string->length == 0) return {};
  cef_string_utf8_t out{};
  cef_string_utf16_to_utf8(string->str, string->length, &out);
  std::string text = out.str ? std::string(out.str, out.length) : std::string();
  cef_string_utf8_clear(&out);
  return text;
}

UserFree16::~UserFree16() { reset(); }

void UserFree16::reset() {
  if (string_) cef_string_userfree_utf16_free(std::exchange(string_, nullptr));
}

UserFree8::UserFree8() : string_(cef_string_userfree_utf8_alloc()) {}

UserFree8::~UserFree8() {
  if (string_) cef_string_userfree_utf8_free(string_);
}

void UserFree8::assign(const cef_string_t* from) {
  if (string_ && from && from->str) cef_string_utf16_to_utf8(from->str, from->length, string_);
}

cef_string_userfree_utf8_t UserFree8::release() { return std::exchange(string_, nullptr); }

}  // namespace utils
