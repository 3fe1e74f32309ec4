#include "v8/js_util.h"

#include <cmath>

namespace cefwork::js {

JSContextGroupRef group() {
  // Released when the process exits, so that the engine's own memory goes
  // with it once every context is gone.
  static struct Group {
    JSContextGroupRef ref = JSContextGroupCreate();
    ~Group() { JSContextGroupRelease(ref); }
  } shared;
  return shared.ref;
}

String::String(std::u16string_view text)
    : string_(JSStringCreateWithCharacters(reinterpret_cast<const JSChar*>(text.data()), text.size())) {}

std::u16string String::text() const {
  if (!string_) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(JSStringGetCharactersPtr(string_)),
                        JSStringGetLength(string_));
}

std::u16string to_text(JSContextRef context, JSValueRef value) {
  JSValueRef exception = nullptr;
  String string(JSValueToStringCopy(context, value, &exception));
  return exception ? std::u16string() : string.text();
}

double number_property(JSContextRef context, JSValueRef object, const char* name, double fallback) {
  if (!JSValueIsObject(context, object)) return fallback;
  JSValueRef exception = nullptr;
  String key(name);
  JSValueRef value = JSObjectGetProperty(context, const_cast<JSObjectRef>(object), key.get(), &exception);
  if (exception || !JSValueIsNumber(context, value)) return fallback;
  const double number = JSValueToNumber(context, value, nullptr);
  return std::isnan(number) ? fallback : number;
}

}  // namespace cefwork::js
