#include "app/marshal/v8_marshal.h"

#include <vector>

#include "app/marshal/array_text.h"
#include "app/marshal/number_text.h"
#include "utils/cef_string.h"
#include "utils/fatal.h"

namespace {

// The text for anything that is not convertible: objects, functions, dates,
// array buffers, arrays that contain themselves or nest too deep, and
// values whose text would be too large.
constexpr std::string_view kNotConvertible = "51";

bool test(cef_v8value_t* value, int(CEF_CALLBACK* cef_v8value_t::*member)(cef_v8value_t*)) {
  auto call = value->*member;
  return call && call(value) == 1;
}

// Bounds the text of one conversion. Arrays that share their sub-arrays or
// strings (a = [a, a], over and over) stay small in the page but have a
// text exponential in their depth; past this size the whole value is not
// convertible. Large genuine data (a 2000 x 2000 number matrix is some
// 40 MB) stays well within it.
constexpr size_t kMaxConvertedText = size_t{256} << 20;  // bytes

class ValueWriter {
 public:
  ValueWriter(std::string& out, cef_v8context_t* context) : out_(out), context_(context) {}

  // Appends the text of `value` and returns its kind. As an element of
  // `array`, the value is written with its element opening.
  ReturnType append(cef_v8value_t* value, ArrayTextWriter* array = nullptr) {
    if (test(value, &cef_v8value_t::is_null) || test(value, &cef_v8value_t::is_undefined))
      return open(array, ReturnType::Null);
    if (test(value, &cef_v8value_t::is_bool)) {
      open(array, ReturnType::Bool);
      out_ += value->get_bool_value(value) ? '1' : '0';
      return ReturnType::Bool;
    }
    if (test(value, &cef_v8value_t::is_int)) return integer(array, value->get_int_value(value));
    if (test(value, &cef_v8value_t::is_uint)) return integer(array, value->get_uint_value(value));
    if (test(value, &cef_v8value_t::is_double)) {
      const double number = value->get_double_value(value);
      if (array) array->number_element(number);
      else append_double(out_, number);
      return ReturnType::Double;
    }
    if (test(value, &cef_v8value_t::is_string)) {
      open(array, ReturnType::Str);
      append_string(value);
      return ReturnType::Str;
    }
    if (test(value, &cef_v8value_t::is_array) && !on_path(value) &&
        path_.size() < static_cast<size_t>(kMaxArrayDepth)) {
      open(array, ReturnType::Array);
      append_array(value);
      return ReturnType::Array;
    }
    open(array, ReturnType::Error);
    out_ += kNotConvertible;
    return ReturnType::Error;
  }

  // True when the text grew beyond the limits; it is then incomplete.
  bool too_large() const { return too_large_; }

 private:
  static ReturnType open(ArrayTextWriter* array, ReturnType kind) {
    if (array) array->begin_element(kind);
    return kind;
  }

  ReturnType integer(ArrayTextWriter* array, int64_t value) {
    if (array) array->int_element(value);
    else append_int(out_, value);
    return ReturnType::Double;
  }

  void append_string(cef_v8value_t* value) {
    utils::UserFree16 utf16(value->get_string_value(value));
    if (!utf16) return;
    utils::UserFree8 utf8;
    utf8.assign(utf16.get());
    if (const char* text = utf8.c_str()) out_ += text;  // ends at a U+0000
  }

  // An array that holds itself (directly or deeper down) would be written
  // for ever.
  bool on_path(cef_v8value_t* value) {
    for (cef_v8value_t* outer : path_) {
      if (outer == value) return true;
      if (outer->is_same && outer->is_same(outer, pass_borrowed(value)))
        return true;
    }
    return false;
  }

  void append_array(cef_v8value_t* array) {
    if (context_) check_one("enter", context_->enter(context_));
    path_.push_back(array);
    ArrayTextWriter writer(out_);
    for (int i = 0; i < kMaxArrayElements && !too_large_; ++i) {
      auto element = CefRef<cef_v8value_t>::adopt(array->get_value_byindex(array, i));
      if (!element || test(element.get(), &cef_v8value_t::is_undefined)) break;
      append(element.get(), &writer);
      // Checked after the element, so that a large string counts at once.
      too_large_ = too_large_ || out_.size() > kMaxConvertedText;
    }
    writer.finish();
    path_.pop_back();
    if (context_) check_one("exit", context_->exit(context_));
  }

  static void check_one(std::string_view what, int result) {
    if (result != 1) utils::fatal_not_equal(what, result, 1);
  }

  std::string& out_;
  cef_v8context_t* context_;
  std::vector<cef_v8value_t*> path_;  // the arrays being written, outermost first
  bool too_large_ = false;
};

MadeValue failed(std::string_view error) { return {{}, std::string(error)}; }

MadeValue made(cef_v8value_t* value) {
  if (!value) return failed("no V8 context");
  return {CefRef<cef_v8value_t>::adopt(value), {}};
}

MadeValue make_value(ReturnType kind, std::string_view text, int depth);

MadeValue make_array(std::string_view text, int depth) {
  if (depth >= kMaxArrayDepth) return failed("array nested too deep");
  std::vector<ElementText> elements;
  if (const char* error = read_array_text(text, elements)) return failed(error);
  MadeValue array = made(cef_v8value_create_array(static_cast<int>(elements.size())));
  if (!array.value) return array;
  cef_v8value_t* target = array.value.get();
  for (size_t i = 0; i < elements.size(); ++i) {
    const ElementText& element = elements[i];
    if (element.error()) return failed(element.error());
    const ReturnType kind = ReturnType::from(element.kind);
    MadeValue value = element.has_number                ? made(cef_v8value_create_double(element.number))
                      : kind.byte() > ReturnType::Array ? failed("invalid elem type")
                                                        : make_value(kind, element.value, depth + 1);
    if (!value.value) return failed("invalid elem type");
    if (target->set_value_byindex(target, static_cast<int>(i), value.value.pass()) != 1)
      return failed("failed to set v8array index");
  }
  return array;
}

MadeValue make_value(ReturnType kind, std::string_view text, int depth) {
  switch (kind.byte()) {
    case ReturnType::Double: {
      const std::optional<double> number = parse_double(text);
      return number ? made(cef_v8value_create_double(*number)) : failed("cannot parse f64");
    }
    case ReturnType::Bool: {
      const std::optional<int32_t> integer = parse_i32(text);
      return integer ? made(cef_v8value_create_bool(*integer != 0)) : failed("cannot parse i32");
    }
    case ReturnType::Str: {
      const utils::CefString string = utils::cef_string(text);
      return made(cef_v8value_create_string(string.get()));
    }
    case ReturnType::Null:
      return made(cef_v8value_create_null());
    case ReturnType::Array:
      return make_array(text, depth);
    default:
      return failed(text);
  }
}

}  // namespace

ReturnText v8value_to_return(cef_v8value_t* value, cef_v8context_t* context) {
  ReturnText result;
  ValueWriter writer(result.text, context);
  result.kind = writer.append(value);
  // A fresh text, so that the large one's storage goes now.
  if (writer.too_large()) return {std::string(kNotConvertible), ReturnType::Error};
  return result;
}

MadeValue return_to_v8value(ReturnType kind, std::string_view text) {
  return make_value(kind, text, 0);
}
