// Engine lifecycle: start CEF in this process, pump its message loop on the
// Java host's request, add command-line switches, shut it down.

#include <cstdio>
#include <string>

#include "engine_options.h"
#include "utils/cef_string.h"
#include "utils/fatal.h"
#include "utils/main_args.h"
#include "utils/paths.h"
#include "utils/text.h"
#include "zorvan_vemo.h"

namespace {

void print_line(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace

extern "C" {

ZV_EXPORT void cefvemo_init(cef_app_t* app, const char* engine_dir, const char* options,
                            int32_t debug_port) {
  if (!utils::check_size("cef_app_t size", app, sizeof(cef_app_t))) return;

  const utils::Text dir = utils::str_from_c(engine_dir);
  const utils::Text option_text = utils::str_from_c(options);
  const cef_main_args_t main_args = utils::prepare_args();

  const vemo::EngineOptions parsed = vemo::parse_options(option_text.view());
  // The default cache lies beside the engine directory. A directory without
  // a parent (empty text, a root, a bare drive) gets its cache inside itself.
  std::string cache_dir;
  if (parsed.cache_path) {
    cache_dir = *parsed.cache_path;
  } else if (auto parent = utils::parent_dir(dir.view())) {
    cache_dir = utils::join_path(*parent, "cache");
  } else {
    cache_dir = utils::join_path(dir.view(), "cache");
  }

  const utils::CefString subprocess = utils::cef_string(utils::subp_path(dir.view(), parsed.version));
  const utils::CefString resources = utils::cef_string(dir.view());
  const utils::CefString locales = utils::cef_string(utils::join_path(dir.view(), "locales"));
  const utils::CefString cache = utils::cef_string(cache_dir);
  const std::string log_path = utils::join_path(dir.view(), "lib.log");
  const utils::CefString log_file = utils::cef_string(log_path);
  const utils::CefString client_id = utils::cef_string("zorvan.vemo");
  const vemo::DebugSettings debug = vemo::debug_settings(debug_port);

  // Every other string member stays empty: null str, length 0.
  cef_settings_t settings{};
  settings.size = sizeof(cef_settings_t);
  settings.no_sandbox = 1;
  settings.browser_subprocess_path = subprocess.value();
  settings.multi_threaded_message_loop = 0;
  settings.external_message_pump = parsed.external_message_pump ? 1 : 0;
  settings.windowless_rendering_enabled = 0;
  settings.command_line_args_disabled = 0;
  settings.cache_path = cache.value();
  settings.root_cache_path = cache.value();
  settings.persist_session_cookies = 1;
  settings.persist_user_preferences = 1;
  settings.log_file = log_file.value();
  settings.log_severity = debug.log_severity;
  settings.resources_dir_path = resources.value();
  settings.locales_dir_path = locales.value();
  settings.pack_loading_disabled = 0;
  settings.remote_debugging_port = debug.remote_debugging_port;
  settings.uncaught_exception_stack_size = 0;
  settings.ignore_certificate_errors = 0;
  settings.enable_net_security_expiration = 0;
  settings.background_color = 0;
  settings.application_client_id_for_file_scanning = client_id.value();

  // A fatal stop from here on also lands in the engine's log, where a GUI
  // host without a console can find it.
  utils::set_fatal_log_file(log_path);
  cef_enable_highdpi_support();
  // The application object is passed as received; CEF keeps its own copies
  // of the strings, which are cleared when their owners go out of scope.
  cef_initialize(&main_args, &settings, app, nullptr);
}

ZV_EXPORT int32_t cefvemo_do_message_loop_work() {
  // The containment: see utils/fatal.h for why a contained failure returns
  // through the frames of CEF and the JVM instead of unwinding them.
  utils::WorkUnit unit;
  cef_do_message_loop_work();
  return unit.failed() ? 0 : 1;
}

ZV_EXPORT void cefvemo_shutdown() { cef_shutdown(); }

ZV_EXPORT void cefvemo_set_command(cef_command_line_t* command_line, const char* name,
                                   const char* value) {
  if (!command_line) return utils::fatal("null command_line");
  const utils::Text name_text = utils::str_from_c(name);
  const utils::CefString name_string = utils::cef_string(name_text.view());
  if (value) {
    if (!command_line->append_switch_with_value) return utils::fatal("null append_switch_with_value");
    const utils::Text value_text = utils::str_from_c(value);
    const utils::CefString value_string = utils::cef_string(value_text.view());
    print_line("cefvemo_set_command " + name_text.str() + " " + value_text.str());
    command_line->append_switch_with_value(command_line, name_string.get(), value_string.get());
  } else {
    if (!command_line->append_switch) return utils::fatal("null append_switch");
    print_line("cefvemo_set_command " + name_text.str());
    command_line->append_switch(command_line, name_string.get());
  }
}

}  // extern "C"
