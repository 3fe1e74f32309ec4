// Browsers of the browser process: the browser, its host and its main
// frame are CEF objects around one shared BrowserCore that holds the state
// (client, window, history, document, the load in progress) and calls the
// client's handlers as CEF does.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "browser/document.h"
#include "browser/fetch.h"
#include "ipc/messages.h"
#include "platform/native_window.h"
#include "ref.h"

namespace cefwork {

class Browser;
class RendererHost;

struct HistoryEntry {
  FetchRequest request;     // fetched again for back, forward and reload
  bool is_string = false;   // a load_string document
  std::string string_source;
};

struct LoadJob {
  HistoryEntry entry;
  int target_index = -1;  // history index to move to; -1 for a new entry
  std::atomic<bool> cancelled{false};
  int auth_requests = 0;  // times the client was asked for credentials
};

class BrowserCore : public std::enable_shared_from_this<BrowserCore> {
 public:
  BrowserCore(int id, cef_client_t* client, const cef_window_info_t& window_info,
              const cef_browser_settings_t& settings);
  ~BrowserCore();

  const int id;
  Ref<cef_client_t> client;
  zv_native_window window{};
  bool javascript_enabled = true;
  cef_browser_settings_t settings{};  // as given, without the string members
  Browser* browser = nullptr;  // the browser object, while it exists
  bool closed = false;

  std::vector<HistoryEntry> history;
  int history_index = -1;
  bool has_document = false;
  Document document;
  std::shared_ptr<LoadJob> load;  // the load in progress
  std::shared_ptr<RendererHost> renderer;  // null when it could not be started
  // The continuations of open JavaScript dialogs and context menus.
  std::vector<Ref<cef_jsdialog_callback_t>> open_dialogs;
  std::vector<Ref<cef_run_context_menu_callback_t>> open_menus;

  // The browser with one reference for a callee, or null when it is gone.
  cef_browser_t* share_browser() const;
  cef_frame_t* share_main_frame() const;

  void load_url(const std::u16string& url);
  void load_request(FetchRequest request);
  void load_string(std::string source, std::string url);
  void go_to(int index);
  void reload();
  void stop();
  void close(bool force);
  void set_focus(bool focus);
  // An editing command of the main frame, performed in its document.
  void edit(ipc::EditCommand command);
  // A key event sent to the browser: the keyboard handler sees it before
  // the page (on_pre_key_event) and, unless it took it, after
  // (on_key_event), on a later unit of work.
  void key_event(const cef_key_event_t& event);
  // A process message from the renderer, for the client (takes over the
  // message's reference).
  void deliver_process_message(cef_process_message_t* message);
  void renderer_ended(cef_termination_status_t status);
  bool renderer_alive() const;
  bool loading() const { return load != nullptr || awaiting_document_ != 0; }
  // The renderer has run the inline scripts of document `number`.
  void document_loaded(uint32_t number);
  bool can_go_back() const { return history_index > 0; }
  bool can_go_forward() const { return history_index + 1 < static_cast<int>(history.size()); }

  // The load `job` (when still in progress) has become a download: it ends
  // as aborted, as a navigation to a download does.
  void end_as_download(const std::shared_ptr<LoadJob>& job);
  // Ends the load `job` (when still in progress) with `result`, without
  // asking for credentials again.
  void end_load(const std::shared_ptr<LoadJob>& job, const FetchResult& result);
  // Fetches the request of `job` (when still in progress) once more.
  void fetch_again(const std::shared_ptr<LoadJob>& job);

 private:
  void start(HistoryEntry entry, int target_index);
  void run_fetch(const std::shared_ptr<LoadJob>& job);
  // A navigation of a browser whose renderer has died starts a new one.
  void replace_dead_renderer();
  void finish(const std::shared_ptr<LoadJob>& job, const FetchResult& result);
  void commit(const std::shared_ptr<LoadJob>& job, const FetchResult& result);
  void report_error(int error, const std::string& url);
  void notify_loading_state();
  void end_document_load();

  uint32_t document_number_ = 0;
  uint32_t awaiting_document_ = 0;  // committed, its scripts not yet run; 0 for none
};

// Creates a browser with its window and starts loading `url`; the result
// carries the caller's reference. Null when the engine is not running.
cef_browser_t* create_browser(const cef_window_info_t* window_info, cef_client_t* client,
                              const cef_string_t* url, const cef_browser_settings_t* settings);

// Closes every open browser without calling handlers, at shutdown.
void drop_open_browsers();

// The state behind a browser of this process; null for null.
BrowserCore* core_of(cef_browser_t* browser);

}  // namespace cefwork
