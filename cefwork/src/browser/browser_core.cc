// Navigation, history, closing and the handler calls of a browser.

#include <functional>
#include <string>

#include "browser/auth.h"
#include "browser/browser.h"
#include "browser/download.h"
#include "browser/handlers.h"
#include "browser/js_dialogs.h"
#include "browser/load_threads.h"
#include "browser/renderer_host.h"
#include "engine.h"
#include "log.h"
#include "string_util.h"

namespace cefwork {
namespace {

constexpr uint32_t kWsVisible = 0x10000000;
constexpr cef_transition_type_t kTransitionExplicit = 1;

int set_window_pos(zv_native_window* self, zv_native_window*, int x, int y, int width,
                   int height, uint32_t flags) {
  return zv_native_window_apply(self, x, y, width, height, flags);
}

}  // namespace

BrowserCore::BrowserCore(int browser_id, cef_client_t* client_table,
                         const cef_window_info_t& window_info,
                         const cef_browser_settings_t& given)
    : id(browser_id), client(Ref<cef_client_t>::adopt(client_table)) {
  window.size = sizeof(zv_native_window);
  window.parent = static_cast<zv_native_window*>(window_info.parent_window);
  window.style = window_info.style;
  window.x = window_info.x;
  window.y = window_info.y;
  window.width = window_info.width;
  window.height = window_info.height;
  window.visible = (window_info.style & kWsVisible) ? 1 : 0;
  window.set_window_pos = &set_window_pos;
  javascript_enabled = given.javascript != STATE_DISABLED;
  settings = given;
  for (cef_string_t* s : {&settings.standard_font_family, &settings.fixed_font_family,
                          &settings.serif_font_family, &settings.sans_serif_font_family,
                          &settings.cursive_font_family, &settings.fantasy_font_family,
                          &settings.default_encoding, &settings.accept_language_list})
    *s = cef_string_t{};
}

BrowserCore::~BrowserCore() {
  if (load) load->cancelled = true;
}

void BrowserCore::load_url(const std::u16string& url) {
  HistoryEntry entry;
  entry.request.url = utf16_to_utf8(url);
  start(std::move(entry), -1);
}

void BrowserCore::load_request(FetchRequest request) {
  HistoryEntry entry;
  entry.request = std::move(request);
  start(std::move(entry), -1);
}

void BrowserCore::load_string(std::string source, std::string url) {
  HistoryEntry entry;
  entry.request.url = std::move(url);
  entry.is_string = true;
  entry.string_source = std::move(source);
  start(std::move(entry), -1);
}

void BrowserCore::go_to(int index) {
  if (index < 0 || index >= static_cast<int>(history.size())) return;
  start(history[index], index);
}

void BrowserCore::reload() { go_to(history_index); }

void BrowserCore::replace_dead_renderer() {
  if (renderer_alive()) return;
  // Its end is reported first (the handler may navigate meanwhile, which
  // starts the new renderer itself).
  if (std::shared_ptr<RendererHost> dead = std::move(renderer)) dead->report_end();
  if (!renderer && !closed) renderer = RendererHost::launch(shared_from_this());
}

void BrowserCore::start(HistoryEntry entry, int target_index) {
  if (closed) return;
  replace_dead_renderer();
  if (closed) return;
  reset_js_dialogs(*this, true);  // the document they belong to is left
  awaiting_document_ = 0;  // a document still running its scripts is left
  if (load) load->cancelled = true;  // a new navigation replaces the one in progress
  auto job = std::make_shared<LoadJob>();
  job->entry = std::move(entry);
  job->target_index = target_index;
  load = job;
  log(LOGSEVERITY_VERBOSE, "browser " + std::to_string(id) + " loads " + job->entry.request.url);
  notify_loading_state();

  std::weak_ptr<BrowserCore> weak = weak_from_this();
  if (job->entry.is_string) {
    FetchResult result;
    result.final_url = job->entry.request.url;
    result.status = 200;
    result.content = job->entry.string_source;
    Engine::get().post([weak, job, result] {
      if (auto core = weak.lock()) core->finish(job, result);
    });
    return;
  }
  run_fetch(job);
}

void BrowserCore::run_fetch(const std::shared_ptr<LoadJob>& job) {
  std::weak_ptr<BrowserCore> weak = weak_from_this();
  start_load_thread([weak, job, browser_id = id] {
    // A response that is a download leaves the navigation and goes on
    // here as the download's transfer.
    DownloadTap tap(weak, job, browser_id);
    FetchResult result = fetch(job->entry.request, job->cancelled, std::ref(tap));
    if (result.diverted) {
      tap.end(result);
      return;
    }
    Engine::get().post([weak, job, result = std::move(result)] {
      if (auto core = weak.lock()) core->finish(job, result);
    });
  });
}

void BrowserCore::fetch_again(const std::shared_ptr<LoadJob>& job) {
  if (job == load && !closed) run_fetch(job);
}

void BrowserCore::end_as_download(const std::shared_ptr<LoadJob>& job) {
  if (job != load || closed) return;
  load = nullptr;
  report_error(kErrAborted, job->entry.request.url);
  notify_loading_state();
}

void BrowserCore::end_document_load() {
  awaiting_document_ = 0;
  notify(*this, &cef_client_t::get_load_handler, &cef_load_handler_t::on_load_end,
         share_main_frame(), document.status);
}

void BrowserCore::document_loaded(uint32_t number) {
  if (closed || number != awaiting_document_) return;
  end_document_load();
  notify_loading_state();
}

void BrowserCore::finish(const std::shared_ptr<LoadJob>& job, const FetchResult& result) {
  if (job != load || closed) return;  // replaced, stopped or closed meanwhile
  // An authentication challenge keeps the load going while the client is
  // asked for credentials.
  if (!result.error && result.status == 401 && ask_credentials(*this, job, result)) return;
  end_load(job, result);
}

void BrowserCore::end_load(const std::shared_ptr<LoadJob>& job, const FetchResult& result) {
  if (job != load || closed) return;
  load = nullptr;
  if (result.error) {
    log(LOGSEVERITY_WARNING, "load of " + job->entry.request.url + " failed: " + result.error_text);
    report_error(result.error, job->entry.request.url);
  } else {
    commit(job, result);
  }
  notify_loading_state();
}

void BrowserCore::commit(const std::shared_ptr<LoadJob>& job, const FetchResult& result) {
  if (job->target_index >= 0) {
    history_index = job->target_index;
  } else {
    history.resize(history_index + 1);
    history.push_back(job->entry);
    history_index = static_cast<int>(history.size()) - 1;
  }
  has_document = true;
  document = Document{result.final_url, result.content, result.status};

  ++document_number_;
  awaiting_document_ = 0;
  if (renderer_alive()) {
    renderer->commit_document(document_number_, document.url, document.source, javascript_enabled);
    awaiting_document_ = document_number_;  // the load ends when its scripts have run
  }

  const std::u16string url = utf8_to_utf16(document.url);
  cef_string_t url_string{};
  assign(&url_string, url);
  notify(*this, &cef_client_t::get_display_handler, &cef_display_handler_t::on_address_change,
         share_main_frame(), static_cast<const cef_string_t*>(&url_string));
  notify(*this, &cef_client_t::get_load_handler, &cef_load_handler_t::on_load_start,
         share_main_frame(), kTransitionExplicit);
  const std::string title = document_title(document.source);
  cef_string_t title_string{};
  assign(&title_string, title.empty() ? url : utf8_to_utf16(title));
  notify(*this, &cef_client_t::get_display_handler, &cef_display_handler_t::on_title_change,
         static_cast<const cef_string_t*>(&title_string));
  if (!awaiting_document_) end_document_load();
  cef_string_utf16_clear(&url_string);
  cef_string_utf16_clear(&title_string);
}

void BrowserCore::report_error(int error, const std::string& url) {
  cef_string_t text{}, failed{};
  assign(&text, utf8_to_utf16(error_text(error)));
  assign(&failed, utf8_to_utf16(url));
  notify(*this, &cef_client_t::get_load_handler, &cef_load_handler_t::on_load_error,
         share_main_frame(), static_cast<cef_errorcode_t>(error),
         static_cast<const cef_string_t*>(&text), static_cast<const cef_string_t*>(&failed));
  cef_string_utf16_clear(&text);
  cef_string_utf16_clear(&failed);
}

void BrowserCore::notify_loading_state() {
  notify(*this, &cef_client_t::get_load_handler, &cef_load_handler_t::on_loading_state_change,
         loading() ? 1 : 0, can_go_back() ? 1 : 0, can_go_forward() ? 1 : 0);
}

void BrowserCore::stop() {
  if (!load || closed) return;
  std::shared_ptr<LoadJob> job = std::move(load);
  job->cancelled = true;
  // The stopped navigation ends as aborted, on a later unit of work.
  std::weak_ptr<BrowserCore> weak = weak_from_this();
  Engine::get().post([weak, job] {
    auto core = weak.lock();
    if (!core || core->closed) return;
    core->report_error(kErrAborted, job->entry.request.url);
    core->notify_loading_state();
  });
}

void BrowserCore::set_focus(bool focus) {
  window.focused = focus ? 1 : 0;
  if (!focus) return;
  std::weak_ptr<BrowserCore> weak = weak_from_this();
  Engine::get().post([weak] {
    auto core = weak.lock();
    if (!core || core->closed || !core->window.focused) return;
    notify(*core, &cef_client_t::get_focus_handler, &cef_focus_handler_t::on_got_focus);
  });
}

void BrowserCore::edit(ipc::EditCommand command) {
  if (!closed && renderer) renderer->edit_command(command);
}

void BrowserCore::key_event(const cef_key_event_t& event) {
  std::weak_ptr<BrowserCore> weak = weak_from_this();
  Engine::get().post([weak, event] {
    auto core = weak.lock();
    if (!core || core->closed) return;
    int is_shortcut = 0;
    cef_event_handle_msg_t* no_os_event = nullptr;  // the event came from no window system
    if (notify(*core, &cef_client_t::get_keyboard_handler, &cef_keyboard_handler_t::on_pre_key_event,
               &event, no_os_event, &is_shortcut))
      return;
    // The page has no key handling of its own; the handler gets the rest.
    if (!core->closed)
      notify(*core, &cef_client_t::get_keyboard_handler, &cef_keyboard_handler_t::on_key_event,
             &event, no_os_event);
  });
}

void BrowserCore::deliver_process_message(cef_process_message_t* message) {
  cef_client_t* c = client.get();
  if (closed || !c || !c->on_process_message_received) {
    cefwork::release(message);
    return;
  }
  c->on_process_message_received(c, share_browser(), share_main_frame(), PID_RENDERER, message);
}

bool BrowserCore::renderer_alive() const { return renderer && renderer->alive(); }

void BrowserCore::renderer_ended(cef_termination_status_t status) {
  if (closed) return;  // the renderer of a closed browser ends as it should
  if (awaiting_document_) {
    end_document_load();
    notify_loading_state();
  }
  notify(*this, &cef_client_t::get_request_handler,
         &cef_request_handler_t::on_render_process_terminated, status);
}

}  // namespace cefwork
