// The browser, browser-host and frame objects of the browser process, the
// list of open browsers, and cef_browser_host_create_browser_sync.

#include "browser/browser.h"

#include <mutex>
#include <set>

#include "browser/context_menu.h"
#include "browser/download.h"
#include "browser/handlers.h"
#include "browser/js_dialogs.h"
#include "browser/renderer_host.h"
#include "browser/request.h"
#include "cefwork/test_hooks_browser.h"
#include "engine.h"
#include "log.h"
#include "string_util.h"

namespace cefwork {
namespace {

class Frame : public CefObject<Frame, cef_frame_t> {
 public:
  explicit Frame(std::shared_ptr<BrowserCore> core);
  std::shared_ptr<BrowserCore> core;
};

class BrowserHost : public CefObject<BrowserHost, cef_browser_host_t> {
 public:
  explicit BrowserHost(std::shared_ptr<BrowserCore> core);
  std::shared_ptr<BrowserCore> core;
  double zoom_level = 0;
};

std::atomic<int> live_browsers{0};
std::mutex destroyed_mutex;
std::set<int> destroyed_ids;
std::atomic<int> next_browser_id{1};
// The engine's own reference to every open browser, dropped when it closes.
std::vector<Ref<cef_browser_t>> open_browsers;

void forget_open(int id);

}  // namespace

class Browser : public CefObject<Browser, cef_browser_t> {
 public:
  explicit Browser(std::shared_ptr<BrowserCore> core);
  ~Browser();
  std::shared_ptr<BrowserCore> core;
  Ref<cef_browser_host_t> host;
  Ref<cef_frame_t> frame;
};

namespace {

Browser* browser_of(cef_browser_t* self) { return Browser::from(self); }

template <ipc::EditCommand C>
void CEF_CALLBACK edit_frame(cef_frame_t* self) {
  Frame::from(self)->core->edit(C);
}

// Hands `text` to the visitor on a later unit of work, as a page's source
// comes from the renderer; the visitor's reference is taken over and
// dropped after the visit.
void visit_later(cef_string_visitor_t* visitor, std::string text) {
  Ref<cef_string_visitor_t> v = Ref<cef_string_visitor_t>::adopt(visitor);
  Engine::get().post([v = std::move(v), text = std::move(text)] {
    if (!v || !v->visit) return;
    cef_string_t s{};
    assign(&s, utf8_to_utf16(text));
    v->visit(v.get(), &s);
    cef_string_utf16_clear(&s);
  });
}

Frame::Frame(std::shared_ptr<BrowserCore> c) : core(std::move(c)) {
  // A frame is valid while its browser is open and its renderer runs.
  cef.is_valid = [](cef_frame_t* self) {
    const BrowserCore& core = *from(self)->core;
    return !core.closed && core.renderer_alive() ? 1 : 0;
  };
  cef.execute_java_script = [](cef_frame_t* self, const cef_string_t* code,
                               const cef_string_t* script_url, int start_line) {
    const BrowserCore& core = *from(self)->core;
    if (!core.closed && core.renderer) core.renderer->execute_script(code, script_url, start_line);
  };
  cef.send_process_message = [](cef_frame_t* self, cef_process_id_t target,
                                cef_process_message_t* message) {
    const BrowserCore& core = *from(self)->core;
    if (target == PID_RENDERER && !core.closed && core.renderer) {
      core.renderer->send_process_message(message);
    } else {
      cefwork::release(message);
    }
  };
  cef.undo = &edit_frame<ipc::EditCommand::kUndo>;
  cef.redo = &edit_frame<ipc::EditCommand::kRedo>;
  cef.cut = &edit_frame<ipc::EditCommand::kCut>;
  cef.copy = &edit_frame<ipc::EditCommand::kCopy>;
  cef.paste = &edit_frame<ipc::EditCommand::kPaste>;
  cef.del = &edit_frame<ipc::EditCommand::kDelete>;
  cef.select_all = &edit_frame<ipc::EditCommand::kSelectAll>;
  cef.view_source = [](cef_frame_t*) {};  // no window to show it in
  cef.get_source = [](cef_frame_t* self, cef_string_visitor_t* visitor) {
    visit_later(visitor, from(self)->core->document.source);
  };
  cef.get_text = [](cef_frame_t* self, cef_string_visitor_t* visitor) {
    visit_later(visitor, document_text(from(self)->core->document.source));
  };
  cef.load_request = [](cef_frame_t* self, cef_request_t* request) {
    const Ref<cef_request_t> r = Ref<cef_request_t>::adopt(request);
    if (r) from(self)->core->load_request(Request::from(r.get())->to_fetch());
  };
  cef.load_url = [](cef_frame_t* self, const cef_string_t* url) {
    from(self)->core->load_url(view(url));
  };
  cef.load_string = [](cef_frame_t* self, const cef_string_t* string, const cef_string_t* url) {
    from(self)->core->load_string(to_utf8(string), to_utf8(url));
  };
  cef.is_main = [](cef_frame_t*) { return 1; };
  cef.is_focused = [](cef_frame_t* self) { return from(self)->core->window.focused; };
  cef.get_name = [](cef_frame_t*) { return userfree(std::u16string_view()); };
  cef.get_identifier = [](cef_frame_t* self) {
    return static_cast<int64_t>(from(self)->core->id) << 32;
  };
  cef.get_parent = [](cef_frame_t*) -> cef_frame_t* { return nullptr; };
  cef.get_url = [](cef_frame_t* self) {
    const BrowserCore& core = *from(self)->core;
    return userfree(std::string_view(core.has_document ? core.document.url : std::string()));
  };
  cef.get_browser = [](cef_frame_t* self) { return from(self)->core->share_browser(); };
  cef.get_v8context = [](cef_frame_t*) -> cef_v8context_t* { return nullptr; };
}

BrowserHost::BrowserHost(std::shared_ptr<BrowserCore> c) : core(std::move(c)) {
  cef.get_browser = [](cef_browser_host_t* self) { return from(self)->core->share_browser(); };
  cef.close_browser = [](cef_browser_host_t* self, int force) {
    from(self)->core->close(force != 0);
  };
  cef.try_close_browser = [](cef_browser_host_t* self) {
    from(self)->core->close(true);
    return 1;
  };
  cef.set_focus = [](cef_browser_host_t* self, int focus) { from(self)->core->set_focus(focus); };
  cef.get_window_handle = [](cef_browser_host_t* self) -> cef_window_handle_t {
    return &from(self)->core->window;
  };
  cef.get_opener_window_handle = [](cef_browser_host_t*) -> cef_window_handle_t { return nullptr; };
  cef.has_view = [](cef_browser_host_t*) { return 0; };
  cef.get_client = [](cef_browser_host_t* self) { return from(self)->core->client.share(); };
  cef.get_request_context = [](cef_browser_host_t*) -> cef_request_context_t* { return nullptr; };
  cef.get_zoom_level = [](cef_browser_host_t* self) { return from(self)->zoom_level; };
  cef.set_zoom_level = [](cef_browser_host_t* self, double level) {
    from(self)->zoom_level = level;
  };
  cef.is_window_rendering_disabled = [](cef_browser_host_t*) { return 0; };
  cef.was_resized = [](cef_browser_host_t*) {};
  cef.was_hidden = [](cef_browser_host_t* self, int hidden) {
    from(self)->core->window.visible = hidden ? 0 : 1;
  };
  cef.send_key_event = [](cef_browser_host_t* self, const cef_key_event_t* event) {
    if (event) from(self)->core->key_event(*event);
  };
  cef.notify_screen_info_changed = [](cef_browser_host_t*) {};
  cef.notify_move_or_resize_started = [](cef_browser_host_t*) {};
}

void forget_open(int id) {
  std::erase_if(open_browsers, [id](const Ref<cef_browser_t>& b) {
    return browser_of(b.get())->core->id == id;
  });
}

}  // namespace

Browser::Browser(std::shared_ptr<BrowserCore> c) : core(std::move(c)) {
  ++live_browsers;
  core->browser = this;
  host = Ref<cef_browser_host_t>::adopt(&(new BrowserHost(core))->cef);
  frame = Ref<cef_frame_t>::adopt(&(new Frame(core))->cef);

  cef.get_host = [](cef_browser_t* self) { return browser_of(self)->host.share(); };
  cef.can_go_back = [](cef_browser_t* self) { return browser_of(self)->core->can_go_back() ? 1 : 0; };
  cef.go_back = [](cef_browser_t* self) {
    BrowserCore& core = *browser_of(self)->core;
    if (core.can_go_back()) core.go_to(core.history_index - 1);
  };
  cef.can_go_forward = [](cef_browser_t* self) {
    return browser_of(self)->core->can_go_forward() ? 1 : 0;
  };
  cef.go_forward = [](cef_browser_t* self) {
    BrowserCore& core = *browser_of(self)->core;
    if (core.can_go_forward()) core.go_to(core.history_index + 1);
  };
  cef.is_loading = [](cef_browser_t* self) { return browser_of(self)->core->loading() ? 1 : 0; };
  cef.reload = [](cef_browser_t* self) { browser_of(self)->core->reload(); };
  cef.reload_ignore_cache = [](cef_browser_t* self) { browser_of(self)->core->reload(); };
  cef.stop_load = [](cef_browser_t* self) { browser_of(self)->core->stop(); };
  cef.get_identifier = [](cef_browser_t* self) { return browser_of(self)->core->id; };
  cef.is_same = [](cef_browser_t* self, cef_browser_t* that) {
    // The argument's reference is ours to drop.
    const Ref<cef_browser_t> other = Ref<cef_browser_t>::adopt(that);
    return other && other.get() == self ? 1 : 0;
  };
  cef.is_popup = [](cef_browser_t*) { return 0; };
  cef.has_document = [](cef_browser_t* self) { return browser_of(self)->core->has_document ? 1 : 0; };
  cef.get_main_frame = [](cef_browser_t* self) { return browser_of(self)->frame.share(); };
  cef.get_focused_frame = [](cef_browser_t* self) { return browser_of(self)->frame.share(); };
  cef.get_frame_byident = [](cef_browser_t* self, int64_t id) -> cef_frame_t* {
    cef_frame_t* main = browser_of(self)->frame.get();
    return main->get_identifier(main) == id ? browser_of(self)->frame.share() : nullptr;
  };
  cef.get_frame = [](cef_browser_t* self, const cef_string_t* name) -> cef_frame_t* {
    return view(name).empty() ? browser_of(self)->frame.share() : nullptr;
  };
  cef.get_frame_count = [](cef_browser_t*) -> size_t { return 1; };
  cef.get_frame_identifiers = [](cef_browser_t* self, size_t* count, int64_t* ids) {
    if (!count) return;
    if (*count >= 1 && ids) {
      cef_frame_t* main = browser_of(self)->frame.get();
      ids[0] = main->get_identifier(main);
      *count = 1;
    } else {
      *count = 0;
    }
  };
  cef.get_frame_names = [](cef_browser_t*, cef_string_list_t) {};
}

Browser::~Browser() {
  core->browser = nullptr;
  core->client.reset();
  if (core->load) core->load->cancelled = true;
  --live_browsers;
  std::lock_guard lock(destroyed_mutex);
  destroyed_ids.insert(core->id);
}

cef_browser_t* BrowserCore::share_browser() const {
  return browser ? browser->share() : nullptr;
}

cef_frame_t* BrowserCore::share_main_frame() const {
  return browser ? browser->frame.share() : nullptr;
}

void BrowserCore::close(bool force) {
  (void)force;  // there is no unload handler to ask
  std::weak_ptr<BrowserCore> weak = weak_from_this();
  Engine::get().post([weak] {
    auto core = weak.lock();
    if (!core || core->closed || !core->browser) return;
    // Keep the browser alive through its last notifications.
    const Ref<cef_browser_t> keep = Ref<cef_browser_t>::adopt(core->share_browser());
    notify(*core, &cef_client_t::get_life_span_handler, &cef_life_span_handler_t::do_close);
    core->closed = true;
    if (core->load) core->load->cancelled = true;
    core->load = nullptr;
    core->window.visible = 0;
    core->window.focused = 0;
    core->window.parent = nullptr;
    reset_js_dialogs(*core, false);
    dismiss_context_menus(*core);
    notify(*core, &cef_client_t::get_life_span_handler,
           &cef_life_span_handler_t::on_before_close);
    if (core->renderer) core->renderer->close();
    cancel_downloads(core->id);
    log(LOGSEVERITY_VERBOSE, "browser " + std::to_string(core->id) + " closed");
    forget_open(core->id);
  });
}

cef_browser_t* create_browser(const cef_window_info_t* window_info, cef_client_t* client,
                              const cef_string_t* url, const cef_browser_settings_t* settings) {
  Engine& engine = Engine::get();
  if (!engine.running() || !window_info) {
    cefwork::release(client);
    return nullptr;
  }
  cef_browser_settings_t defaults{};
  defaults.size = sizeof(cef_browser_settings_t);
  auto core = std::make_shared<BrowserCore>(next_browser_id++, client, *window_info,
                                            settings ? *settings : defaults);
  auto* browser = new Browser(core);
  core->renderer = RendererHost::launch(core);
  open_browsers.push_back(Ref<cef_browser_t>::retain(&browser->cef));
  log(LOGSEVERITY_INFO, "browser " + std::to_string(core->id) + " created");

  std::weak_ptr<BrowserCore> weak = core;
  engine.post([weak] {
    auto c = weak.lock();
    if (c && !c->closed)
      notify(*c, &cef_client_t::get_life_span_handler, &cef_life_span_handler_t::on_after_created);
  });
  const std::u16string u = view(url);
  if (!u.empty()) core->load_url(u);
  return &browser->cef;
}

void drop_open_browsers() {
  cancel_downloads(-1);
  for (auto& b : open_browsers) {
    BrowserCore& core = *Browser::from(b.get())->core;
    core.closed = true;
    core.open_dialogs.clear();
    core.open_menus.clear();
    if (core.load) core.load->cancelled = true;
    if (core.renderer) core.renderer->close();
    core.renderer.reset();
  }
  if (!open_browsers.empty())
    log(LOGSEVERITY_WARNING, std::to_string(open_browsers.size()) + " browser(s) open at shutdown");
  open_browsers.clear();
}

BrowserCore* core_of(cef_browser_t* browser) {
  return browser ? Browser::from(browser)->core.get() : nullptr;
}

}  // namespace cefwork

extern "C" {

CEF_EXPORT cef_browser_t* cef_browser_host_create_browser_sync(
    const cef_window_info_t* window_info, cef_client_t* client, const cef_string_t* url,
    const cef_browser_settings_t* settings, cef_dictionary_value_t* extra_info,
    cef_request_context_t* request_context) {
  cefwork::release(extra_info);
  cefwork::release(request_context);
  return cefwork::create_browser(window_info, client, url, settings);
}

CEF_EXPORT int cef_browser_host_create_browser(const cef_window_info_t* window_info,
                                               cef_client_t* client, const cef_string_t* url,
                                               const cef_browser_settings_t* settings,
                                               cef_dictionary_value_t* extra_info,
                                               cef_request_context_t* request_context) {
  cef_browser_t* browser = cef_browser_host_create_browser_sync(window_info, client, url, settings,
                                                                extra_info, request_context);
  cefwork::release(browser);
  return browser ? 1 : 0;
}

CEF_EXPORT int cefwork_test_live_browsers(void) { return cefwork::live_browsers.load(); }

CEF_EXPORT const cef_browser_settings_t* cefwork_test_browser_settings(cef_browser_t* browser) {
  return browser ? &cefwork::Browser::from(browser)->core->settings : nullptr;
}

CEF_EXPORT int cefwork_test_renderer_pid(cef_browser_t* browser) {
  if (!browser) return -1;
  const auto& renderer = cefwork::Browser::from(browser)->core->renderer;
  return renderer ? static_cast<int>(renderer->pid()) : -1;
}

}  // extern "C"

namespace cefwork {
namespace {

// Sends a request to the browser's renderer and runs units of work until
// `answers` counts one more answer; the renderer, or null when it is gone
// or no answer came.
template <class Ask, class Answers>
std::shared_ptr<RendererHost> ask_renderer(cef_browser_t* browser, Ask ask, Answers answers) {
  if (!browser) return nullptr;
  auto renderer = Browser::from(browser)->core->renderer;
  if (!renderer || !renderer->alive()) return nullptr;
  const uint32_t before = answers(*renderer);
  ask(*renderer);
  while (answers(*renderer) == before && renderer->alive()) cef_do_message_loop_work();
  return answers(*renderer) != before ? renderer : nullptr;
}

}  // namespace
}  // namespace cefwork

extern "C" {

CEF_EXPORT int cefwork_test_renderer_round_trip(cef_browser_t* browser) {
  return cefwork::ask_renderer(
             browser, [](cefwork::RendererHost& r) { r.ping(); },
             [](const cefwork::RendererHost& r) { return r.pongs(); })
             ? 1
             : 0;
}

CEF_EXPORT int cefwork_test_renderer_objects(cef_browser_t* browser, int* contexts, int* values) {
  const auto renderer = cefwork::ask_renderer(
      browser, [](cefwork::RendererHost& r) { r.ask_objects(); },
      [](const cefwork::RendererHost& r) { return r.objects_replies(); });
  if (!renderer) return 0;
  if (contexts) *contexts = renderer->last_objects().first;
  if (values) *values = renderer->last_objects().second;
  return 1;
}

CEF_EXPORT int cefwork_test_browser_destroyed(int identifier) {
  std::lock_guard lock(cefwork::destroyed_mutex);
  return cefwork::destroyed_ids.count(identifier) ? 1 : 0;
}

}  // extern "C"
