#include "v8/v8_context.h"

#include <atomic>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "string_util.h"
#include "v8/js_util.h"
#include "v8/v8_exception.h"
#include "v8/v8_value.h"

namespace cefwork {
namespace {

std::mutex registry_mutex;
std::unordered_map<JSGlobalContextRef, V8Context*>& registry() {
  static auto* contexts = new std::unordered_map<JSGlobalContextRef, V8Context*>();
  return *contexts;
}

thread_local std::vector<V8Context*> entered;

V8Context* self_of(cef_v8context_t* self) { return V8Context::from(self); }

cef_browser_t* CEF_CALLBACK get_browser(cef_v8context_t* self) {
  cef_browser_t* browser = self_of(self)->browser();
  cefwork::add_ref(browser);
  return browser;
}

cef_frame_t* CEF_CALLBACK get_frame(cef_v8context_t* self) {
  cef_frame_t* frame = self_of(self)->frame();
  cefwork::add_ref(frame);
  return frame;
}

int CEF_CALLBACK is_valid(cef_v8context_t* self) { return self_of(self)->valid(); }

cef_task_runner_t* CEF_CALLBACK get_task_runner(cef_v8context_t*) { return nullptr; }

cef_v8value_t* CEF_CALLBACK get_global(cef_v8context_t* self) {
  V8Context* context = self_of(self);
  return &V8Value::from_js(context->js(), JSContextGetGlobalObject(context->js()))->cef;
}

int CEF_CALLBACK enter(cef_v8context_t* self) {
  V8Context* context = self_of(self);
  if (!context->valid()) return 0;
  context->push();
  return 1;
}

int CEF_CALLBACK exit(cef_v8context_t* self) { return self_of(self)->pop(); }

int CEF_CALLBACK is_same(cef_v8context_t* self, cef_v8context_t* that) {
  const bool same = that && self_of(that)->js() == self_of(self)->js();
  if (that) self_of(that)->release();  // arguments carry a reference for the callee
  return same;
}

int CEF_CALLBACK eval(cef_v8context_t* self, const cef_string_t* code, const cef_string_t* script_url,
                      int start_line, cef_v8value_t** retval, cef_v8exception_t** exception) {
  if (retval) *retval = nullptr;
  if (exception) *exception = nullptr;
  V8Context* context = self_of(self);
  const std::u16string source = view(code);
  if (!context->valid() || source.empty() || !retval || !exception) return 0;

  const std::u16string url = view(script_url);
  const int first_line = start_line > 0 ? start_line : 1;
  V8Context::Scope scope(context);
  js::String script(source);
  js::String url_string(url);
  JSValueRef thrown = nullptr;
  JSValueRef result = JSEvaluateScript(context->js(), script.get(), nullptr,
                                       url.empty() ? nullptr : url_string.get(), first_line, &thrown);
  if (thrown) {
    *exception = &V8Exception::from_js(context->js(), thrown, source, url, first_line)->cef;
    return 0;
  }
  *retval = &V8Value::from_js(context->js(), result)->cef;
  return 1;
}

}  // namespace

namespace {
std::atomic<int> live_contexts{0};
}  // namespace

int V8Context::live_count() { return live_contexts.load(); }

V8Context::V8Context(cef_browser_t* browser, cef_frame_t* frame)
    : context_(JSGlobalContextCreateInGroup(js::group(), nullptr)), browser_(browser), frame_(frame) {
  ++live_contexts;
  cefwork::add_ref(browser_);
  cefwork::add_ref(frame_);
  JSObjectRef global = JSContextGetGlobalObject(context_);
  js::String window("window");
  JSObjectSetProperty(context_, global, window.get(), global,
                      kJSPropertyAttributeReadOnly | kJSPropertyAttributeDontDelete, nullptr);

  cef.get_task_runner = &get_task_runner;
  cef.is_valid = &is_valid;
  cef.get_browser = &get_browser;
  cef.get_frame = &get_frame;
  cef.get_global = &get_global;
  cef.enter = &enter;
  cef.exit = &exit;
  cef.is_same = &is_same;
  cef.eval = &eval;

  std::lock_guard<std::mutex> lock(registry_mutex);
  registry()[context_] = this;
}

V8Context::~V8Context() {
  --live_contexts;
  {
    std::lock_guard<std::mutex> lock(registry_mutex);
    registry().erase(context_);
  }
  cefwork::release(browser_);
  cefwork::release(frame_);
  // Values made in this context hold the JavaScriptCore context themselves.
  JSGlobalContextRelease(context_);
}

V8Context* V8Context::create(cef_browser_t* browser, cef_frame_t* frame) {
  return new V8Context(browser, frame);
}

V8Context* V8Context::of(JSContextRef context) {
  std::lock_guard<std::mutex> lock(registry_mutex);
  auto it = registry().find(JSContextGetGlobalContext(context));
  return it == registry().end() ? nullptr : it->second;
}

V8Context* V8Context::current() { return entered.empty() ? nullptr : entered.back(); }

void V8Context::push() {
  add_ref();
  entered.push_back(this);
}

bool V8Context::pop() {
  if (entered.empty() || entered.back() != this) return false;
  entered.pop_back();
  release();
  return true;
}

}  // namespace cefwork
