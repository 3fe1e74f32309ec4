// cef_v8context_t on a JavaScriptCore global context.
//
// The renderer makes one context per main-frame document with create();
// tests make one in their own process through the test hook. `window` is
// the global object. A thread keeps a stack of entered contexts: enter()
// and exit() push and pop it, and eval and calls from script into a
// function made from a cef_v8handler_t run with their context pushed. The
// top of the stack is both the current and the entered context.
#pragma once

#include <JavaScriptCore/JavaScript.h>

#include "cef_object.h"

namespace cefwork {

class V8Context : public CefObject<V8Context, cef_v8context_t> {
 public:
  // A new context with one reference for the caller. It holds a reference
  // to `browser` and `frame` (either may be null) and hands them out from
  // get_browser and get_frame.
  static V8Context* create(cef_browser_t* browser, cef_frame_t* frame);

  // Our context for a JavaScriptCore context, or null (borrowed).
  static V8Context* of(JSContextRef context);
  // The top of this thread's stack, or null (borrowed).
  static V8Context* current();
  // Contexts that exist in this process.
  static int live_count();

  JSGlobalContextRef js() const { return context_; }
  cef_browser_t* browser() const { return browser_; }
  cef_frame_t* frame() const { return frame_; }
  bool valid() const { return valid_; }
  // The document is gone: is_valid answers 0, entering and eval fail.
  void invalidate() { valid_ = false; }

  void push();
  // Pops this context; false when it is not the top of the stack.
  bool pop();

  // Keeps a context pushed for the lifetime of the scope (no-op for null).
  class Scope {
   public:
    explicit Scope(V8Context* context) : context_(context) {
      if (context_) context_->push();
    }
    ~Scope() {
      if (context_) context_->pop();
    }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    V8Context* context_;
  };

 private:
  friend class CefObject<V8Context, cef_v8context_t>;
  V8Context(cef_browser_t* browser, cef_frame_t* frame);
  ~V8Context();

  JSGlobalContextRef context_;
  cef_browser_t* browser_;
  cef_frame_t* frame_;
  bool valid_ = true;
};

}  // namespace cefwork
