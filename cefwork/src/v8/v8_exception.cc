#include "v8/v8_exception.h"

#include "string_util.h"
#include "v8/js_util.h"

namespace cefwork {
namespace {

V8Exception* self_of(cef_v8exception_t* self) { return V8Exception::from(self); }

// Line `line` (1-based, counted from `first_line`) of `source`.
std::u16string line_of(std::u16string_view source, int line, int first_line) {
  int current = first_line;
  size_t start = 0;
  while (current < line) {
    const size_t newline = source.find(u'\n', start);
    if (newline == std::u16string_view::npos) return {};
    start = newline + 1;
    ++current;
  }
  const size_t end = source.find(u'\n', start);
  return std::u16string(source.substr(start, end == std::u16string_view::npos ? end : end - start));
}

}  // namespace

V8Exception::V8Exception() {
  cef.get_message = [](cef_v8exception_t* self) { return userfree(self_of(self)->message_); };
  cef.get_source_line = [](cef_v8exception_t* self) { return userfree(self_of(self)->source_line_); };
  cef.get_script_resource_name = [](cef_v8exception_t* self) {
    return userfree(self_of(self)->script_url_);
  };
  cef.get_line_number = [](cef_v8exception_t* self) { return self_of(self)->line_; };
  cef.get_start_position = [](cef_v8exception_t*) { return 0; };
  cef.get_end_position = [](cef_v8exception_t*) { return 0; };
  cef.get_start_column = [](cef_v8exception_t* self) { return self_of(self)->column_; };
  cef.get_end_column = [](cef_v8exception_t* self) { return self_of(self)->column_ + 1; };
}

V8Exception* V8Exception::from_js(JSContextRef context, JSValueRef thrown, std::u16string_view source,
                                  std::u16string script_url, int first_line) {
  auto* exception = new V8Exception();
  exception->message_ = u"Uncaught " + js::to_text(context, thrown);
  exception->script_url_ = std::move(script_url);
  exception->line_ = static_cast<int>(js::number_property(context, thrown, "line", 0));
  const int column = static_cast<int>(js::number_property(context, thrown, "column", 0));
  exception->column_ = column > 0 ? column - 1 : 0;
  if (exception->line_ > 0) exception->source_line_ = line_of(source, exception->line_, first_line);
  return exception;
}

V8Exception* V8Exception::with_message(std::u16string message) {
  auto* exception = new V8Exception();
  exception->message_ = std::move(message);
  return exception;
}

}  // namespace cefwork
