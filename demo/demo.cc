// Demo host: plays the Java host's part with a C++ application table. It
// starts the engine, adds a command-line switch while CEF processes its
// command line, pumps the message loop whenever the engine asks for work,
// and shuts down.

#include <atomic>
#include <cstdio>
#include <string>

#include "zorvan_vemo.h"

namespace {

std::atomic<int> pump_requests{0};
bool context_ready = false;

void noop_add_ref(cef_base_ref_counted_t*) {}
int noop_release(cef_base_ref_counted_t*) { return 0; }
int yes(cef_base_ref_counted_t*) { return 1; }

template <class T>
void init_base(T& table) {
  table.base.size = sizeof(T);
  table.base.add_ref = noop_add_ref;
  table.base.release = noop_release;
  table.base.has_one_ref = yes;
  table.base.has_at_least_one_ref = yes;
}

cef_browser_process_handler_t process_handler{};
cef_app_t app{};

}  // namespace

int main(int argc, char** argv) {
  const std::string engine_dir = argc > 1 ? argv[1] : ".";
  init_base(process_handler);
  process_handler.on_context_initialized = [](cef_browser_process_handler_t*) {
    context_ready = true;
    std::printf("demo: engine context initialised\n");
  };
  process_handler.on_schedule_message_pump_work = [](cef_browser_process_handler_t*, int64_t) {
    ++pump_requests;
  };
  init_base(app);
  app.on_before_command_line_processing = [](cef_app_t*, const cef_string_t*,
                                             cef_command_line_t* line) {
    cefvemo_set_command(line, "disable-gpu", nullptr);
    line->base.release(&line->base);
  };
  app.get_browser_process_handler = [](cef_app_t*) { return &process_handler; };

  std::printf("demo: starting the engine in %s\n", engine_dir.c_str());
  cefvemo_init(&app, engine_dir.c_str(), ZV_SUBP_VERSION, -2);
  int units = 0;
  while (pump_requests.exchange(0) > 0) {
    cefvemo_do_message_loop_work();
    ++units;
  }
  std::printf("demo: pumped %d unit(s) of work on request; context %s\n", units,
              context_ready ? "ready" : "not ready");
  cefvemo_shutdown();
  std::printf("demo: engine shut down; log in %s/lib.log\n", engine_dir.c_str());
  return context_ready ? 0 : 1;
}
