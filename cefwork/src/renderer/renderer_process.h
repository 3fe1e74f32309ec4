// A renderer process of the work-alike: the loop that cef_execute_process
// runs for "--type=renderer". It reads documents, scripts and process
// messages from the browser process on a reader thread and runs them on the
// main thread, which blocks in the loop or, inside a wait, drains them from
// cef_do_message_loop_work. Each main-frame document gets a JavaScript
// context with `window` as its global; inline scripts run in order.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "cef/cef_capi.h"
#include "ipc/channel.h"
#include "ref.h"

namespace cefwork {

class CommandLine;
class RendererBrowser;
class V8Context;

class RendererProcess {
 public:
  // Runs the renderer; returns its exit code.
  static int run(cef_app_t* app, const CommandLine& command_line);
  // The running renderer of this process, or null.
  static RendererProcess* current();
  // The channel goes first, so that its reader never posts into a queue
  // that is gone.
  ~RendererProcess() { channel_.reset(); }

  // Runs the tasks pending now (cef_do_message_loop_work).
  void run_pending();
  void post(std::function<void()> task);
  bool send(uint32_t type, const std::string& payload);

  struct DialogAnswer {
    bool success = false;  // false: dismissed
    std::u16string input;  // of a prompt
  };
  // Shows a JavaScript dialog of script running in `context` and waits for
  // the browser's answer, running the renderer's work meanwhile. Dismissed
  // when the document or its browser goes first.
  DialogAnswer run_js_dialog(V8Context& context, cef_jsdialog_type_t type,
                             const std::u16string& message, const std::u16string& default_text);

 private:
  RendererProcess(cef_app_t* app, int fd);
  int loop();
  void received(uint32_t type, std::string payload);
  void commit_document(int browser_id, std::string url, std::string source, bool javascript);
  void execute_script(int browser_id, std::u16string code, std::u16string url, int line);
  void process_message(int browser_id, cef_process_message_t* message);
  void close_browser(int browser_id);
  void edit_command(int browser_id, uint32_t command);
  // Runs the renderer's work as it comes until `done` holds (or the
  // process is told to quit).
  void wait_until(const std::function<bool()>& done);
  // Waits for the next task and runs it; false when quitting with none left.
  bool run_next_task();
  void release_context(RendererBrowser& browser);
  RendererBrowser* browser(int id);

  cef_app_t* app_;
  Ref<cef_render_process_handler_t> handler_;
  std::map<int, Ref<cef_browser_t>> browsers_;
  std::unique_ptr<ipc::Channel> channel_;

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> tasks_;
  bool quit_ = false;
  int work_depth_ = 0;  // nesting of run_pending and waits inside tasks
  // Dialogs waiting for their answer, by id.
  std::map<uint32_t, std::optional<DialogAnswer>> dialogs_;
  uint32_t next_dialog_ = 0;
};

}  // namespace cefwork
