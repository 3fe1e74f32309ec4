#include "app/render_process_handler.h"

#include <string>

#include "app/placeholder_url.h"
#include "socket/socket_client.h"
#include "socket/message_secret.h"
#include "app/marshal/v8_marshal.h"
#include "utils/fatal.h"

namespace {


int32_t browser_id(cef_browser_t* browser) { return browser->get_identifier(browser); }

bool is_named(const cef_string_t* name, const char* text) {
  const utils::CefString other = utils::cef_string(text);
  return cef_string_utf16_cmp(name, other.get()) == 0;
}

// Installs every registered function of `state` in `context`, in ascending
// id order.
void install_all(BrowserState& state, cef_v8context_t* context) {
  if (!context->enter(context)) return;  // nothing can be installed: skip
  const CefRef<cef_v8value_t> window = CefRef<cef_v8value_t>::adopt(context->get_global(context));
  auto* handler = V8Handler::of(state.handler.get());
  if (window) {
    for (const auto& [id, name] : state.functions) register_function(id, name.get(), window.get(), handler);
  }
  context->exit(context);
}

void CEF_CALLBACK on_context_created(cef_render_process_handler_t* self, cef_browser_t* browser,
                                     cef_frame_t* frame, cef_v8context_t* context) {
  const CefRef<cef_browser_t> b = CefRef<cef_browser_t>::adopt(browser);
  const CefRef<cef_frame_t> f = CefRef<cef_frame_t>::adopt(frame);
  const CefRef<cef_v8context_t> c = CefRef<cef_v8context_t>::adopt(context);
  if (f->is_main(f.get()) != 1) return;  // only main frames are tracked
  auto& browsers = RenderProcessHandler::of(self)->browsers;
  const int32_t id = browser_id(b.get());
  auto handler = CefRef<cef_v8handler_t>::adopt(&V8Handler::create(f.get())->cef);
  auto it = browsers.find(id);
  if (it == browsers.end()) {
    browsers[id].handler = std::move(handler);
    return;
  }
  it->second.handler = std::move(handler);
  install_all(it->second, c.get());
}

void CEF_CALLBACK on_context_released(cef_render_process_handler_t* self, cef_browser_t* browser,
                                      cef_frame_t* frame, cef_v8context_t* context) {
  const CefRef<cef_browser_t> b = CefRef<cef_browser_t>::adopt(browser);
  const CefRef<cef_frame_t> f = CefRef<cef_frame_t>::adopt(frame);
  const CefRef<cef_v8context_t> c = CefRef<cef_v8context_t>::adopt(context);
  if (f->is_main(f.get()) != 1) return;
  auto& browsers = RenderProcessHandler::of(self)->browsers;
  auto it = browsers.find(browser_id(b.get()));
  if (it == browsers.end() || !it->second.handler) return;
  V8Handler::of(it->second.handler.get())->frame.reset();
  it->second.handler.reset();  // the entry's reference; function values may hold more
}

void CEF_CALLBACK on_browser_destroyed(cef_render_process_handler_t* self, cef_browser_t* browser) {
  const CefRef<cef_browser_t> b = CefRef<cef_browser_t>::adopt(browser);
  RenderProcessHandler::of(self)->browsers.erase(browser_id(b.get()));  // frees every name
}

// "function": remember the name under the id and install it at once when
// the main frame's context is live.
void on_function_message(RenderProcessHandler& rph, cef_browser_t* browser,
                         cef_list_value_t* args) {
  const int32_t id = args->get_int(args, 0);
  utils::UserFree16 name(args->get_string(args, 1));
  BrowserState& state = rph.browsers[browser_id(browser)];
  auto [it, inserted] = state.functions.try_emplace(id, std::move(name));
  if (!inserted) it->second = std::move(name);  // the replaced name is freed
  if (!state.handler) return;
  const CefRef<cef_frame_t> frame = CefRef<cef_frame_t>::adopt(browser->get_main_frame(browser));
  if (!frame) return;
  const CefRef<cef_v8context_t> context =
      CefRef<cef_v8context_t>::adopt(frame->get_v8context(frame.get()));
  if (!context || !context->enter(context.get())) return;
  const CefRef<cef_v8value_t> window =
      CefRef<cef_v8value_t>::adopt(context->get_global(context.get()));
  if (window)
    register_function(id, it->second.get(), window.get(), V8Handler::of(state.handler.get()));
  context->exit(context.get());
}

int CEF_CALLBACK on_process_message_received(cef_render_process_handler_t* self,
                                             cef_browser_t* browser, cef_frame_t* frame,
                                             cef_process_id_t source,
                                             cef_process_message_t* message) {
  const CefRef<cef_browser_t> b = CefRef<cef_browser_t>::adopt(browser);
  const CefRef<cef_frame_t> f = CefRef<cef_frame_t>::adopt(frame);
  const CefRef<cef_process_message_t> m = CefRef<cef_process_message_t>::adopt(message);
  if (source != PID_BROWSER || !m || m->is_valid(m.get()) == 0) return 0;
  const utils::UserFree16 name(m->get_name(m.get()));
  if (is_named(name.get(), "eval")) {
    const CefRef<cef_list_value_t> args = CefRef<cef_list_value_t>::adopt(m->get_argument_list(m.get()));
    const int32_t port = args->get_int(args.get(), 0);
    args->get_int(args.get(), 1);  // sent as 0, not used
    const utils::UserFree16 script(args->get_string(args.get(), 2));
    // The waiting side's secret follows the arguments. Without one the
    // answer cannot be believed; it is sent all the same (all zeros).
    const ChannelSecret secret = announced_secret(args.get()).value_or(ChannelSecret{});
    const cef_string_t empty{};
    eval_script(b.get(), script ? script.get() : &empty, port, secret);
    return 1;
  }
  if (is_named(name.get(), "function")) {
    const CefRef<cef_list_value_t> args = CefRef<cef_list_value_t>::adopt(m->get_argument_list(m.get()));
    on_function_message(*RenderProcessHandler::of(self), b.get(), args.get());
    return 1;
  }
  return 0;
}

}  // namespace

RenderProcessHandler::RenderProcessHandler() {
  cef.on_context_created = &on_context_created;
  cef.on_context_released = &on_context_released;
  cef.on_browser_destroyed = &on_browser_destroyed;
  cef.on_process_message_received = &on_process_message_received;
}

App::App() {
  cef.get_render_process_handler = [](cef_app_t* self) {
    RenderProcessHandler& rph = App::of(self)->render_process_handler;
    Base::add_ref(&rph.cef);
    return &rph.cef;
  };
}

void register_function(int32_t id, const cef_string_t* name, cef_v8value_t* window,
                       V8Handler* handler) {
  if (!name || !handler || window->has_value_bykey(window, name) == 1) return;
  const utils::CefString function_name = utils::cef_string(std::to_string(id));
  // The handler's reference passes to the new function value.
  const CefRef<cef_v8value_t> function = CefRef<cef_v8value_t>::adopt(
      cef_v8value_create_function(function_name.get(), pass_borrowed(&handler->cef)));
  if (!function) return;
  window->set_value_bykey(window, name, function.pass(), V8_PROPERTY_ATTRIBUTE_NONE);
}

void eval_script(cef_browser_t* browser, const cef_string_t* script, int32_t port,
                 const ChannelSecret& secret) {
  const auto port16 = static_cast<uint16_t>(port);
  const CefRef<cef_frame_t> frame =
      browser ? CefRef<cef_frame_t>::adopt(browser->get_main_frame(browser)) : CefRef<cef_frame_t>();
  const CefRef<cef_v8context_t> context =
      frame ? CefRef<cef_v8context_t>::adopt(frame->get_v8context(frame.get()))
            : CefRef<cef_v8context_t>();
  if (!context) {
    // Nothing to evaluate in; an empty error still ends the waiting side.
    socket_client(port16, std::string(), ReturnType::Error, secret);
    return;
  }
  const utils::CefString url = utils::cef_string(app::kPlaceholderUrl);
  cef_v8value_t* raw_value = nullptr;
  cef_v8exception_t* raw_exception = nullptr;
  const int ok = context->eval(context.get(), script, url.get(), 1, &raw_value, &raw_exception);
  const CefRef<cef_v8value_t> value = CefRef<cef_v8value_t>::adopt(raw_value);
  const CefRef<cef_v8exception_t> exception = CefRef<cef_v8exception_t>::adopt(raw_exception);
  if (ok && value) {
    ReturnText result = v8value_to_return(value.get(), context.get());
    socket_client(port16, std::move(result.text), result.kind, secret);
    return;
  }
  std::string message;
  if (exception) {
    const utils::UserFree16 text(exception->get_message(exception.get()));
    message = utils::to_utf8(text.get());
  }
  socket_client(port16, std::move(message), ReturnType::Error, secret);
}
