#include "app/marshal/array_text.h"

#include "app/marshal/number_text.h"

void ArrayTextWriter::begin_element() {
  if (!first_) out_ += ';';
  first_ = false;
  out_ += "'0,";
  kind_at_ = out_.size() - 2;
}

void ArrayTextWriter::end_element(ReturnType kind) {
  out_[kind_at_] = static_cast<char>('0' + kind.byte());
  out_ += '\'';
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
  bool quoted = false;
  size_t start = 0;
  for (size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] == '"') {
      quoted = !quoted;
    } else if (rest[i] == ';' && !quoted) {
      pieces.elements.push_back(rest.substr(start, i - start));
      start = i + 1;
    }
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
  bool quoted = false;
  size_t comma = std::string_view::npos;
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
  const std::optional<int32_t> kind = parse_i32(inside.substr(0, comma));
  if (!kind) {
    result.error = "cannot parse i32";
    return result;
  }
  result.kind = *kind;
  result.value = inside.substr(comma + 1);
  return result;
}
