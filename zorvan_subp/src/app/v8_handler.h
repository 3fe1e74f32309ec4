// V8Handler: the handler behind the host functions installed in one
// main-frame script context. Its execute packs a call from page script into
// a "function_call" message to the browser process, waits for the answer on
// a loopback listener (serving evaluation requests meanwhile) and returns the
// value or throws the error.
//
// Owned by reference count: the browser's state holds one reference while
// the context lives, each function value made from it holds one; the storage
// is reclaimed when the count reaches 0.
#pragma once

#include "app/ref_count.h"
#include "app/cef_ref.h"

struct V8Handler : RefCounted<V8Handler, cef_v8handler_t> {
  // The main frame whose context made the handler; dropped when that
  // context is released.
  CefRef<cef_frame_t> frame;

  // A new handler holding a reference to `frame`, with ref_count 1.
  static V8Handler* create(cef_frame_t* frame);

  void on_zero_references() { delete this; }

 private:
  friend struct RefCounted<V8Handler, cef_v8handler_t>;
  V8Handler();
  ~V8Handler() = default;
};
