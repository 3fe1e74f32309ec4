#include "app/marshal/array_text.h"

#include <array>
#include <bit>
#include <cstring>

#include "app/marshal/number_text.h"

namespace {

// Room is grown by this much beyond what an element needs, so that a run
// of number elements grows it about once per hundred integers.
constexpr size_t kSpareRoom = 2048;

}  // namespace

char* ArrayTextWriter::grow_room(size_t size) {
  if (!in_room_) {
    end_ = out_.size();
    in_room_ = true;
  }
  if (out_.size() - end_ < size) out_.resize(end_ + size + kSpareRoom);
  return out_.data() + end_;
}

void ArrayTextWriter::settle() {
  if (!in_room_) return;
  out_.resize(end_);
  in_room_ = false;
}

void ArrayTextWriter::begin_element(ReturnType kind) {
  settle();
  char buffer[kMaxOpening];
  out_.append(buffer, static_cast<size_t>(opening(buffer, kind) - buffer));
}

void ArrayTextWriter::number_element(double value) {
  char* const at = room(kMaxOpening + kMaxNumberText);
  char* const text = opening(at, ReturnType::Double);
  end_ += static_cast<size_t>(text - at) + write_double(text, value);
}

void ArrayTextWriter::finish() {
  settle();
  out_.append(first_ ? "\"" : "'\"", first_ ? 1 : 2);
}

bool strip_quotes(std::string_view text, std::string_view* inside) {
  if (text.size() < 2 || static_cast<unsigned char>(text.front()) >= 0x80 ||
      static_cast<unsigned char>(text.back()) >= 0x80)
    return false;
  *inside = text.substr(1, text.size() - 2);
  return true;
}

ArrayPieces split_array_text(std::string_view text) {
  ArrayPieces pieces;
  std::string_view rest;
  if (!strip_quotes(text, &rest)) {
    pieces.error = "not quoted";
    return pieces;
  }
  // Semicolons between a double quote and the next one do not cut.
  size_t start = 0;
  size_t from = 0;
  size_t quote = rest.find('"');
  for (;;) {
    const size_t semicolon = rest.find(';', from);
    if (quote < semicolon) {
      const size_t closing = rest.find('"', quote + 1);
      if (closing == std::string_view::npos) break;  // quoted to the end
      from = closing + 1;
      quote = rest.find('"', from);
      continue;
    }
    if (semicolon == std::string_view::npos) break;
    pieces.elements.push_back(rest.substr(start, semicolon - start));
    start = from = semicolon + 1;
  }
  // An empty piece after the last semicolon is not an element.
  if (start < rest.size()) pieces.elements.push_back(rest.substr(start));
  return pieces;
}

const char* ElementText::error() const {
  switch (failure) {
    case Failure::None:
      return nullptr;
    case Failure::NotQuoted:
      return "elem not quoted";
    case Failure::NoValue:
      return "elem has no value";
    case Failure::KindNotI32:
      return "cannot parse i32";
  }
  return nullptr;
}

ElementText read_element(std::string_view element) {
  ElementText result;
  std::string_view inside;
  if (!strip_quotes(element, &inside)) {
    result.failure = ElementText::Failure::NotQuoted;
    return result;
  }
  // The first comma outside apostrophes; every apostrophe flips the flag.
  size_t comma = std::string_view::npos;
  bool quoted = false;
  for (size_t i = 0; i < inside.size(); ++i) {
    if (inside[i] == '\'') {
      quoted = !quoted;
    } else if (inside[i] == ',' && !quoted) {
      comma = i;
      break;
    }
  }
  if (comma == std::string_view::npos) {
    result.failure = ElementText::Failure::NoValue;
    return result;
  }
  if (comma == 1 && inside[0] >= '0' && inside[0] <= '9') {
    result.kind = inside[0] - '0';
  } else {
    const std::optional<int32_t> kind = parse_i32(inside.substr(0, comma));
    if (!kind) {
      result.failure = ElementText::Failure::KindNotI32;
      return result;
    }
    result.kind = *kind;
  }
  result.value = inside.substr(comma + 1);
  return result;
}

namespace {

// The characters that end a plain element's value: its closing apostrophe,
// or one that needs the general path.
constexpr auto kEndsPlainValue = [] {
  std::array<bool, 256> table{};
  table['\''] = table[';'] = table['"'] = true;
  return table;
}();

// Eight ASCII digits at `p`, read together as one little-endian word: the
// number they give, or -1 when one of the bytes is not a digit.
int64_t eight_digits(const char* p) {
  uint64_t word;
  std::memcpy(&word, p, sizeof word);
  // Every byte in '0'..'9': its high nibble is 3, and adding 6 keeps it 3.
  if (((word & 0xF0F0F0F0F0F0F0F0) | (((word + 0x0606060606060606) & 0xF0F0F0F0F0F0F0F0) >> 4)) !=
      0x3333333333333333)
    return -1;
  word -= 0x3030303030303030;
  word = word * 10 + (word >> 8);  // pairs of digits, in every other byte
  word = (((word & 0x000000FF000000FF) * (100 + (1000000ULL << 32))) +
          (((word >> 16) & 0x000000FF000000FF) * (1 + (10000ULL << 32)))) >>
         32;
  return static_cast<int64_t>(word);
}

// Whether the element closes at rest[at]: an apostrophe, then a semicolon
// or the end.
bool closes_element(std::string_view rest, size_t at) {
  return at < rest.size() && rest[at] == '\'' && (at + 1 == rest.size() || rest[at + 1] == ';');
}

// For the kind-0 value starting at rest[at], when it is a number that the
// element's closing follows: its value as parse_double reads it, and the
// end of its text; npos otherwise. The number is read on the raw text, in
// one pass: an optional minus and up to 15 digits directly (such integers
// are exact doubles), any other number from its first digit with
// from_chars.
size_t number_value(std::string_view rest, size_t at, double* number) {
  const size_t n = rest.size();
  const bool negative = at < n && rest[at] == '-';
  size_t i = at + negative;
  const size_t first_digit = i;
  uint64_t integer = 0;
  if constexpr (std::endian::native == std::endian::little) {
    for (int64_t eight; i + 8 <= n && (eight = eight_digits(rest.data() + i)) >= 0; i += 8)
      integer = integer * 100'000'000 + static_cast<uint64_t>(eight);
  }
  for (unsigned digit; i < n && (digit = static_cast<unsigned char>(rest[i]) - unsigned{'0'}) <= 9; ++i)
    integer = integer * 10 + digit;  // wraps harmlessly beyond 19 digits
  const size_t digits = i - first_digit;
  if (digits >= 1 && digits <= 15 && closes_element(rest, i)) {
    // The sign bit set without a branch (see write_int); "-0" gives -0.
    const uint64_t bits = std::bit_cast<uint64_t>(static_cast<double>(integer)) | uint64_t{negative} << 63;
    *number = std::bit_cast<double>(bits);
    return i;
  }
  const char* const end = read_unsigned_number(rest.data() + first_digit, rest.data() + n, negative, number);
  if (!end || !closes_element(rest, static_cast<size_t>(end - rest.data()))) return std::string_view::npos;
  return static_cast<size_t>(end - rest.data());
}

// The element starting at rest[start] when it is "'<digit>,<value>'" with a
// value free of double quotes, semicolons and apostrophes, followed by a
// semicolon or the end: the cut and the reading that the general path would
// make, and for kind 0 the number, if the value is one. Returns the end of
// the element's piece, or npos when the fast path does not apply.
size_t plain_element(std::string_view rest, size_t start, ElementText* element) {
  const size_t n = rest.size();
  if (start + 3 >= n || rest[start] != '\'' || rest[start + 1] < '0' || rest[start + 1] > '9' ||
      rest[start + 2] != ',')
    return std::string_view::npos;
  element->kind = rest[start + 1] - '0';
  const size_t value_start = start + 3;
  size_t i = element->kind == 0 ? number_value(rest, value_start, &element->number) : std::string_view::npos;
  if (i != std::string_view::npos) {
    element->has_number = true;
  } else {
    i = value_start;
    while (i < n && !kEndsPlainValue[static_cast<unsigned char>(rest[i])]) ++i;
    if (!closes_element(rest, i)) return std::string_view::npos;
  }
  element->value = rest.substr(value_start, i - value_start);
  return i + 1;
}

}  // namespace

const char* read_array_text(std::string_view text, std::vector<ElementText>& elements) {
  elements.clear();
  std::string_view rest;
  if (!strip_quotes(text, &rest)) return "not quoted";
  size_t start = 0;
  while (start < rest.size()) {
    ElementText element;
    size_t end = plain_element(rest, start, &element);
    if (end == std::string_view::npos) {
      // The general cut: the next semicolon outside double quotes.
      bool quoted = false;
      end = start;
      while (end < rest.size() && (quoted || rest[end] != ';')) {
        if (rest[end] == '"') quoted = !quoted;
        ++end;
      }
      element = read_element(rest.substr(start, end - start));
    }
    elements.push_back(element);
    start = end + 1;  // past the semicolon; beyond the end when there is none
  }
  return nullptr;
}
