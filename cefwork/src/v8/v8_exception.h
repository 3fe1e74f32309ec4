// cef_v8exception_t: what a script exception left behind. The message reads
// as V8 writes it: "Uncaught " and the string conversion of what was thrown
// ("Uncaught Error: boom", "Uncaught ReferenceError: Can't find variable:
// x"), as JavaScriptCore words its own errors.
#pragma once

#include <JavaScriptCore/JavaScript.h>

#include <string>
#include <string_view>

#include "cef_object.h"

namespace cefwork {

class V8Exception : public CefObject<V8Exception, cef_v8exception_t> {
 public:
  // `source` and `script_url` are the evaluated code and its name, with
  // its first line number.
  static V8Exception* from_js(JSContextRef context, JSValueRef thrown, std::u16string_view source,
                              std::u16string script_url, int first_line);
  // An exception with only a message, for failures outside script.
  static V8Exception* with_message(std::u16string message);

  const std::u16string& message() const { return message_; }

 private:
  friend class CefObject<V8Exception, cef_v8exception_t>;
  V8Exception();
  ~V8Exception() = default;

  std::u16string message_;
  std::u16string source_line_;
  std::u16string script_url_;
  int line_ = 0;
  int column_ = 0;  // 0-based, as V8 counts
};

}  // namespace cefwork
