#include "renderer/document_globals.h"

#include <cstdio>

#include "renderer/renderer_browser.h"
#include "renderer/renderer_process.h"
#include "string_util.h"
#include "v8/js_util.h"
#include "v8/v8_context.h"

namespace cefwork {
namespace {

// A JavaScript string literal for `text`.
std::string js_string(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '<': out += "\\x3c"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\x%02x", c);
          out += buf;
        } else {
          out.push_back(static_cast<char>(c));
        }
    }
  }
  return out + "\"";
}

// The document object and the dispatcher that the renderer keeps: listeners
// (functions or objects with handleEvent, each added once) and on<type>
// properties run in order; one that throws does not stop the others.
// Evaluates to dispatch(type, inputType, cancelable).
constexpr const char* kDocumentScript = R"JS(
(function (title, url) {
  var listeners = {};
  var document = {
    title: title,
    URL: url,
    addEventListener: function (type, listener) {
      if (typeof listener !== 'function' &&
          !(listener && typeof listener.handleEvent === 'function')) return;
      var list = listeners[type] || (listeners[type] = []);
      if (list.indexOf(listener) < 0) list.push(listener);
    },
    removeEventListener: function (type, listener) {
      var list = listeners[type];
      var i = list ? list.indexOf(listener) : -1;
      if (i >= 0) list.splice(i, 1);
    },
    dispatchEvent: function (event) { return fire(event); }
  };
  function fire(event) {
    var list = (listeners[event.type] || []).slice();
    var property = document['on' + event.type];
    if (typeof property === 'function') list.push(property);
    for (var i = 0; i < list.length; ++i) {
      try {
        if (typeof list[i] === 'function') list[i].call(document, event);
        else list[i].handleEvent(event);
      } catch (e) {}
    }
    return !event.defaultPrevented;
  }
  window.document = document;
  window.location = {href: url};
  return function (type, inputType, cancelable) {
    var event = {
      type: type, target: document, currentTarget: document, bubbles: true,
      cancelable: cancelable, defaultPrevented: false, timeStamp: Date.now(),
      preventDefault: function () { if (this.cancelable) this.defaultPrevented = true; }
    };
    if (inputType) event.inputType = inputType;
    return fire(event);
  };
})
)JS";

// The text of a dialog argument: absent or undefined is the empty text.
std::u16string dialog_text(JSContextRef context, size_t argc, const JSValueRef argv[], size_t i) {
  if (i >= argc || JSValueIsUndefined(context, argv[i])) return {};
  return js::to_text(context, argv[i]);
}

// alert, confirm and prompt: the browser's answer, or the dismissed one
// when the page has no browser any more.
template <cef_jsdialog_type_t Type>
JSValueRef dialog(JSContextRef context, JSObjectRef, JSObjectRef, size_t argc,
                  const JSValueRef argv[], JSValueRef*) {
  RendererProcess::DialogAnswer answer;
  V8Context* v8 = V8Context::of(context);
  RendererProcess* process = RendererProcess::current();
  if (v8 && v8->valid() && v8->browser() && process) {
    answer = process->run_js_dialog(*v8, Type,
                                    dialog_text(context, argc, argv, 0),
                                    Type == JSDIALOGTYPE_PROMPT ? dialog_text(context, argc, argv, 1)
                                                               : std::u16string());
  }
  switch (Type) {
    case JSDIALOGTYPE_CONFIRM:
      return JSValueMakeBoolean(context, answer.success);
    case JSDIALOGTYPE_PROMPT: {
      if (!answer.success) return JSValueMakeNull(context);
      js::String input(answer.input);
      return JSValueMakeString(context, input.get());
    }
    default:
      return JSValueMakeUndefined(context);
  }
}

void define_function(JSGlobalContextRef context, const char* name,
                     JSObjectCallAsFunctionCallback callback) {
  js::String key(name);
  JSObjectSetProperty(context, JSContextGetGlobalObject(context), key.get(),
                      JSObjectMakeFunctionWithCallback(context, key.get(), callback),
                      kJSPropertyAttributeDontEnum, nullptr);
}

}  // namespace

JSObjectRef install_document_globals(JSGlobalContextRef context, const std::string& url,
                                     const std::string& title) {
  define_function(context, "alert", &dialog<JSDIALOGTYPE_ALERT>);
  define_function(context, "confirm", &dialog<JSDIALOGTYPE_CONFIRM>);
  define_function(context, "prompt", &dialog<JSDIALOGTYPE_PROMPT>);

  const std::string source =
      std::string(kDocumentScript) + "(" + js_string(title) + ", " + js_string(url) + ")";
  js::String script(utf8_to_utf16(source));
  JSValueRef thrown = nullptr;
  JSValueRef dispatcher = JSEvaluateScript(context, script.get(), nullptr, nullptr, 1, &thrown);
  if (thrown || !dispatcher || !JSValueIsObject(context, dispatcher)) return nullptr;
  JSValueProtect(context, dispatcher);
  return const_cast<JSObjectRef>(dispatcher);
}

void fire_edit_command(JSGlobalContextRef context, JSObjectRef dispatcher, ipc::EditCommand command) {
  struct Fired {
    const char* type;
    const char* input_type;  // for beforeinput
    bool cancelable;
  };
  Fired fired{};
  switch (command) {
    case ipc::EditCommand::kUndo: fired = {"beforeinput", "historyUndo", true}; break;
    case ipc::EditCommand::kRedo: fired = {"beforeinput", "historyRedo", true}; break;
    case ipc::EditCommand::kCut: fired = {"cut", nullptr, true}; break;
    case ipc::EditCommand::kCopy: fired = {"copy", nullptr, true}; break;
    case ipc::EditCommand::kPaste: fired = {"paste", nullptr, true}; break;
    case ipc::EditCommand::kDelete: fired = {"beforeinput", "deleteContent", true}; break;
    case ipc::EditCommand::kSelectAll: fired = {"selectionchange", nullptr, false}; break;
    default: return;
  }
  js::String type(fired.type);
  js::String input_type(fired.input_type ? fired.input_type : "");
  const JSValueRef args[] = {
      JSValueMakeString(context, type.get()),
      fired.input_type ? JSValueMakeString(context, input_type.get()) : JSValueMakeUndefined(context),
      JSValueMakeBoolean(context, fired.cancelable)};
  V8Context::Scope scope(V8Context::of(context));
  JSObjectCallAsFunction(context, dispatcher, nullptr, 3, args, nullptr);
}

}  // namespace cefwork
