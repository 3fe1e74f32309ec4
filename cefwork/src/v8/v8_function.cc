#include "v8/v8_function.h"

#include <mutex>
#include <unordered_set>
#include <vector>

#include "cef_object.h"
#include "string_util.h"
#include "v8/js_util.h"
#include "v8/v8_context.h"
#include "v8/v8_value.h"

namespace cefwork {
namespace {

struct FunctionData {
  std::u16string name;
  cef_v8handler_t* handler;  // one reference
};

// Every function's data until its finalizer runs. Functions that script
// still holds when the process ends keep theirs; the set keeps it reachable.
std::mutex functions_mutex;
std::unordered_set<FunctionData*>& functions() {
  static auto* live = new std::unordered_set<FunctionData*>();
  return *live;
}

JSValueRef call(JSContextRef context, JSObjectRef function, JSObjectRef receiver, size_t argc,
                const JSValueRef argv[], JSValueRef* exception) {
  auto* data = static_cast<FunctionData*>(JSObjectGetPrivate(function));
  if (!data || !data->handler->execute) return JSValueMakeUndefined(context);
  V8Context::Scope scope(V8Context::of(context));

  cef_string_t name{};
  assign(&name, data->name);
  // The receiver and each argument carry a reference that execute releases.
  cef_v8value_t* self =
      &V8Value::from_js(context, receiver ? receiver : JSContextGetGlobalObject(context))->cef;
  std::vector<cef_v8value_t*> arguments(argc);
  for (size_t i = 0; i < argc; ++i) arguments[i] = &V8Value::from_js(context, argv[i])->cef;

  cef_v8value_t* retval = nullptr;
  cef_string_t error{};
  data->handler->execute(data->handler, &name, self, argc, arguments.data(), &retval, &error);

  JSValueRef result = JSValueMakeUndefined(context);
  if (error.length > 0) {
    js::String message(view(&error));
    JSValueRef message_value = JSValueMakeString(context, message.get());
    if (exception) *exception = JSObjectMakeError(context, 1, &message_value, nullptr);
  } else if (retval) {
    result = V8Value::from(retval)->to_js(context);
  }
  cefwork::release(retval);
  cef_string_utf16_clear(&error);
  cef_string_utf16_clear(&name);
  return result;
}

void finalize(JSObjectRef function) {
  auto* data = static_cast<FunctionData*>(JSObjectGetPrivate(function));
  if (!data) return;
  {
    std::lock_guard<std::mutex> lock(functions_mutex);
    functions().erase(data);
  }
  cefwork::release(data->handler);
  delete data;
}

JSClassRef function_class() {
  static JSClassRef shared = [] {
    JSClassDefinition definition = kJSClassDefinitionEmpty;
    definition.className = "Function";
    definition.callAsFunction = &call;
    definition.finalize = &finalize;
    return JSClassCreate(&definition);
  }();
  return shared;
}

}  // namespace

JSObjectRef make_handler_function(JSContextRef context, std::u16string name, cef_v8handler_t* handler) {
  auto* data = new FunctionData{std::move(name), handler};
  {
    std::lock_guard<std::mutex> lock(functions_mutex);
    functions().insert(data);
  }
  return JSObjectMake(context, function_class(), data);
}

bool handler_function_parts(JSContextRef context, JSValueRef value, std::u16string* name,
                            cef_v8handler_t** handler) {
  if (!JSValueIsObjectOfClass(context, value, function_class())) return false;
  auto* data = static_cast<FunctionData*>(JSObjectGetPrivate(const_cast<JSObjectRef>(value)));
  if (!data) return false;
  *name = data->name;
  *handler = data->handler;
  return true;
}

}  // namespace cefwork
