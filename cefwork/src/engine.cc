// cef_initialize, cef_shutdown and the message loop of the browser process.

#include "engine.h"

#include <fstream>
#include <iterator>

#include "browser/browser.h"
#include "browser/load_threads.h"
#include "cef_object.h"
#include "cefwork/test_hooks.h"
#include "command_line.h"
#include "cookies/cookie_store.h"
#include "log.h"
#include "renderer/renderer_process.h"
#include "string_util.h"

namespace cefwork {
namespace {

// Every string member of cef_settings_t, for deep copies.
constexpr cef_string_t cef_settings_t::*kStringMembers[] = {
    &cef_settings_t::browser_subprocess_path,
    &cef_settings_t::framework_dir_path,
    &cef_settings_t::main_bundle_path,
    &cef_settings_t::cache_path,
    &cef_settings_t::root_cache_path,
    &cef_settings_t::user_data_path,
    &cef_settings_t::user_agent,
    &cef_settings_t::product_version,
    &cef_settings_t::locale,
    &cef_settings_t::log_file,
    &cef_settings_t::javascript_flags,
    &cef_settings_t::resources_dir_path,
    &cef_settings_t::locales_dir_path,
    &cef_settings_t::accept_language_list,
    &cef_settings_t::application_client_id_for_file_scanning,
};

}  // namespace

// The arguments this process was started with.
std::vector<std::string> process_argv() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> argv;
  std::string current;
  for (char c : all) {
    if (c == '\0') {
      argv.push_back(std::move(current));
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  return argv;
}

Engine& Engine::get() {
  static Engine* engine = new Engine();  // lives as long as the process
  return *engine;
}

std::string Engine::setting_utf8(const cef_string_t& member) const { return to_utf8(&member); }

void Engine::copy_settings(const cef_settings_t& from) {
  clear_settings();
  settings_ = from;
  for (auto member : kStringMembers) {
    settings_.*member = cef_string_t{};
    cef_string_utf16_set((from.*member).str, (from.*member).length, &(settings_.*member), 1);
  }
}

void Engine::clear_settings() {
  for (auto member : kStringMembers) cef_string_utf16_clear(&(settings_.*member));
  settings_ = cef_settings_t{};
}

void Engine::start(const cef_settings_t& settings, cef_app_t* app) {
  copy_settings(settings);
  ++initialize_count;
  log_open(setting_utf8(settings_.log_file), settings_.log_severity);
  log(LOGSEVERITY_INFO, "cef_initialize: subprocess " + setting_utf8(settings_.browser_subprocess_path));
  log(LOGSEVERITY_VERBOSE, "cache " + setting_utf8(settings_.cache_path) + ", resources " +
                               setting_utf8(settings_.resources_dir_path) + ", locales " +
                               setting_utf8(settings_.locales_dir_path));
  if (settings_.remote_debugging_port > 0) {
    log(LOGSEVERITY_INFO, "remote debugging port " +
                              std::to_string(settings_.remote_debugging_port) +
                              " requested; this engine serves no debugger");
  }

  // The reference that came with the application is taken over and dropped
  // at shutdown.
  app_ = app;
  command_line_ = new CommandLine();
  std::vector<std::string> argv = process_argv();
  std::vector<const char*> argp;
  for (const auto& a : argv) argp.push_back(a.c_str());
  command_line_->init_from_argv(static_cast<int>(argp.size()), argp.data());

  CookieStore::get().open(setting_utf8(settings_.cache_path),
                          settings_.persist_session_cookies != 0);
  running_ = true;
  if (app_ && app_->on_before_command_line_processing) {
    // The browser process has an empty process type. The command line goes
    // to the handler with a reference of its own.
    cef_string_t process_type{};
    app_->on_before_command_line_processing(app_, &process_type, command_line_->share());
  }
  if (log_enabled(LOGSEVERITY_VERBOSE))
    log(LOGSEVERITY_VERBOSE, "command line: " + utf16_to_utf8(command_line_->to_string()));
  if (app_ && app_->get_browser_process_handler)
    process_handler_ = app_->get_browser_process_handler(app_);

  post([this] {
    if (process_handler_ && process_handler_->on_context_initialized)
      process_handler_->on_context_initialized(process_handler_);
  });
}

void Engine::stop() {
  if (!running_) return;
  log(LOGSEVERITY_INFO, "cef_shutdown");
  // Browsers first: their loads are cancelled and the load threads joined,
  // so nothing posts work once the queue is cleared.
  drop_open_browsers();
  join_load_threads();
  CookieStore::get().close();
  {
    std::lock_guard lock(mutex_);
    tasks_.clear();
    pollers_.clear();
  }
  running_ = false;
  if (process_handler_) release(process_handler_);
  process_handler_ = nullptr;
  if (app_) release(app_);
  app_ = nullptr;
  if (command_line_) command_line_->release();
  command_line_ = nullptr;
  log_close();
}

void Engine::post(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  if (running_ && settings_.external_message_pump && process_handler_ &&
      process_handler_->on_schedule_message_pump_work)
    process_handler_->on_schedule_message_pump_work(process_handler_, 0);
}

void Engine::run_unit() {
  std::vector<std::function<void()>> tasks;
  std::vector<std::function<void()>> pollers;
  {
    std::lock_guard lock(mutex_);
    tasks.swap(tasks_);
    for (const auto& p : pollers_) pollers.push_back(p.second);
  }
  for (auto& task : tasks) task();
  for (auto& poll : pollers) poll();
}

int Engine::add_poller(std::function<void()> poller) {
  std::lock_guard lock(mutex_);
  pollers_.emplace_back(next_poller_, std::move(poller));
  return next_poller_++;
}

void Engine::remove_poller(int id) {
  std::lock_guard lock(mutex_);
  std::erase_if(pollers_, [id](const auto& p) { return p.first == id; });
}

}  // namespace cefwork

using cefwork::Engine;

extern "C" {

CEF_EXPORT void cef_enable_highdpi_support(void) {}

CEF_EXPORT int cef_initialize(const cef_main_args_t* args, const cef_settings_t* settings,
                              cef_app_t* application, void* windows_sandbox_info) {
  (void)args;
  (void)windows_sandbox_info;
  if (!settings || settings->size != sizeof(cef_settings_t)) return 0;
  Engine& engine = Engine::get();
  if (engine.running()) return 0;
  engine.start(*settings, application);
  return 1;
}

CEF_EXPORT void cef_shutdown(void) { Engine::get().stop(); }

CEF_EXPORT void cef_do_message_loop_work(void) {
  if (cefwork::RendererProcess* renderer = cefwork::RendererProcess::current()) {
    renderer->run_pending();
    return;
  }
  Engine& engine = Engine::get();
  if (engine.running()) engine.run_unit();
}

CEF_EXPORT int cef_execute_process(const cef_main_args_t* args, cef_app_t* application,
                                   void* windows_sandbox_info) {
  (void)args;
  (void)windows_sandbox_info;
  std::vector<std::string> argv = cefwork::process_argv();
  std::vector<const char*> argp;
  for (const auto& a : argv) argp.push_back(a.c_str());
  cefwork::CommandLine* line = new cefwork::CommandLine();
  line->init_from_argv(static_cast<int>(argp.size()), argp.data());
  const std::u16string type = line->switch_value(u"type");
  int code = -1;  // the browser process: the caller goes on to cef_initialize
  if (type == u"renderer") {
    if (application && application->on_before_command_line_processing) {
      cef_string_t process_type{};
      cefwork::assign(&process_type, type);
      application->on_before_command_line_processing(application, &process_type, line->share());
      cef_string_utf16_clear(&process_type);
    }
    code = cefwork::RendererProcess::run(application, *line);
  } else if (!type.empty()) {
    code = 0;  // other process types have nothing to do in this engine
  }
  line->release();
  return code;
}

// Test hooks.

CEF_EXPORT const cef_settings_t* cefwork_test_settings(void) {
  Engine& engine = Engine::get();
  return engine.initialize_count ? &engine.settings() : nullptr;
}

CEF_EXPORT int cefwork_test_initialize_count(void) { return Engine::get().initialize_count; }

CEF_EXPORT void cefwork_test_post_task(void (*task)(void*), void* arg) {
  Engine::get().post([task, arg] { task(arg); });
}

CEF_EXPORT cef_command_line_t* cefwork_test_browser_command_line(void) {
  Engine& engine = Engine::get();
  return engine.command_line() ? engine.command_line()->share() : nullptr;
}

}  // extern "C"
