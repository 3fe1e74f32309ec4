#include "app/marshal/array_text.h"

#include <array>
#include <cstring>

#include "app/marshal/number_text.h"

namespace {

// An element's opening; after the first element it also closes the
// previous one and adds the separator. The kind digit is patched in.
constexpr std::string_view kFirstOpening = "'0,";
constexpr std::string_view kNextOpening = "';'0,";

}  // namespace

void ArrayTextWriter::begin_element() {
  const std::string_view opening = first_ ? kFirstOpening : kNextOpening;
  out_.append(opening.data(), opening.size());
  first_ = false;
  kind_at_ = out_.size() - 2;
}

void ArrayTextWriter::end_element(ReturnType kind) {
  out_[kind_at_] = static_cast<char>('0' + kind.byte());
}

void ArrayTextWriter::number_element(double value) {
  // Opening and number in one append: this is the hot path of number arrays.
  char buffer[8 + kMaxNumberText];
  const std::string_view opening = first_ ? kFirstOpening : kNextOpening;
  std::memcpy(buffer, opening.data(), opening.size());
  const size_t length = opening.size() + write_double(buffer + opening.size(), value);
  out_.append(buffer, length);
  first_ = false;
}

void ArrayTextWriter::finish() { out_.append(first_ ? "\"" : "'\"", first_ ? 1 : 2); }

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

ElementText read_element(std::string_view element) {
  ElementText result;
  std::string_view inside;
  if (!strip_quotes(element, &inside)) {
    result.error = "elem not quoted";
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
    result.error = "elem has no value";
    return result;
  }
  if (comma == 1 && inside[0] >= '0' && inside[0] <= '9') {
    result.kind = inside[0] - '0';
  } else {
    const std::optional<int32_t> kind = parse_i32(inside.substr(0, comma));
    if (!kind) {
      result.error = "cannot parse i32";
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

// The element starting at rest[start] when it is "'<digit>,<value>'" with a
// value free of double quotes, semicolons and apostrophes, followed by a
// semicolon or the end: the cut and the reading that the general path would
// make. Returns the end of the element's piece, or npos when the fast path
// does not apply.
size_t plain_element(std::string_view rest, size_t start, ElementText* element) {
  const size_t n = rest.size();
  if (start + 3 >= n || rest[start] != '\'' || rest[start + 1] < '0' || rest[start + 1] > '9' ||
      rest[start + 2] != ',')
    return std::string_view::npos;
  size_t i = start + 3;
  while (i < n && !kEndsPlainValue[static_cast<unsigned char>(rest[i])]) ++i;
  if (i == n || rest[i] != '\'' || (i + 1 < n && rest[i + 1] != ';')) return std::string_view::npos;
  element->kind = rest[start + 1] - '0';
  element->value = rest.substr(start + 3, i - start - 3);
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
