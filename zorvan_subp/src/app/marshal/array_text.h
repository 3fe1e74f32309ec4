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
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/marshal/number_text.h"
#include "socket/return_type.h"

// Arrays are written and read at most this deep; a deeper array is not
// convertible (kind Error) when written and a failure when read, so that
// neither side can run out of stack.
inline constexpr int kMaxArrayDepth = 100;
// At most this many elements are written; later ones are left out.
inline constexpr int kMaxArrayElements = 9999;

// Appends one array text to `out`: construct, then for each element either
// call begin_element(kind) and append the element's text to `out`, or write
// a number element whole with int_element or number_element; finally call
// finish(). Until finish() returns, `out` is the writer's: others append to
// it only right after begin_element.
//
// Runs of number elements are written straight into spare room at the end
// of `out` (not yet part of the text), so that an element costs no call of
// std::string and the room is grown rarely.
class ArrayTextWriter {
 public:
  explicit ArrayTextWriter(std::string& out) : out_(out) { out_ += '"'; }
  ~ArrayTextWriter() { settle(); }
  ArrayTextWriter(const ArrayTextWriter&) = delete;
  ArrayTextWriter& operator=(const ArrayTextWriter&) = delete;

  void begin_element(ReturnType kind);
  // Whole elements of kind Double: an integer, or any number. The integer
  // one is inline, as the inner step of integer arrays.
  void int_element(int64_t value) {
    char* const at = room(kMaxOpening + kMaxIntText);
    char* const text = opening(at, ReturnType::Double);
    end_ += static_cast<size_t>(text - at) + write_int(text, value);
  }
  void number_element(double value);
  void finish();

 private:
  // Room for `size` more bytes at end_, with out_ in room mode.
  char* room(size_t size) {
    return in_room_ && out_.size() - end_ >= size ? out_.data() + end_ : grow_room(size);
  }
  char* grow_room(size_t size);
  // Leaves room mode: out_ ends where the text does.
  void settle();
  // Writes an element's opening (and the previous element's closing) at
  // `at` and returns the end.
  char* opening(char* at, ReturnType kind) {
    if (!first_) {
      *at++ = '\'';
      *at++ = ';';
    }
    first_ = false;
    at[0] = '\'';
    at[1] = static_cast<char>('0' + kind.byte());
    at[2] = ',';
    return at + 3;
  }

  // The most an element's opening takes: "';'<kind>,".
  static constexpr size_t kMaxOpening = 5;

  std::string& out_;
  size_t end_ = 0;        // in room mode: where the text ends in out_
  bool in_room_ = false;  // out_ holds spare bytes beyond end_
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

// 32 bytes: texts of large arrays are read into a list of these, and its
// size shows in the time reading takes.
struct ElementText {
  // Why the element cannot be read (see error()).
  enum class Failure : uint8_t { None, NotQuoted, NoValue, KindNotI32 };

  std::string_view value;
  double number = 0;  // see has_number
  int32_t kind = 0;  // as written; not yet mapped with ReturnType::from
  // Set by read_array_text for most kind-0 elements whose value is a
  // number: `number` then is what parse_double reads from the value, read
  // while cutting. Otherwise the value is still to be read.
  bool has_number = false;
  Failure failure = Failure::None;

  // Null, or "elem not quoted", "elem has no value" (no comma outside
  // apostrophes) or "cannot parse i32" (the kind is not a 32-bit integer).
  const char* error() const;
};
static_assert(sizeof(ElementText) <= 32);
ElementText read_element(std::string_view element);

// split_array_text and read_element in one pass, into `elements` (cleared
// first; a caller reading many texts can reuse its storage). Each element
// carries its own error, if any. Returns null, or "not quoted". Elements
// whose value holds no double quote, semicolon or apostrophe (numbers, most
// strings) take a fast path with the same result.
const char* read_array_text(std::string_view text, std::vector<ElementText>& elements);
