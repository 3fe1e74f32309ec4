// Texts of values as the host may send them: array texts walked as
// return_to_v8value walks them (without V8), numbers and integers. Every
// number that reads writes back to a text that reads to the same number.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "app/marshal/array_text.h"
#include "app/marshal/number_text.h"

namespace {

void check_number(std::string_view text) {
  const std::optional<double> value = parse_double(text);
  if (!value) return;
  std::string written;
  append_double(written, *value);
  if (written.find_first_of("eE") != std::string::npos) __builtin_trap();
  const std::optional<double> again = parse_double(written);
  if (!again) __builtin_trap();
  if (std::isnan(*value) ? !std::isnan(*again) : *again != (*value == 0 ? 0.0 : *value)) __builtin_trap();
}

bool same(const ElementText& a, const ElementText& b) {
  if (!a.error() || !b.error()) return !a.error() && !b.error() && a.kind == b.kind && a.value == b.value;
  return std::string_view(a.error()) == b.error();
}

void check_array(std::string_view text, int depth) {
  if (depth >= kMaxArrayDepth) return;
  // The one-pass reading and its fast path agree with cutting and then
  // reading each element.
  std::vector<ElementText> elements;
  const char* error = read_array_text(text, elements);
  const ArrayPieces pieces = split_array_text(text);
  if (std::string_view(error ? error : "") != pieces.error || elements.size() != pieces.elements.size())
    __builtin_trap();
  for (size_t i = 0; i < pieces.elements.size(); ++i)
    if (!same(elements[i], read_element(pieces.elements[i]))) __builtin_trap();
  for (const ElementText& element : elements) {
    if (element.error()) return;
    // A number read while cutting is the one parse_double reads.
    if (element.has_number) {
      const std::optional<double> parsed = parse_double(element.value);
      if (element.kind != 0 || !parsed || std::signbit(*parsed) != std::signbit(element.number) ||
          (std::isnan(*parsed) ? !std::isnan(element.number) : *parsed != element.number))
        __builtin_trap();
    }
    switch (ReturnType::from(element.kind).byte()) {
      case ReturnType::Double:
        check_number(element.value);
        break;
      case ReturnType::Bool:
        parse_i32(element.value);
        break;
      case ReturnType::Array:
        check_array(element.value, depth + 1);
        break;
      default:
        break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  check_number(text);
  if (const std::optional<int32_t> integer = parse_i32(text)) {
    std::string written;
    append_int(written, *integer);
    if (parse_i32(written) != integer) __builtin_trap();
  }
  check_array(text, 0);
  // Any double's bits: written plainly, read back exactly.
  if (size >= sizeof(double)) {
    double value;
    std::memcpy(&value, data, sizeof value);
    std::string written;
    append_double(written, value);
    check_number(written);
  }
  return 0;
}
