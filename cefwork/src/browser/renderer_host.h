// The browser process's end of one browser's renderer process: it starts
// the subprocess program as "--type=renderer" with one end of a socket pair,
// sends it documents, scripts and process messages, and hands what the
// renderer sends to the browser on the UI thread.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <memory>
#include <string>
#include <utility>

#include "cef/cef_capi.h"
#include "ipc/channel.h"
#include "ipc/messages.h"

namespace cefwork {

class BrowserCore;

class RendererHost : public std::enable_shared_from_this<RendererHost> {
 public:
  // Null when the subprocess program cannot be started.
  static std::shared_ptr<RendererHost> launch(const std::shared_ptr<BrowserCore>& core);
  ~RendererHost();

  bool alive() const { return alive_->load(); }
  pid_t pid() const { return pid_; }

  void commit_document(uint32_t number, const std::string& url, const std::string& source,
                       bool javascript);
  void execute_script(const cef_string_t* code, const cef_string_t* script_url, int start_line);
  // Takes over the message's reference.
  void send_process_message(cef_process_message_t* message);
  // Sends a ping; pongs() counts the answers received on the UI thread.
  void ping();
  uint32_t pongs() const { return pongs_; }
  // Asks what the renderer holds; objects_replies() counts the answers, the
  // last of which is in last_objects().
  void ask_objects();
  uint32_t objects_replies() const { return objects_replies_; }
  std::pair<int, int> last_objects() const { return last_objects_; }
  // Tells the renderer the browser is gone and ends the connection.
  void close();
  // Performs an editing command of the main frame in the document.
  void edit_command(ipc::EditCommand command);
  // The answer to JavaScript dialog `id`; a null input is none.
  void answer_js_dialog(uint32_t id, bool success, const cef_string_t* input);
  // Reports to the browser, once, that the renderer has ended: on the unit
  // of work after its connection ended, or earlier when the browser
  // replaces it.
  void report_end();

 private:
  RendererHost(int browser_id, std::weak_ptr<BrowserCore> core);
  void received(uint32_t type, std::string payload);
  // Waits up to `milliseconds` for the renderer to end; its wait status, or
  // -1 when it still runs.
  int reap(int milliseconds);

  const int browser_id_;
  std::weak_ptr<BrowserCore> core_;
  pid_t pid_ = -1;
  // Shared with the channel's reader thread, which clears it when the
  // connection ends without holding the host itself: a host is only ever
  // destroyed on the UI thread.
  std::shared_ptr<std::atomic<bool>> alive_ = std::make_shared<std::atomic<bool>>(false);
  bool reaped_ = false;
  uint32_t pings_ = 0;
  uint32_t pongs_ = 0;
  uint32_t objects_replies_ = 0;
  std::pair<int, int> last_objects_{-1, -1};
  std::unique_ptr<ipc::Channel> channel_;
};

}  // namespace cefwork
