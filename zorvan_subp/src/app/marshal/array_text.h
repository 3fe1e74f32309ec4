// The text form of arrays, without V8: writing element by element and
// cutting a text into its elements.
//
//   array    "<element>;<element>;..."   ("" when empty)
//   element  '<kind>,<text>'             kind 0 to 5 in decimal
//
// Nothing is escaped. Reading cuts at semicolons outside double quotes (one
// flag that every double quote flips, not counting depth) and an element at
// its first comma outside apostrophes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "socket/return_type.h"

// Arrays are written and read at most this deep; a deeper array is not
// convertible (kind Error) when written and a failure when read, so that
// neither side can run out of stack.
inline constexpr int kMaxArrayDepth = 100;
// At most this many elements are written; later ones are left out.
inline constexpr int kMaxArrayElements = 9999;

// Appends one array text to `out`: construct, then for each element call
// begin_element(), append the element's text to out and call
// end_element(kind), and finally finish().
class ArrayTextWriter {
 public:
  explicit ArrayTextWriter(std::string& out) : out_(out) { out_ += '"'; }
  void begin_element();
  void end_element(ReturnType kind);
  // A whole element of kind Double, in one append.
  void number_element(double value);
  void finish();

 private:
  std::string& out_;
  size_t kind_at_ = 0;  // where the open element's kind digit goes
  bool first_ = true;
};

// Drops the first and the last character, which must be one-byte
// characters; false when the text is shorter than two bytes or they are not.
bool strip_quotes(std::string_view text, std::string_view* inside);

struct ArrayPieces {
  std::vector<std::string_view> elements;  // each still in its apostrophes
  std::string_view error;                  // "not quoted"
};
ArrayPieces split_array_text(std::string_view text);

struct ElementText {
  int32_t kind = 0;  // as written; not yet mapped with ReturnType::from
  std::string_view value;
  // Null, or "elem not quoted", "elem has no value" (no comma outside
  // apostrophes) or "cannot parse i32" (the kind is not a 32-bit integer).
  const char* error = nullptr;
};
ElementText read_element(std::string_view element);

// split_array_text and read_element in one pass, into `elements` (cleared
// first; a caller reading many texts can reuse its storage). Each element
// carries its own error, if any. Returns null, or "not quoted". Elements
// whose value holds no double quote, semicolon or apostrophe (numbers, most
// strings) take a fast path with the same result.
const char* read_array_text(std::string_view text, std::vector<ElementText>& elements);
