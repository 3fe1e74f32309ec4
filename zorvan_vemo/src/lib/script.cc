// Script API, browser side: run and evaluate script in a browser's main
// frame, register host functions, and serve a call that page script made
// into a host function.

#include <map>
#include <string>

#include "browser_access.h"
#include "socket/socket_client.h"
#include "socket/message_secret.h"
#include "socket/wait_return.h"
#include "utils/cef_string.h"
#include "utils/text.h"
#include "zorvan_vemo.h"

namespace {

// The secret each pending host-function call carried, by the port it waits
// on: its answer and the Eval requests sent to it must carry the same. Kept
// from cefvemo_function_id until cefvemo_function_return; at most one entry
// per port. Used on the host's UI thread only.
std::map<uint16_t, ChannelSecret>& call_secrets() {
  static std::map<uint16_t, ChannelSecret> secrets;
  return secrets;
}

// The secret on record for `port`; a fresh one (which the renderer will
// not believe) when there is none.
ChannelSecret secret_for(uint16_t port) {
  const auto it = call_secrets().find(port);
  return it != call_secrets().end() ? it->second : ChannelSecret::fresh();
}


bool set_or_fatal(int result) {
  if (result == 1) return true;
  utils::fatal_not_equal("list value set", result, 1);
  return false;
}

// A process message named `name` whose argument list holds an int at
// `int_index` and a string at `string_index`; null when CEF made none.
CefRef<cef_process_message_t> message_with(const char* name, size_t int_index, int32_t value,
                                           size_t string_index, const cef_string_t* text) {
  const utils::CefString message_name = utils::cef_string(name);
  CefRef<cef_process_message_t> message =
      CefRef<cef_process_message_t>::adopt(cef_process_message_create(message_name.get()));
  if (!message) return message;
  const CefRef<cef_list_value_t> args =
      CefRef<cef_list_value_t>::adopt(message->get_argument_list(message.get()));
  if (!args || !set_or_fatal(args->set_int(args.get(), int_index, value)) ||
      !set_or_fatal(args->set_string(args.get(), string_index, text)))
    return {};
  return message;
}

}  // namespace

extern "C" {

ZV_EXPORT void cefvemo_execute(cef_browser_t* browser, const char* script) {
  const utils::CefString code = utils::cef_string_from_c(script);
  const utils::CefString url = utils::cef_string_empty();
  const CefRef<cef_frame_t> frame = vemo::main_frame(browser);
  if (!frame || !vemo::require(frame->execute_java_script, "null execute_java_script")) return;
  frame->execute_java_script(frame.get(), code.get(), url.get(), 0);
}

ZV_EXPORT int32_t cefvemo_eval(cef_browser_t* browser, const char* script, int32_t port,
                               cefvemo_return_callback callback) {
  const CefRef<cef_frame_t> frame = vemo::main_frame(browser);
  if (!frame) return 0;
  WaitActions actions;
  if (callback) {
    actions.tick = [callback] { callback(1, 5, nullptr); };
    actions.eval_request = [callback](std::string_view text, const ChannelSecret&) {
      callback(0, 6, std::string(text).c_str());
    };
  }
  // No answer can come once the page's frame is gone (renderer ended,
  // browser closed): the wait then fails instead of polling for ever.
  cef_frame_t* f = frame.get();
  actions.abandoned = [f] { return f->is_valid && f->is_valid(f) == 0; };

  WaitOutcome outcome;
  if (port == 0) {
    // Index 1 is sent as 0; the wait writes its port at index 0.
    const utils::CefString code = utils::cef_string_from_c(script);
    const CefRef<cef_process_message_t> message = message_with("eval", 1, 0, 2, code.get());
    if (!message) return 0;
    outcome = wait_return(MessageAnnouncement{message.get(), f, PID_RENDERER}, actions);
  } else {
    const utils::Text code = utils::str_from_c(script);
    const auto pending = static_cast<uint16_t>(port);
    outcome = wait_return(EvalAnnouncement{pending, code.view(), secret_for(pending)}, actions);
  }
  if (!outcome.answer) return 0;
  if (callback) {
    // The answer's text may hold the JVM's modified UTF-8 (a host function's
    // result); it reaches the host decoded like every C string.
    const utils::Text text = utils::str_from_c(outcome.answer->str_value.c_str());
    callback(0, outcome.answer->kind.byte(), text.str().c_str());
  }
  return 1;
}

ZV_EXPORT int32_t cefvemo_function(cef_browser_t* browser, const char* name, int32_t id) {
  const utils::CefString name_string = utils::cef_string_from_c(name);
  const CefRef<cef_process_message_t> message =
      message_with("function", 0, id, 1, name_string.get());
  if (!message) return 1;
  const CefRef<cef_frame_t> frame = vemo::main_frame(browser);
  if (!frame || !vemo::require(frame->send_process_message, "null send_process_message")) return 1;
  frame->send_process_message(frame.get(), PID_RENDERER, message.pass());
  return 1;
}

ZV_EXPORT void cefvemo_function_id(cef_process_message_t* message, FunctionSt* record) {
  if (!record) return;
  record->id = -1;
  record->port = 0;
  record->args = 0;
  if (!message) return;
  const bool valid = message->is_valid(message) != 0;
  const utils::UserFree16 name(message->get_name(message));
  const utils::CefString call = utils::cef_string("function_call");
  if (!valid || cef_string_utf16_cmp(name.get(), call.get()) != 0) return;
  const CefRef<cef_list_value_t> args =
      CefRef<cef_list_value_t>::adopt(message->get_argument_list(message));
  if (!args) return;
  const size_t size = args->get_size(args.get());
  record->port = args->get_int(args.get(), 0);
  record->id = args->get_int(args.get(), 1);
  // The renderer's secret follows the arguments, at an index where a kind
  // (an int) would be; it is not counted as an argument.
  const std::optional<ChannelSecret> secret = size % 2 == 1 ? announced_secret(args.get()) : std::nullopt;
  if (secret) call_secrets()[static_cast<uint16_t>(record->port)] = *secret;
  const size_t listed = secret ? size - 1 : size;
  record->args = listed > 0 ? (listed - 1) / 2 : 0;
}

ZV_EXPORT int32_t cefvemo_function_arg(cef_process_message_t* message, int32_t index,
                                       cefvemo_return_callback callback) {
  if (!message) return 1;
  const CefRef<cef_list_value_t> args =
      CefRef<cef_list_value_t>::adopt(message->get_argument_list(message));
  if (!args) return 1;
  // 32-bit index arithmetic; an index outside the list reads what CEF gives
  // for a missing entry.
  const int64_t kind_index = 2 * static_cast<int64_t>(index) + 2;
  const int kind = kind_index >= 0 ? args->get_int(args.get(), static_cast<size_t>(kind_index)) : 0;
  const utils::UserFree16 text(
      kind_index + 1 >= 0 ? args->get_string(args.get(), static_cast<size_t>(kind_index + 1))
                          : nullptr);
  utils::UserFree8 utf8;
  utf8.assign(text.get());
  const char* c_text = utf8.c_str();
  if (c_text && !*c_text) c_text = nullptr;  // no characters: a null text
  if (callback) callback(0, ReturnType::from(kind).byte(), c_text);
  return 1;
}

ZV_EXPORT int32_t cefvemo_function_return(cef_browser_t* browser, int32_t unused, int32_t port,
                                          int32_t kind, const char* value) {
  (void)browser;
  (void)unused;
  // The host's kind goes out as its low byte, unchanged. The call is over:
  // its secret is forgotten.
  const auto to = static_cast<uint16_t>(port);
  const ChannelSecret secret = secret_for(to);
  call_secrets().erase(to);
  return socket_client(to, value ? std::string(value) : std::string(),
                       ReturnType::from_byte(static_cast<uint8_t>(kind)), secret)
             ? 1
             : 0;
}

}  // extern "C"
