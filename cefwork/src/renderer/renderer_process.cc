#include "renderer/renderer_process.h"

#include <sys/prctl.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "browser/document.h"
#include "command_line.h"
#include "ipc/messages.h"
#include "ipc/process_message_codec.h"
#include "renderer/document_globals.h"
#include "renderer/inline_scripts.h"
#include "renderer/renderer_browser.h"
#include "string_util.h"
#include "v8/v8_context.h"
#include "v8/v8_value.h"

namespace cefwork {
namespace {

RendererProcess* running = nullptr;

void eval_quietly(cef_v8context_t* context, const std::string& code, const cef_string_t* url,
                  int line) {
  cef_string_t c{};
  assign(&c, utf8_to_utf16(code));
  cef_v8value_t* value = nullptr;
  cef_v8exception_t* exception = nullptr;
  context->eval(context, &c, url, line, &value, &exception);
  cefwork::release(value);
  cefwork::release(exception);
  cef_string_utf16_clear(&c);
}

}  // namespace

RendererProcess* RendererProcess::current() { return running; }

RendererProcess::RendererProcess(cef_app_t* app, int fd) : app_(app) {
  if (app_ && app_->get_render_process_handler)
    handler_ = Ref<cef_render_process_handler_t>::adopt(app_->get_render_process_handler(app_));
  channel_ = std::make_unique<ipc::Channel>(
      fd,
      [this](uint32_t type, std::string payload) {
        post([this, type, payload = std::move(payload)]() mutable {
          received(type, std::move(payload));
        });
      },
      [this] {
        // The browser process is gone or done with us. Inside a wait (a
        // page's host call, say) nothing can answer any more: end at once.
        post([this] {
          if (work_depth_ > 0) std::_Exit(0);
          quit_ = true;
        });
      });
}

int RendererProcess::run(cef_app_t* app, const CommandLine& command_line) {
  // A renderer never outlives its browser process.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  const std::string fd_text = utf16_to_utf8(command_line.switch_value(u"cefwork-channel-fd"));
  if (fd_text.empty()) return 1;
  RendererProcess process(app, std::atoi(fd_text.c_str()));
  running = &process;
  const int code = process.loop();
  running = nullptr;
  return code;
}

int RendererProcess::loop() {
  if (cef_render_process_handler_t* h = handler_.get()) {
    if (h->on_render_thread_created) {
      cef_list_value_t* extra = cef_list_value_create();
      h->on_render_thread_created(h, extra);
    }
    if (h->on_web_kit_initialized) h->on_web_kit_initialized(h);
  }
  while (run_next_task()) {
    if (quit_ && tasks_.empty()) break;
  }
  for (auto& [id, browser] : browsers_) release_context(*RendererBrowser::from(browser.get()));
  browsers_.clear();
  return 0;
}

void RendererProcess::post(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  wake_.notify_one();
}

void RendererProcess::run_pending() {
  std::deque<std::function<void()>> tasks;
  {
    std::lock_guard lock(mutex_);
    tasks.swap(tasks_);
  }
  ++work_depth_;
  for (auto& task : tasks) task();
  --work_depth_;
}

bool RendererProcess::send(uint32_t type, const std::string& payload) {
  return channel_ && channel_->send(type, payload);
}

RendererBrowser* RendererProcess::browser(int id) {
  auto it = browsers_.find(id);
  if (it != browsers_.end()) return RendererBrowser::from(it->second.get());
  // The first message for a browser makes it, whatever the message is.
  auto* created = new RendererBrowser(id, this);
  browsers_[id] = Ref<cef_browser_t>::adopt(&created->cef);
  if (cef_render_process_handler_t* h = handler_.get(); h && h->on_browser_created)
    h->on_browser_created(h, created->share(), nullptr);
  return created;
}

void RendererProcess::received(uint32_t type, std::string payload) {
  ipc::Reader r(payload);
  const int id = r.i32();
  switch (type) {
    case ipc::kCommitDocument: {
      const uint32_t number = r.u32();
      std::string url = r.bytes();
      std::string source = r.bytes();
      const bool javascript = r.u32() != 0;
      if (!r.ok()) break;
      commit_document(id, std::move(url), std::move(source), javascript);
      ipc::Writer loaded;
      loaded.i32(id).u32(number);
      send(ipc::kDocumentLoaded, loaded.data());
      break;
    }
    case ipc::kExecuteScript: {
      std::u16string code = r.u16();
      std::u16string url = r.u16();
      const int line = r.i32();
      if (r.ok()) execute_script(id, std::move(code), std::move(url), line);
      break;
    }
    case ipc::kProcessMessage:
      if (cef_process_message_t* message = ipc::read_process_message(r))
        process_message(id, message);
      break;
    case ipc::kPing:
      send(ipc::kPong, payload);
      break;
    case ipc::kObjects: {
      ipc::Writer reply;
      reply.i32(id).i32(V8Context::live_count()).i32(V8Value::live_count());
      send(ipc::kObjectsReply, reply.data());
      break;
    }
    case ipc::kCloseBrowser:
      close_browser(id);
      break;
    case ipc::kEditCommand: {
      const uint32_t command = r.u32();
      if (r.ok()) edit_command(id, command);
      break;
    }
    case ipc::kJsDialogReply: {
      const uint32_t dialog = r.u32();
      DialogAnswer answer;
      answer.success = r.u32() != 0;
      r.u32();  // whether there was an input: none reads as empty
      answer.input = r.u16();
      auto it = dialogs_.find(dialog);
      if (r.ok() && it != dialogs_.end() && !it->second) it->second = std::move(answer);
      break;
    }
    default:
      break;
  }
}

void RendererProcess::release_context(RendererBrowser& b) {
  if (!b.context) return;
  Ref<cef_v8context_t> context = std::move(b.context);
  if (b.document_events)
    JSValueUnprotect(V8Context::from(context.get())->js(), std::exchange(b.document_events, nullptr));
  if (cef_render_process_handler_t* h = handler_.get(); h && h->on_context_released)
    h->on_context_released(h, b.share(), b.frame.share(), context.share());
  V8Context::from(context.get())->invalidate();
}

void RendererProcess::commit_document(int id, std::string url, std::string source,
                                      bool javascript) {
  RendererBrowser* b = browser(id);
  cef_render_process_handler_t* h = handler_.get();
  release_context(*b);
  b->url = std::move(url);
  if (!javascript) return;
  b->context = Ref<cef_v8context_t>::adopt(&V8Context::create(&b->cef, b->frame.get())->cef);
  const Ref<cef_v8context_t> context = b->context;
  // What the documents left behind is garbage now; collecting it here lets
  // their script objects go (and with them the handlers they hold) while a
  // renderer navigates all day.
  JSGarbageCollect(V8Context::from(context.get())->js());
  cef_string_t script_url{};
  assign(&script_url, utf8_to_utf16(b->url));
  // The document's own globals come before anything else sees the context.
  b->document_events = install_document_globals(V8Context::from(context.get())->js(), b->url,
                                                document_title(source));
  if (h && h->on_context_created)
    h->on_context_created(h, b->share(), b->frame.share(), context.share());
  // Inline scripts run in document order, each in the document's context.
  for (const InlineScript& script : inline_scripts(source)) {
    if (b->context.get() != context.get()) break;  // a script navigated away
    eval_quietly(context.get(), script.code, &script_url, script.line);
  }
  cef_string_utf16_clear(&script_url);
}

void RendererProcess::execute_script(int id, std::u16string code, std::u16string url, int line) {
  RendererBrowser* b = browser(id);
  if (!b) return;
  cef_string_t c{}, u{};
  assign(&c, code);
  assign(&u, url);
  b->frame->execute_java_script(b->frame.get(), &c, &u, line);
  cef_string_utf16_clear(&c);
  cef_string_utf16_clear(&u);
}

void RendererProcess::process_message(int id, cef_process_message_t* message) {
  RendererBrowser* b = browser(id);
  cef_render_process_handler_t* h = handler_.get();
  if (!b || !h || !h->on_process_message_received) {
    cefwork::release(message);
    return;
  }
  h->on_process_message_received(h, b->share(), b->frame.share(), PID_BROWSER, message);
}

void RendererProcess::edit_command(int id, uint32_t command) {
  auto it = browsers_.find(id);
  if (it == browsers_.end()) return;
  RendererBrowser* b = RendererBrowser::from(it->second.get());
  if (b->context && b->document_events)
    fire_edit_command(V8Context::from(b->context.get())->js(), b->document_events,
                      static_cast<ipc::EditCommand>(command));
}

bool RendererProcess::run_next_task() {
  std::function<void()> task;
  {
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return !tasks_.empty() || quit_; });
    if (tasks_.empty()) return false;
    task = std::move(tasks_.front());
    tasks_.pop_front();
  }
  task();
  return true;
}

void RendererProcess::wait_until(const std::function<bool()>& done) {
  ++work_depth_;
  while (!done() && run_next_task()) continue;
  --work_depth_;
}

RendererProcess::DialogAnswer RendererProcess::run_js_dialog(V8Context& context,
                                                             cef_jsdialog_type_t type,
                                                             const std::u16string& message,
                                                             const std::u16string& default_text) {
  auto it = browsers_.find(RendererBrowser::from(context.browser())->id);
  if (it == browsers_.end()) return {};
  // Held for the wait, which may see the browser closed.
  const Ref<cef_browser_t> held = it->second;
  RendererBrowser* b = RendererBrowser::from(held.get());
  if (b->destroyed || b->context.get() != &context.cef) return {};  // a document left behind

  const uint32_t id = ++next_dialog_;
  dialogs_[id];
  ipc::Writer w;
  w.i32(b->id).u32(id).i32(type).u16(message).u16(default_text).bytes(b->url);
  if (send(ipc::kJsDialog, w.data())) {
    wait_until([&] {
      return dialogs_[id].has_value() || b->destroyed || b->context.get() != &context.cef;
    });
  }
  DialogAnswer answer = dialogs_[id].value_or(DialogAnswer{});
  dialogs_.erase(id);
  return answer;
}

void RendererProcess::close_browser(int id) {
  if (!browsers_.count(id)) return;
  RendererBrowser* b = browser(id);
  release_context(*b);
  b->destroyed = true;
  if (cef_render_process_handler_t* h = handler_.get(); h && h->on_browser_destroyed)
    h->on_browser_destroyed(h, b->share());
  browsers_.erase(id);
  if (browsers_.empty()) quit_ = true;
}

}  // namespace cefwork
