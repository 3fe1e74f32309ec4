#include "v8/v8_value.h"

#include <atomic>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "string_util.h"
#include "v8/js_util.h"
#include "v8/v8_context.h"
#include "v8/v8_exception.h"
#include "v8/v8_function.h"

namespace cefwork {
namespace {

std::atomic<int> live_values{0};

bool is_int32(double d) {
  return d >= INT32_MIN && d <= INT32_MAX && d == std::trunc(d) && !(d == 0 && std::signbit(d));
}
bool is_uint32(double d) { return d >= 0 && d <= UINT32_MAX && d == std::trunc(d) && !std::signbit(d); }

// ECMAScript ToUint32: the integer part modulo 2^32.
uint32_t to_uint32(double d) {
  if (!std::isfinite(d)) return 0;
  double m = std::fmod(std::trunc(d), 4294967296.0);
  if (m < 0) m += 4294967296.0;
  return static_cast<uint32_t>(m);
}

// Takes over the reference an argument carries.
class Adopted {
 public:
  explicit Adopted(cef_v8value_t* value) : value_(value ? V8Value::from(value) : nullptr) {}
  ~Adopted() {
    if (value_) value_->release();
  }
  Adopted(const Adopted&) = delete;
  Adopted& operator=(const Adopted&) = delete;
  V8Value* operator->() const { return value_; }
  V8Value* get() const { return value_; }

 private:
  V8Value* value_;
};

}  // namespace

// The cef_v8value_t members, with access to the value's fields.
struct V8ValueMembers {
  static V8Value* of(cef_v8value_t* self) { return V8Value::from(self); }
  static bool number(cef_v8value_t* self, double* out) {
    V8Value* v = of(self);
    if (v->type_ != V8Value::Type::Number) return false;
    *out = v->number_;
    return true;
  }
  // The held object and its context; false for anything else.
  static bool object(cef_v8value_t* self, JSGlobalContextRef* context, JSObjectRef* object) {
    V8Value* v = of(self);
    if (!v->is_object()) return false;
    *context = v->context_;
    *object = v->object();
    return true;
  }
  static bool object_test(cef_v8value_t* self, bool (*test)(JSContextRef, JSObjectRef)) {
    JSGlobalContextRef context = nullptr;
    JSObjectRef object = nullptr;
    return V8ValueMembers::object(self, &context, &object) && test(context, object);
  }

  static int CEF_CALLBACK is_valid(cef_v8value_t*) { return 1; }
  static int CEF_CALLBACK is_undefined(cef_v8value_t* self) { return of(self)->type_ == V8Value::Type::Undefined; }
  static int CEF_CALLBACK is_null(cef_v8value_t* self) { return of(self)->type_ == V8Value::Type::Null; }
  static int CEF_CALLBACK is_bool(cef_v8value_t* self) { return of(self)->type_ == V8Value::Type::Bool; }
  static int CEF_CALLBACK is_int(cef_v8value_t* self) {
    double d;
    return number(self, &d) && is_int32(d);
  }
  static int CEF_CALLBACK is_uint(cef_v8value_t* self) {
    double d;
    return number(self, &d) && is_uint32(d);
  }
  static int CEF_CALLBACK is_double(cef_v8value_t* self) { return of(self)->type_ == V8Value::Type::Number; }
  static int CEF_CALLBACK is_date(cef_v8value_t* self) {
    return object_test(self, [](JSContextRef c, JSObjectRef o) { return JSValueIsDate(c, o); });
  }
  static int CEF_CALLBACK is_string(cef_v8value_t* self) { return of(self)->type_ == V8Value::Type::String; }
  static int CEF_CALLBACK is_object(cef_v8value_t* self) { return of(self)->is_object(); }
  static int CEF_CALLBACK is_array(cef_v8value_t* self) {
    return object_test(self, [](JSContextRef c, JSObjectRef o) { return JSValueIsArray(c, o); });
  }
  static int CEF_CALLBACK is_array_buffer(cef_v8value_t* self) {
    return object_test(self, [](JSContextRef c, JSObjectRef o) {
      return JSValueGetTypedArrayType(c, o, nullptr) == kJSTypedArrayTypeArrayBuffer;
    });
  }
  static int CEF_CALLBACK is_function(cef_v8value_t* self) {
    return object_test(self, [](JSContextRef c, JSObjectRef o) { return JSObjectIsFunction(c, o); });
  }
  static int CEF_CALLBACK is_same(cef_v8value_t* self, cef_v8value_t* that_struct) {
    Adopted that(that_struct);
    if (!that.get()) return 0;
    V8Value* a = of(self);
    V8Value* b = that.get();
    if (a->type_ != b->type_) return 0;
    switch (a->type_) {
      case V8Value::Type::Undefined:
      case V8Value::Type::Null:
        return 1;
      case V8Value::Type::Bool:
        return a->bool_ == b->bool_;
      case V8Value::Type::Number:
        return a->number_ == b->number_;
      case V8Value::Type::String:
        return a->string_ == b->string_;
      case V8Value::Type::Held:
        return JSValueIsStrictEqual(a->context_, a->held_, b->held_);
    }
    return 0;
  }

  static int CEF_CALLBACK get_bool_value(cef_v8value_t* self) {
    return of(self)->type_ == V8Value::Type::Bool && of(self)->bool_;
  }
  static int32_t CEF_CALLBACK get_int_value(cef_v8value_t* self) {
    double d;
    return number(self, &d) ? static_cast<int32_t>(to_uint32(d)) : 0;
  }
  static uint32_t CEF_CALLBACK get_uint_value(cef_v8value_t* self) {
    double d;
    return number(self, &d) ? to_uint32(d) : 0;
  }
  static double CEF_CALLBACK get_double_value(cef_v8value_t* self) {
    double d;
    return number(self, &d) ? d : 0;
  }
  static cef_time_t CEF_CALLBACK get_date_value(cef_v8value_t* self) {
    cef_time_t time{};
    if (is_date(self)) {
      JSGlobalContextRef context = nullptr;
      JSObjectRef date = nullptr;
      object(self, &context, &date);
      const double ms = JSValueToNumber(context, date, nullptr);
      if (std::isfinite(ms)) cef_time_from_doublet(ms / 1000.0, &time);
    }
    return time;
  }
  static cef_string_userfree_t CEF_CALLBACK get_string_value(cef_v8value_t* self) {
    V8Value* v = of(self);
    return v->type_ == V8Value::Type::String ? userfree(std::u16string_view(v->string_)) : nullptr;
  }
  static int CEF_CALLBACK is_user_created(cef_v8value_t* self) { return of(self)->user_created_; }

  static int CEF_CALLBACK has_exception(cef_v8value_t* self) { return of(self)->exception_ != nullptr; }
  static cef_v8exception_t* CEF_CALLBACK get_exception(cef_v8value_t* self) {
    V8Exception* e = of(self)->exception_;
    return e ? e->share() : nullptr;
  }
  static int CEF_CALLBACK clear_exception(cef_v8value_t* self) {
    of(self)->set_exception(nullptr);
    return 1;
  }
  static int CEF_CALLBACK will_rethrow_exceptions(cef_v8value_t* self) { return of(self)->rethrow_; }
  static int CEF_CALLBACK set_rethrow_exceptions(cef_v8value_t* self, int rethrow) {
    of(self)->rethrow_ = rethrow != 0;
    return 1;
  }

  static int CEF_CALLBACK has_value_bykey(cef_v8value_t* self, const cef_string_t* key) {
    JSGlobalContextRef context = nullptr;
    JSObjectRef target = nullptr;
    if (!object(self, &context, &target)) return 0;
    js::String name(view(key));
    return JSObjectHasProperty(context, target, name.get());
  }
  static int CEF_CALLBACK has_value_byindex(cef_v8value_t* self, int index) {
    JSGlobalContextRef context = nullptr;
    JSObjectRef target = nullptr;
    if (index < 0 || !object(self, &context, &target)) return 0;
    js::String name(std::to_string(index).c_str());
    return JSObjectHasProperty(context, target, name.get());
  }
  static int CEF_CALLBACK delete_value_bykey(cef_v8value_t* self, const cef_string_t* key) {
    JSGlobalContextRef context = nullptr;
    JSObjectRef target = nullptr;
    if (!object(self, &context, &target)) return 0;
    js::String name(view(key));
    JSValueRef thrown = nullptr;
    const bool deleted = JSObjectDeleteProperty(context, target, name.get(), &thrown);
    return deleted && !thrown;
  }
  static int CEF_CALLBACK delete_value_byindex(cef_v8value_t* self, int index) {
    if (index < 0) return 0;
    const std::u16string key = utf8_to_utf16(std::to_string(index));
    cef_string_t name{const_cast<char16_t*>(key.data()), key.size(), nullptr};
    return delete_value_bykey(self, &name);
  }
  static cef_v8value_t* CEF_CALLBACK get_value_bykey(cef_v8value_t* self, const cef_string_t* key) {
    JSGlobalContextRef context = nullptr;
    JSObjectRef target = nullptr;
    if (!object(self, &context, &target)) return nullptr;
    js::String name(view(key));
    JSValueRef thrown = nullptr;
    JSValueRef value = JSObjectGetProperty(context, target, name.get(), &thrown);
    return thrown ? nullptr : &V8Value::from_js(context, value)->cef;
  }
  static cef_v8value_t* CEF_CALLBACK get_value_byindex(cef_v8value_t* self, int index) {
    JSGlobalContextRef context = nullptr;
    JSObjectRef target = nullptr;
    if (index < 0 || !object(self, &context, &target)) return nullptr;
    JSValueRef thrown = nullptr;
    JSValueRef value = JSObjectGetPropertyAtIndex(context, target, static_cast<unsigned>(index), &thrown);
    return thrown ? nullptr : &V8Value::from_js(context, value)->cef;
  }
  static int CEF_CALLBACK set_value_bykey(cef_v8value_t* self, const cef_string_t* key,
                                          cef_v8value_t* value_struct, cef_v8_propertyattribute_t attribute) {
    Adopted value(value_struct);
    JSGlobalContextRef context = nullptr;
    JSObjectRef target = nullptr;
    if (!value.get() || !object(self, &context, &target)) return 0;
    JSPropertyAttributes attributes = kJSPropertyAttributeNone;
    if (attribute & V8_PROPERTY_ATTRIBUTE_READONLY) attributes |= kJSPropertyAttributeReadOnly;
    if (attribute & V8_PROPERTY_ATTRIBUTE_DONTENUM) attributes |= kJSPropertyAttributeDontEnum;
    if (attribute & V8_PROPERTY_ATTRIBUTE_DONTDELETE) attributes |= kJSPropertyAttributeDontDelete;
    js::String name(view(key));
    JSValueRef thrown = nullptr;
    JSObjectSetProperty(context, target, name.get(), value->to_js(context), attributes, &thrown);
    return thrown == nullptr;
  }
  static int CEF_CALLBACK set_value_byindex(cef_v8value_t* self, int index, cef_v8value_t* value_struct) {
    Adopted value(value_struct);
    JSGlobalContextRef context = nullptr;
    JSObjectRef target = nullptr;
    if (index < 0 || !value.get() || !object(self, &context, &target)) return 0;
    JSValueRef thrown = nullptr;
    JSObjectSetPropertyAtIndex(context, target, static_cast<unsigned>(index), value->to_js(context), &thrown);
    return thrown == nullptr;
  }
  static int CEF_CALLBACK set_value_byaccessor(cef_v8value_t*, const cef_string_t*, cef_v8_accesscontrol_t,
                                               cef_v8_propertyattribute_t) {
    return 0;  // values have no accessors here
  }
  static int CEF_CALLBACK get_keys(cef_v8value_t*, cef_string_list_t) { return 0; }
  static int CEF_CALLBACK set_user_data(cef_v8value_t* self, cef_base_ref_counted_t* data) {
    V8Value* v = of(self);
    if (v->user_data_) v->user_data_->release(v->user_data_);
    v->user_data_ = data;  // the argument's reference is kept
    return 1;
  }
  static cef_base_ref_counted_t* CEF_CALLBACK get_user_data(cef_v8value_t* self) {
    cef_base_ref_counted_t* data = of(self)->user_data_;
    if (data) data->add_ref(data);
    return data;
  }
  static int CEF_CALLBACK get_externally_allocated_memory(cef_v8value_t*) { return 0; }
  static int CEF_CALLBACK adjust_externally_allocated_memory(cef_v8value_t*, int) { return 0; }
  static int CEF_CALLBACK get_array_length(cef_v8value_t* self) {
    if (!is_array(self)) return 0;
    JSGlobalContextRef context = nullptr;
    JSObjectRef target = nullptr;
    object(self, &context, &target);
    return static_cast<int>(js::number_property(context, target, "length", 0));
  }
  static cef_v8array_buffer_release_callback_t* CEF_CALLBACK get_array_buffer_release_callback(cef_v8value_t*) {
    return nullptr;
  }
  static int CEF_CALLBACK neuter_array_buffer(cef_v8value_t*) { return 0; }

  static cef_string_userfree_t CEF_CALLBACK get_function_name(cef_v8value_t* self) {
    V8Value* v = of(self);
    std::u16string name;
    cef_v8handler_t* handler;
    if (v->is_object() && handler_function_parts(v->context_, v->held_, &name, &handler))
      return userfree(std::u16string_view(name));
    if (!is_function(self)) return nullptr;
    JSGlobalContextRef context = nullptr;
    JSObjectRef function = nullptr;
    object(self, &context, &function);
    js::String key("name");
    return userfree(std::u16string_view(
        js::to_text(context, JSObjectGetProperty(context, function, key.get(), nullptr))));
  }
  static cef_v8handler_t* CEF_CALLBACK get_function_handler(cef_v8value_t* self) {
    V8Value* v = of(self);
    std::u16string name;
    cef_v8handler_t* handler = nullptr;
    if (!v->is_object() || !handler_function_parts(v->context_, v->held_, &name, &handler)) return nullptr;
    cefwork::add_ref(handler);
    return handler;
  }
  static cef_v8value_t* CEF_CALLBACK execute_function_with_context(
      cef_v8value_t* self, cef_v8context_t* context_struct, cef_v8value_t* receiver_struct, size_t argc,
      cef_v8value_t* const* argv) {
    // Each argument's reference is taken over.
    V8Context* chosen = context_struct ? V8Context::from(context_struct) : nullptr;
    Adopted receiver(receiver_struct);
    std::vector<std::unique_ptr<Adopted>> arguments;
    for (size_t i = 0; i < argc; ++i) arguments.push_back(std::make_unique<Adopted>(argv[i]));
    struct ReleaseContext {
      V8Context* context;
      ~ReleaseContext() {
        if (context) context->release();
      }
    } release_context{chosen};

    V8Value* function = of(self);
    if (!is_function(self)) return nullptr;
    JSContextRef context = chosen ? chosen->js() : function->context_;
    V8Context::Scope scope(chosen ? chosen : V8Context::of(context));
    std::vector<JSValueRef> values;
    for (auto& argument : arguments)
      values.push_back(argument->get() ? (*argument)->to_js(context) : JSValueMakeUndefined(context));
    JSObjectRef this_object = receiver.get() && receiver->is_object() ? receiver->object() : nullptr;
    JSValueRef thrown = nullptr;
    JSValueRef result = JSObjectCallAsFunction(context, function->object(), this_object, values.size(),
                                               values.data(), &thrown);
    function->set_exception(nullptr);
    if (thrown) {
      function->set_exception(V8Exception::from_js(context, thrown, {}, {}, 1));
      return nullptr;
    }
    return &V8Value::from_js(context, result)->cef;
  }
  static cef_v8value_t* CEF_CALLBACK execute_function(cef_v8value_t* self, cef_v8value_t* receiver, size_t argc,
                                                      cef_v8value_t* const* argv) {
    return execute_function_with_context(self, nullptr, receiver, argc, argv);
  }

  static void install(cef_v8value_t& cef) {
    cef.is_valid = &is_valid;
    cef.is_undefined = &is_undefined;
    cef.is_null = &is_null;
    cef.is_bool = &is_bool;
    cef.is_int = &is_int;
    cef.is_uint = &is_uint;
    cef.is_double = &is_double;
    cef.is_date = &is_date;
    cef.is_string = &is_string;
    cef.is_object = &is_object;
    cef.is_array = &is_array;
    cef.is_array_buffer = &is_array_buffer;
    cef.is_function = &is_function;
    cef.is_same = &is_same;
    cef.get_bool_value = &get_bool_value;
    cef.get_int_value = &get_int_value;
    cef.get_uint_value = &get_uint_value;
    cef.get_double_value = &get_double_value;
    cef.get_date_value = &get_date_value;
    cef.get_string_value = &get_string_value;
    cef.is_user_created = &is_user_created;
    cef.has_exception = &has_exception;
    cef.get_exception = &get_exception;
    cef.clear_exception = &clear_exception;
    cef.will_rethrow_exceptions = &will_rethrow_exceptions;
    cef.set_rethrow_exceptions = &set_rethrow_exceptions;
    cef.has_value_bykey = &has_value_bykey;
    cef.has_value_byindex = &has_value_byindex;
    cef.delete_value_bykey = &delete_value_bykey;
    cef.delete_value_byindex = &delete_value_byindex;
    cef.get_value_bykey = &get_value_bykey;
    cef.get_value_byindex = &get_value_byindex;
    cef.set_value_bykey = &set_value_bykey;
    cef.set_value_byindex = &set_value_byindex;
    cef.set_value_byaccessor = &set_value_byaccessor;
    cef.get_keys = &get_keys;
    cef.set_user_data = &set_user_data;
    cef.get_user_data = &get_user_data;
    cef.get_externally_allocated_memory = &get_externally_allocated_memory;
    cef.adjust_externally_allocated_memory = &adjust_externally_allocated_memory;
    cef.get_array_length = &get_array_length;
    cef.get_array_buffer_release_callback = &get_array_buffer_release_callback;
    cef.neuter_array_buffer = &neuter_array_buffer;
    cef.get_function_name = &get_function_name;
    cef.get_function_handler = &get_function_handler;
    cef.execute_function = &execute_function;
    cef.execute_function_with_context = &execute_function_with_context;
  }
};

V8Value::V8Value(Type type) : type_(type) {
  V8ValueMembers::install(cef);
  ++live_values;
}

V8Value::~V8Value() {
  set_exception(nullptr);
  if (user_data_) user_data_->release(user_data_);
  if (held_) {
    JSValueUnprotect(context_, held_);
    JSGlobalContextRelease(context_);
  }
  --live_values;
}

int V8Value::live_count() { return live_values.load(); }

void V8Value::set_exception(V8Exception* exception) {
  if (exception_) exception_->release();
  exception_ = exception;
}

bool V8Value::is_object() const { return held_ && JSValueIsObject(context_, held_); }

JSObjectRef V8Value::object() const {
  return is_object() ? JSValueToObject(context_, held_, nullptr) : nullptr;
}

V8Value* V8Value::make_undefined() { return new V8Value(Type::Undefined); }
V8Value* V8Value::make_null() { return new V8Value(Type::Null); }

V8Value* V8Value::make_bool(bool value) {
  auto* v = new V8Value(Type::Bool);
  v->bool_ = value;
  return v;
}

V8Value* V8Value::make_number(double value) {
  auto* v = new V8Value(Type::Number);
  v->number_ = value;
  return v;
}

V8Value* V8Value::make_string(std::u16string value) {
  auto* v = new V8Value(Type::String);
  v->string_ = std::move(value);
  return v;
}

V8Value* V8Value::from_js(JSContextRef context, JSValueRef value) {
  switch (JSValueGetType(context, value)) {
    case kJSTypeUndefined:
      return make_undefined();
    case kJSTypeNull:
      return make_null();
    case kJSTypeBoolean:
      return make_bool(JSValueToBoolean(context, value));
    case kJSTypeNumber:
      return make_number(JSValueToNumber(context, value, nullptr));
    case kJSTypeString:
      return make_string(js::to_text(context, value));
    default: {
      auto* v = new V8Value(Type::Held);
      v->context_ = JSGlobalContextRetain(JSContextGetGlobalContext(context));
      v->held_ = value;
      JSValueProtect(v->context_, value);
      return v;
    }
  }
}

JSValueRef V8Value::to_js(JSContextRef context) const {
  switch (type_) {
    case Type::Undefined:
      return JSValueMakeUndefined(context);
    case Type::Null:
      return JSValueMakeNull(context);
    case Type::Bool:
      return JSValueMakeBoolean(context, bool_);
    case Type::Number:
      return JSValueMakeNumber(context, number_);
    case Type::String: {
      js::String string(string_);
      return JSValueMakeString(context, string.get());
    }
    case Type::Held:
      return held_;
  }
  return JSValueMakeUndefined(context);
}

}  // namespace cefwork
