// The renderer application: App hands CEF its one RenderProcessHandler,
// which keeps each browser's registered host functions, installs them on the
// window object of every new main-frame script context, and serves the
// "eval" and "function" messages of the browser process.
#pragma once

#include <cstdint>
#include <map>

#include "app/ref_count.h"
#include "app/v8_handler.h"
#include "socket/channel_secret.h"
#include "utils/cef_string.h"

struct BrowserState {
  // Function id to the name it is installed under, in ascending id order.
  std::map<int32_t, utils::UserFree16> functions;
  // The handler of the live main-frame context, holding the entry's
  // reference; null when there is none.
  CefRef<cef_v8handler_t> handler;
};

struct RenderProcessHandler : RefCounted<RenderProcessHandler, cef_render_process_handler_t> {
  RenderProcessHandler();
  // Browser identifier to its state, in ascending order.
  std::map<int32_t, BrowserState> browsers;
};

struct App : RefCounted<App, cef_app_t> {
  // A fully built App (the constructor stands for App::new): both counts 0,
  // no browsers. It lives as long as the process.
  App();
  RenderProcessHandler render_process_handler;
};

// Installs one host function on `window` under `name`, unless a property of
// that name exists; the function value's own name is the decimal id.
void register_function(int32_t id, const cef_string_t* name, cef_v8value_t* window,
                       V8Handler* handler);

// Evaluates `script` in the browser's main-frame context and sends the
// value (or the exception's message, kind Error) to `port`, with the
// waiting side's `secret`.
void eval_script(cef_browser_t* browser, const cef_string_t* script, int32_t port,
                 const ChannelSecret& secret);
