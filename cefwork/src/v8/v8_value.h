// cef_v8value_t on JavaScriptCore values.
//
// As in CEF, primitives (undefined, null, booleans, numbers, strings) are
// held as plain data and need no context; everything else (objects, arrays,
// functions, symbols) is a protected JavaScriptCore value together with a
// reference to its global context, so it stays usable while held. All
// contexts share one context group, so a value may be handed to any of
// them.
//
// Numbers answer the type tests as V8 does: is_int for 32-bit signed
// integers, is_uint for 32-bit unsigned ones (5 is both, 3000000000 only
// the second, -0 neither), is_double for every number.
//
// References follow CEF's C API: every object passed as an argument (a
// value to set, the `that` of is_same, the receiver and arguments of
// execute_function, a handler for a function) carries one reference that
// the callee takes over; every object returned carries one for the caller.
#pragma once

#include <JavaScriptCore/JavaScript.h>

#include <string>

#include "cef_object.h"

namespace cefwork {

class V8Context;
class V8Exception;

class V8Value : public CefObject<V8Value, cef_v8value_t> {
 public:
  enum class Type { Undefined, Null, Bool, Number, String, Held };

  static V8Value* make_undefined();
  static V8Value* make_null();
  static V8Value* make_bool(bool value);
  static V8Value* make_number(double value);
  static V8Value* make_string(std::u16string value);
  // A value read from script in `context`.
  static V8Value* from_js(JSContextRef context, JSValueRef value);

  // The value for script running in `context`.
  JSValueRef to_js(JSContextRef context) const;

  Type type() const { return type_; }
  bool is_object() const;
  // The held object (null for primitives and symbols) and its context.
  JSObjectRef object() const;
  JSGlobalContextRef context() const { return context_; }

  // Marks a value made by a cef_v8value_create_* call.
  V8Value* user_created() {
    user_created_ = true;
    return this;
  }

  // Number of values alive in this process, for balance checks in tests.
  static int live_count();

  // The exception of the last execute_function, held until cleared.
  void set_exception(V8Exception* exception);

 private:
  friend class CefObject<V8Value, cef_v8value_t>;
  explicit V8Value(Type type);
  ~V8Value();

  Type type_;
  bool bool_ = false;
  double number_ = 0;
  std::u16string string_;
  JSGlobalContextRef context_ = nullptr;  // retained, for Held values
  JSValueRef held_ = nullptr;             // protected
  bool user_created_ = false;
  bool rethrow_ = false;
  V8Exception* exception_ = nullptr;
  cef_base_ref_counted_t* user_data_ = nullptr;

  friend struct V8ValueMembers;
};

}  // namespace cefwork
