// Owners for CEF strings.
//
// CefString owns a cef_string_t built by us and clears it once
// (cef_string_utf16_clear). UserFree16 and UserFree8 own the user-free
// strings CEF returns or allocates, freed once unless released to a caller.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "cef/cef_capi.h"

namespace utils {

class CefString {
 public:
  CefString() = default;
  ~CefString();
  CefString(CefString&& other) noexcept;
  CefString& operator=(CefString&& other) noexcept;
  CefString(const CefString&) = delete;
  CefString& operator=(const CefString&) = delete;

  const cef_string_t* get() const { return &value_; }
  cef_string_t* out() { return &value_; }
  // The struct itself, for members of CEF structures that CEF copies.
  const cef_string_t& value() const { return value_; }
  // Hands the string to a new owner (CEF, for an out-parameter); this one
  // is left empty.
  cef_string_t release() { return std::exchange(value_, cef_string_t{}); }

 private:
  cef_string_t value_{};
};

// A UTF-16 copy of `text` (see text.h for text that is not valid UTF-8).
CefString cef_string(std::string_view text);
// The same for a C string; a null pointer gives the empty string.
CefString cef_string_from_c(const char* c_string);
// An empty CEF string: null str, length 0.
CefString cef_string_empty();

// The UTF-8 text of a CEF string (empty for null).
std::string to_utf8(const cef_string_t* string);

class UserFree16 {
 public:
  explicit UserFree16(cef_string_userfree_t string = nullptr) : string_(string) {}
  ~UserFree16();
  UserFree16(UserFree16&& other) noexcept : string_(other.string_) { other.string_ = nullptr; }
  UserFree16& operator=(UserFree16&& other) noexcept {
    if (this != &other) {
      reset();
      string_ = std::exchange(other.string_, nullptr);
    }
    return *this;
  }
  UserFree16(const UserFree16&) = delete;
  UserFree16& operator=(const UserFree16&) = delete;

  const cef_string_t* get() const { return string_; }
  explicit operator bool() const { return string_ != nullptr; }
  void reset();

 private:
  cef_string_userfree_t string_;
};

class UserFree8 {
 public:
  // Allocates with cef_string_userfree_utf8_alloc.
  UserFree8();
  ~UserFree8();
  UserFree8(UserFree8&& other) noexcept : string_(other.string_) { other.string_ = nullptr; }
  UserFree8& operator=(UserFree8&&) = delete;
  UserFree8(const UserFree8&) = delete;
  UserFree8& operator=(const UserFree8&) = delete;

  cef_string_utf8_t* get() const { return string_; }
  // Fills the string from UTF-16 code units (cef_string_utf16_to_utf8).
  void assign(const cef_string_t* from);
  // NUL-terminated text, or null when nothing was converted into it.
  const char* c_str() const { return string_ && string_->str ? string_->str : nullptr; }
  // Hands ownership to the caller, who frees it exactly once.
  cef_string_userfree_utf8_t release();

 private:
  cef_string_userfree_utf8_t string_;
};

}  // namespace utils
