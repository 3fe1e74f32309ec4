// UTF-8 text taken from C strings.
//
// C strings come from the JNI bridge, which takes them from the JVM in its
// modified UTF-8: U+0000 arrives as C0 80 and a supplementary character as
// two 3-byte sequences, one per UTF-16 surrogate. Valid UTF-8 is borrowed as
// it is. Anything else is decoded to the UTF-16 code units it stands for
// (C0 80 to U+0000, a surrogate sequence to its surrogate, so a pair yields
// the one supplementary character and a lone surrogate stays itself) and
// every other invalid byte becomes U+FFFD; the owned text then holds those
// units in UTF-8, a lone surrogate as its 3-byte form. decode_utf16 reads such
// text back to the same code units, so nothing a Java string holds is lost on
// its way to CEF.
#pragma once

#include <string>
#include <string_view>

namespace utils {

bool is_valid_utf8(std::string_view bytes);

// The UTF-16 code units that `bytes` stand for, as described above.
std::u16string decode_utf16(std::string_view bytes);

// UTF-8 for UTF-16 code units; a lone surrogate keeps its 3-byte form.
std::string encode_utf8(std::u16string_view units);

// Text that is either borrowed from the caller's bytes or owned.
class Text {
 public:
  Text() = default;
  static Text borrow(std::string_view bytes);
  static Text own(std::string bytes);

  Text(Text&& other) noexcept;
  Text& operator=(Text&& other) noexcept;
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;

  std::string_view view() const { return owned_active_ ? std::string_view(owned_) : borrowed_; }
  std::string str() const { return std::string(view()); }
  bool empty() const { return view().empty(); }

 private:
  std::string owned_;
  std::string_view borrowed_;
  bool owned_active_ = false;
};

// The text of a C string without its terminating NUL; empty for null.
Text str_from_c(const char* c_string);

}  // namespace utils
