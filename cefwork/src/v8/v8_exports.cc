// cef_v8value_create_* and the context queries of the C API. Primitives
// need no context; objects, arrays and functions are made in the current
// one and are null outside any, as in CEF.

#include <algorithm>

#include "cef/cef_capi.h"
#include "string_util.h"
#include "v8/js_util.h"
#include "v8/v8_context.h"
#include "v8/v8_function.h"
#include "v8/v8_value.h"

using cefwork::V8Context;
using cefwork::V8Value;

namespace {

cef_v8value_t* user_value(V8Value* value) { return value ? &value->user_created()->cef : nullptr; }

}  // namespace

extern "C" {

CEF_EXPORT cef_v8value_t* cef_v8value_create_undefined(void) { return user_value(V8Value::make_undefined()); }
CEF_EXPORT cef_v8value_t* cef_v8value_create_null(void) { return user_value(V8Value::make_null()); }
CEF_EXPORT cef_v8value_t* cef_v8value_create_bool(int value) { return user_value(V8Value::make_bool(value != 0)); }
CEF_EXPORT cef_v8value_t* cef_v8value_create_int(int32_t value) { return user_value(V8Value::make_number(value)); }
CEF_EXPORT cef_v8value_t* cef_v8value_create_uint(uint32_t value) { return user_value(V8Value::make_number(value)); }
CEF_EXPORT cef_v8value_t* cef_v8value_create_double(double value) { return user_value(V8Value::make_number(value)); }

CEF_EXPORT cef_v8value_t* cef_v8value_create_string(const cef_string_t* value) {
  return user_value(V8Value::make_string(cefwork::view(value)));
}

CEF_EXPORT cef_v8value_t* cef_v8value_create_array(int length) {
  V8Context* context = V8Context::current();
  if (!context) return nullptr;
  JSContextRef js = context->js();
  JSObjectRef array = JSObjectMakeArray(js, 0, nullptr, nullptr);
  if (!array) return nullptr;
  cefwork::js::String key("length");
  JSObjectSetProperty(js, array, key.get(), JSValueMakeNumber(js, std::max(length, 0)),
                      kJSPropertyAttributeNone, nullptr);
  return user_value(V8Value::from_js(js, array));
}

CEF_EXPORT cef_v8value_t* cef_v8value_create_object(cef_v8accessor_t* accessor,
                                                    cef_v8interceptor_t* interceptor) {
  // Accessors and interceptors are not supported; their references are
  // taken over and dropped.
  cefwork::release(accessor);
  cefwork::release(interceptor);
  V8Context* context = V8Context::current();
  if (!context) return nullptr;
  return user_value(V8Value::from_js(context->js(), JSObjectMake(context->js(), nullptr, nullptr)));
}

CEF_EXPORT cef_v8value_t* cef_v8value_create_function(const cef_string_t* name, cef_v8handler_t* handler) {
  V8Context* context = V8Context::current();
  if (!handler) return nullptr;
  if (!context) {
    cefwork::release(handler);
    return nullptr;
  }
  JSObjectRef function = cefwork::make_handler_function(context->js(), cefwork::view(name), handler);
  return user_value(V8Value::from_js(context->js(), function));
}

CEF_EXPORT cef_v8context_t* cef_v8context_get_current_context(void) {
  V8Context* context = V8Context::current();
  return context ? context->share() : nullptr;
}

CEF_EXPORT cef_v8context_t* cef_v8context_get_entered_context(void) {
  return cef_v8context_get_current_context();
}

CEF_EXPORT int cef_v8context_in_context(void) { return V8Context::current() != nullptr; }

}  // extern "C"
