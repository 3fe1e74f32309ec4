// JavaScriptCore helpers of the work-alike's V8 API: the one context group
// of the process (so values pass between its contexts, as within one V8
// isolate) and UTF-16 conversions of JavaScriptCore strings.
#pragma once

#include <JavaScriptCore/JavaScript.h>

#include <string>
#include <string_view>

namespace cefwork::js {

JSContextGroupRef group();

// Owner of one JSStringRef.
class String {
 public:
  explicit String(JSStringRef string) : string_(string) {}
  explicit String(std::u16string_view text);
  explicit String(const char* utf8) : string_(JSStringCreateWithUTF8CString(utf8)) {}
  ~String() {
    if (string_) JSStringRelease(string_);
  }
  String(const String&) = delete;
  String& operator=(const String&) = delete;

  JSStringRef get() const { return string_; }
  std::u16string text() const;

 private:
  JSStringRef string_;
};

// The string conversion of any value (its toString), empty when that throws.
std::u16string to_text(JSContextRef context, JSValueRef value);

// A property of an object as a number, or `fallback` when absent.
double number_property(JSContextRef context, JSValueRef object, const char* name, double fallback);

}  // namespace cefwork::js
