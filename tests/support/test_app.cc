#include "support/test_app.h"

#include <chrono>
#include <thread>

#include "zorvan_vemo.h"

namespace zvtest {

TestProcessHandler::TestProcessHandler() {
  cef.on_context_initialized = [](cef_browser_process_handler_t* self) {
    static_cast<TestProcessHandler*>(of(self))->context_initialized++;
  };
  cef.on_schedule_message_pump_work = [](cef_browser_process_handler_t* self, int64_t) {
    static_cast<TestProcessHandler*>(of(self))->pump_requests++;
  };
}

TestApp::TestApp() {
  cef.on_before_command_line_processing = [](cef_app_t* self, const cef_string_t*,
                                             cef_command_line_t* command_line) {
    auto* app = static_cast<TestApp*>(of(self));
    app->command_line_calls++;
    if (app->on_command_line) app->on_command_line(command_line);
    release(command_line);
  };
  cef.get_browser_process_handler = [](cef_app_t* self) {
    auto* app = static_cast<TestApp*>(of(self));
    app->handler.refs++;
    return &app->handler.cef;
  };
}

std::string engine_dir() { return ZV_ENGINE_DIR; }

void pump(int units) {
  for (int i = 0; i < units; ++i) cefvemo_do_message_loop_work();
}

bool pump_until(const std::function<bool()>& done, int seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    cefvemo_do_message_loop_work();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace zvtest
